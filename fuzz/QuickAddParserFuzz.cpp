// Random text through the quick-add parser and the task splitter: neither
// may crash, the parser only takes text out of a line (the title's
// characters stand in the line in the same order, white space aside), and
// the splitter's tasks are pieces of the text.
#include "FuzzSupport.h"
#include "parsing/QuickAddParser.h"
#include "parsing/TaskSplitter.h"
#include "platform/TimeZone.h"

#include <QString>

#include <unicode/uchar.h>
#include <cstddef>
#include <cstdint>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using tavlin::fuzz::check;

namespace {

// The vocabularies a line is read with: one language with English, or
// three merged.
const std::vector<ParserVocabulary>& vocabularies() {
    static const std::vector<ParserVocabulary> made = [] {
        std::vector<ParserVocabulary> all;
        for (const QString& code : ParserVocabulary::supportedLanguageCodes())
            all.push_back(ParserVocabulary::forLocaleIdentifiers({code}));
        all.push_back(ParserVocabulary::forLocaleIdentifiers({u"de"_s, u"fr"_s, u"en"_s}));
        return all;
    }();
    return made;
}

// Three bytes of settings, then the text: UTF-8 when the first byte is
// even, UTF-16 units (lone surrogates included) when it is odd.
struct Input {
    const ParserVocabulary* vocabulary;
    bool isEditing;
    bool uses24HourClock;
    platform::Date reference;
    QString text;
};

Input read(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kSettings = 3;
    return {.vocabulary = &vocabularies()[data[1] % vocabularies().size()],
            .isEditing = (data[0] & 2) != 0,
            .uses24HourClock = (data[0] & 4) != 0,
            .reference = platform::Date::fromSecondsSince1970(1'787'126'400.0 + (data[2] - 128) * 86'400.0 * 3.7),
            .text = tavlin::fuzz::decodedText(data[0], data + kSettings, size - kSettings)};
}

bool isBlank(QChar c) { return u_isUWhiteSpace(c.unicode()); }

// Whether the units of `part`, blanks aside, stand in `whole` in the same order.
bool standsInOrderWithin(const QString& part, const QString& whole) {
    qsizetype at = 0;
    for (const QChar c : part) {
        if (isBlank(c)) continue;
        while (at < whole.size() && whole.at(at) != c) ++at;
        if (at == whole.size()) return false;
        ++at;
    }
    return true;
}

void checkParse(const Input& input) {
    static const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const QStringList lists = {u"work"_s, u"Einkäufe"_s, u"📚"_s};
    const ParsedQuickAdd parsed = QuickAddParser::parse(input.text, {.referenceDate = input.reference,
                                                                     .calendar = calendar,
                                                                     .vocabulary = *input.vocabulary,
                                                                     .listNames = lists,
                                                                     .isEditing = input.isEditing,
                                                                     .uses24HourClock = input.uses24HourClock});
    check(standsInOrderWithin(parsed.title, input.text));
    check(parsed.priority >= platform::Priority::none && parsed.priority <= platform::Priority::high);
    check(parsed.recurrenceInterval >= 1 && parsed.recurrenceInterval <= 999);
    check(!parsed.locationRadius || (*parsed.locationRadius >= 25 && *parsed.locationRadius <= 10'000));
    check(!parsed.listName || lists.contains(*parsed.listName));
    check(!parsed.hasTime || (parsed.dueDateComponents && parsed.dueDateComponents->hour));
}

void checkSplit(const QString& text) {
    const QStringList tasks = TaskSplitter::split(text);
    check(tasks.size() <= 10);
    for (const QString& task : tasks) check(!task.isEmpty() && text.contains(task));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const Input input = read(data, size);
    checkParse(input);
    checkSplit(input.text);
    return 0;
}
