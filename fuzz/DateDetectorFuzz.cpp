// Random text through the date detector: it must not crash, and its matches
// must lie sorted and apart inside the searched range, on whole code points,
// with the first match the first of all matches.
#include "FuzzSupport.h"
#include "platform/Calendar.h"
#include "platform/DateDetector.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using tavlin::fuzz::check;

namespace {

// Six bytes of settings, then the text: UTF-8 when the first byte is even,
// UTF-16 units (lone surrogates included) when it is odd.
struct Input {
    DetectionContext context;
    QString text;
    TextRange range;
};

const QStringList kCodes = {u"en"_s, u"nl"_s, u"de"_s, u"fr"_s, u"es"_s, u"it"_s, u"pt"_s, u"pl"_s, u"da"_s, u"sv"_s,
                            u"nb"_s, u"cs"_s, u"ro"_s, u"hr"_s, u"el"_s, u"tr"_s, u"fi"_s, u"hu"_s, u"he"_s, u"sw"_s};

Input read(const std::uint8_t* data, std::size_t size) {
    static const Calendar calendar = Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    constexpr std::size_t kSettings = 6;
    const std::uint8_t* text = data + kSettings;
    const std::size_t textSize = size - kSettings;
    Input input{.context = {.reference = Date::fromSecondsSince1970(1'787'126'400.0 + (data[1] - 128) * 86'400.0 * 37 +
                                                                    data[2] * 331.0),
                            .calendar = calendar,
                            .numericOrder = static_cast<NumericDateOrder>(data[3] % 3)}};
    for (qsizetype index = 0; index < kCodes.size(); ++index)
        if ((data[4] >> (index % 8)) & 1 && index / 8 == data[5] % 3) input.context.languages.append(kCodes[index]);
    input.text = tavlin::fuzz::decodedText(data[0], text, textSize);
    // A range that may start or end inside the text, or reach past it.
    const qsizetype length = input.text.size();
    const int shape = data[0] / 2 % 4;
    input.range = {shape == 0 ? 0 : (data[0] / 8) % (length + 2) - 1, shape == 1 ? length / 2 : length + 1};
    return input;
}

bool splitsSurrogatePair(const QString& text, qsizetype position) {
    return position > 0 && position < text.size() && text.at(position - 1).isHighSurrogate() &&
           text.at(position).isLowSurrogate();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<DateDetector> detector = DateDetector::create();
    if (size < 6) return 0;
    const Input input = read(data, size);
    const std::vector<DetectedDate> matches = detector->matches(input.text, input.range, input.context);
    const qsizetype start = std::clamp<qsizetype>(input.range.location, 0, input.text.size());
    const qsizetype end = std::clamp<qsizetype>(input.range.end(), start, input.text.size());
    qsizetype previousEnd = start;
    for (const DetectedDate& match : matches) {
        check(match.range.location >= previousEnd && match.range.length > 0 && match.range.end() <= end);
        check(!splitsSurrogatePair(input.text, match.range.location) &&
              !splitsSurrogatePair(input.text, match.range.end()));
        previousEnd = match.range.end();
    }
    const std::optional<DetectedDate> first = detector->firstMatch(input.text, input.range, input.context);
    check(first == (matches.empty() ? std::nullopt : std::optional(matches.front())));
    return 0;
}
