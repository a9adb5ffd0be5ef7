#include "platform/Locale.h"
#include "platform/datedetector/IcuWords.h"
#include "platform/datedetector/Languages.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::platform;
using namespace tavlin::platform::datedetector;

namespace {

// "23 dreiundzwanzig", one a line, so that a difference reads as words.
QStringList lines(const std::vector<SpelledNumberText>& spellings) {
    QStringList written;
    for (const SpelledNumberText& spelled : spellings)
        written.append(QString::number(spelled.number) + u' ' + spelled.word);
    return written;
}

// The detector reads ICU's calendar names, relative-date phrases and
// spelled-out counts from a table made from ICU. An ICU that writes them
// otherwise fails here until the table is made again
// (scripts/make-icu-words); until then the detector would read words ICU
// no longer writes and miss the new ones.
TEST(DateDetectorIcuWords, TableHoldsWhatIcuWritesInEveryLanguage) {
    for (const DetectorLanguage* language : detectorLanguages()) {
        SCOPED_TRACE(language->code.toStdString());
        const Locale locale(language->code);
        std::vector<SpelledNumberText> table;
        for (const SpelledNumber& spelled : spelledNumbers(language->code))
            table.push_back({spelled.number, tableText(spelled.word)});
        EXPECT_FALSE(table.empty());
        EXPECT_EQ(lines(table), lines(spelledNumbersByIcu(locale)))
            << "the table is out of date: run scripts/make-icu-words";

        std::optional<LexiconWords> kept = lexiconWords(language->code);
        ASSERT_TRUE(kept.has_value());
        LexiconWords written = lexiconWordsByIcu(locale);
        const std::array<QStringList*, 12> keptLists = kept->lists(), writtenLists = written.lists();
        for (size_t index = 0; index < keptLists.size(); ++index) {
            EXPECT_FALSE(keptLists[index]->isEmpty()) << "list " << index;
            EXPECT_EQ(*keptLists[index], *writtenLists[index])
                << "list " << index << ": the table is out of date: run scripts/make-icu-words";
        }
    }
}

}  // namespace
