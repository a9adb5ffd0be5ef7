#include "platform/datedetector/NumberWords.h"

#include "platform/IcuString.h"

#include <QSet>

#include <unicode/rbnf.h>

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

}  // namespace tavlin::platform::datedetector
