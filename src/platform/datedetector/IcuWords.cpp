#include "platform/datedetector/IcuWords.h"

#include "platform/IcuString.h"
#include "platform/datedetector/Tokens.h"

#include <QSet>

#include <unicode/rbnf.h>
#include <unicode/reldatefmt.h>

#include <algorithm>
#include <iterator>

namespace tavlin::platform::datedetector {

namespace {

constexpr int kSmallestTen = 60;  // counts in words run one by one to here, then by tens
constexpr int kLargestCountInWords = 90;

// The cases a count or an hour is said in: nominative and genitive ("trzy
// dni", "kolmen päivän"), in every gender, but not the cases of numbers
// that stand alone (Finnish has twenty more), which only cost building.
bool isCountingCase(const icu::UnicodeString& ruleSet) {
    static const char16_t* const kOtherCases[] = {
        u"plural",   u"partitive", u"essive", u"translative",  u"inessive", u"elative",    u"illative", u"adessive",
        u"ablative", u"allative",  u"dative", u"instrumental", u"locative", u"accusative", u"verbose",  u"personal",
    };
    return std::none_of(std::begin(kOtherCases), std::end(kOtherCases),
                        [&](const char16_t* grammaticalCase) { return ruleSet.indexOf(grammaticalCase) >= 0; });
}

QString relativePhrase(const icu::RelativeDateTimeFormatter& formatter, UDateDirection direction,
                       UDateAbsoluteUnit unit) {
    icu::UnicodeString phrase;
    UErrorCode status = U_ZERO_ERROR;
    formatter.format(direction, unit, phrase, status);
    return U_SUCCESS(status) ? fromIcu(phrase) : QString();
}

// ICU's phrase for a span of `count` units from now ("in 3 days"), its
// blanks made plain.
QString spanPhrase(const icu::RelativeDateTimeFormatter& formatter, int count, URelativeDateTimeUnit unit) {
    icu::UnicodeString phrase;
    UErrorCode status = U_ZERO_ERROR;
    formatter.formatNumeric(count, unit, phrase, status);
    if (U_FAILURE(status)) return {};
    QString text = fromIcu(phrase);
    for (QChar& c : text)
        if (isBlank(c.unicode())) c = u' ';
    return text.simplified();
}

RelativeWords relativeWordsByIcu(const Locale& locale) {
    RelativeWords words;
    UErrorCode status = U_ZERO_ERROR;
    const icu::RelativeDateTimeFormatter formatter(locale.icu(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE,
                                                   status);
    if (U_FAILURE(status)) return words;
    for (const UDateDirection direction :
         {UDAT_DIRECTION_LAST_2, UDAT_DIRECTION_LAST, UDAT_DIRECTION_THIS, UDAT_DIRECTION_NEXT, UDAT_DIRECTION_NEXT_2})
        words.days.append(relativePhrase(formatter, direction, UDAT_ABSOLUTE_DAY));
    for (const UDateAbsoluteUnit unit : {UDAT_ABSOLUTE_WEEK, UDAT_ABSOLUTE_MONTH})
        words.ahead.append(relativePhrase(formatter, UDAT_DIRECTION_NEXT, unit));
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const auto unit = static_cast<UDateAbsoluteUnit>(UDAT_ABSOLUTE_SUNDAY + weekday - 1);
        for (const UDateDirection direction : {UDAT_DIRECTION_THIS, UDAT_DIRECTION_NEXT, UDAT_DIRECTION_LAST})
            words.weekdays.append(relativePhrase(formatter, direction, unit));
    }
    for (const URelativeDateTimeUnit unit :
         {UDAT_REL_UNIT_MINUTE, UDAT_REL_UNIT_HOUR, UDAT_REL_UNIT_DAY, UDAT_REL_UNIT_WEEK, UDAT_REL_UNIT_MONTH})
        for (const int count : RelativeWords::kSpanCounts) words.spans.append(spanPhrase(formatter, count, unit));
    return words;
}

}  // namespace

std::vector<SpelledNumberText> spelledNumbersByIcu(const Locale& locale) {
    std::vector<SpelledNumberText> spelled;
    UErrorCode status = U_ZERO_ERROR;
    const icu::RuleBasedNumberFormat spellout(icu::URBNF_SPELLOUT, locale.icu(), status);
    if (U_FAILURE(status)) return spelled;
    // Most genders and cases spell most numbers alike: each spelling is
    // kept once, which saves the lexicon's building most of their cost.
    QSet<QString> spellings;
    for (int32_t set = 0; set < spellout.getNumberOfRuleSetNames(); ++set) {
        const icu::UnicodeString name = spellout.getRuleSetName(set);
        if (name.indexOf(u"cardinal") < 0 || !isCountingCase(name)) continue;
        for (int number = 1; number <= kLargestCountInWords; number += number < kSmallestTen ? 1 : 10) {
            icu::UnicodeString word;
            icu::FieldPosition position;
            UErrorCode formatStatus = U_ZERO_ERROR;
            spellout.format(static_cast<int32_t>(number), name, word, position, formatStatus);
            if (U_FAILURE(formatStatus)) continue;
            QString text = fromIcu(word);
            text.remove(QChar(0x00AD));  // the soft hyphens of Hungarian "tizen­egy"
            if (!spellings.contains(text)) spelled.push_back({number, text});
            spellings.insert(text);
        }
    }
    return spelled;
}

std::array<QStringList*, 12> LexiconWords::lists() {
    return {&symbols.weekdaySymbols,
            &symbols.shortWeekdaySymbols,
            &symbols.standaloneWeekdaySymbols,
            &symbols.shortStandaloneWeekdaySymbols,
            &symbols.monthSymbols,
            &symbols.shortMonthSymbols,
            &symbols.standaloneMonthSymbols,
            &symbols.shortStandaloneMonthSymbols,
            &relative.days,
            &relative.ahead,
            &relative.weekdays,
            &relative.spans};
}

LexiconWords lexiconWordsByIcu(const Locale& locale) { return {locale.dateSymbols(), relativeWordsByIcu(locale)}; }

std::optional<LexiconWords> lexiconWords(QStringView code) {
    const std::span<const WordList> table = lexiconWordLists(code);
    LexiconWords words;
    const std::array<QStringList*, 12> lists = words.lists();
    if (table.size() != lists.size()) return std::nullopt;
    for (size_t index = 0; index < lists.size(); ++index)
        for (const std::u16string_view word : table[index]) lists[index]->append(tableText(word));
    return words;
}

}  // namespace tavlin::platform::datedetector
