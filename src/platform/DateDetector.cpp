#include "platform/DateDetector.h"

#include "platform/IcuString.h"
#include "platform/datedetector/Lexicon.h"
#include "platform/datedetector/Phrases.h"
#include "platform/datedetector/Resolution.h"
#include "platform/datedetector/Tokens.h"

#include <unicode/dtptngen.h>

namespace tavlin::platform {

namespace {

class IcuDateDetector final : public DateDetector {
public:
    explicit IcuDateDetector(datedetector::Lexicon lexicon) : lexicon_(std::move(lexicon)) {}

    std::vector<DetectedDate> matches(const QString& text, TextRange range,
                                      const DetectionContext& context) const override {
        const datedetector::TokenizedText tokens(text, range.clampedTo(text.size()));
        const datedetector::LanguageMask active = lexicon_.languageMask(context.languages);
        datedetector::Resolver resolver(context);
        std::vector<DetectedDate> found;
        for (const datedetector::Phrase& phrase :
             datedetector::findPhrases(tokens, lexicon_, active, context.numericOrder)) {
            if (std::optional<DetectedDate> date = resolver.resolve(phrase)) found.push_back(std::move(*date));
        }
        return found;
    }

private:
    datedetector::Lexicon lexicon_;
};

}  // namespace

std::unique_ptr<DateDetector> DateDetector::create() {
    std::optional<datedetector::Lexicon> lexicon = datedetector::Lexicon::build();
    if (!lexicon) return nullptr;
    return std::make_unique<IcuDateDetector>(std::move(*lexicon));
}

std::optional<DetectedDate> DateDetector::firstMatch(const QString& text, TextRange range,
                                                     const DetectionContext& context) const {
    std::vector<DetectedDate> found = matches(text, range, context);
    if (found.empty()) return std::nullopt;
    return std::move(found.front());
}

NumericDateOrder numericDateOrder(const Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale.icu(), status));
    if (U_FAILURE(status)) return NumericDateOrder::dayMonthYear;
    const QString pattern = fromIcu(generator->getBestPattern(icu::UnicodeString(u"yMd"), status));
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted) continue;
        if (c == QLatin1Char('y')) return NumericDateOrder::yearMonthDay;
        if (c == QLatin1Char('M')) return NumericDateOrder::monthDayYear;
        if (c == QLatin1Char('d')) return NumericDateOrder::dayMonthYear;
    }
    return NumericDateOrder::dayMonthYear;
}

}  // namespace tavlin::platform
