#include "platform/Locale.h"
#include "platform/datedetector/Languages.h"
#include "platform/datedetector/NumberWords.h"
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

// The detector reads its counts in words from a table made from ICU's
// spelled-out number rules. An ICU that spells them otherwise fails here
// until the table is made again (scripts/make-number-words); until then the
// detector would read words ICU no longer writes and miss the new ones.
TEST(DateDetectorNumberWords, TableSpellsEveryLanguageAsIcuDoes) {
    for (const DetectorLanguage* language : detectorLanguages()) {
        SCOPED_TRACE(language->code.toStdString());
        std::vector<SpelledNumberText> table;
        for (const SpelledNumber& spelled : spelledNumbers(language->code))
            table.push_back({spelled.number, spelled.text()});
        EXPECT_FALSE(table.empty());
        EXPECT_EQ(lines(table), lines(spelledNumbersByIcu(Locale(language->code))))
            << "the table is out of date: run scripts/make-number-words";
    }
}

}  // namespace
