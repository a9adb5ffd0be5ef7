#include "platform/DateDetector.h"

#include "platform/CharacterSet.h"
#include "platform/datedetector/Tokens.h"
#include "support/DateDetectorVectors.h"
#include "support/Dates.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using detector_vectors::amsterdam;
using detector_vectors::local;

namespace {

class DateDetectorTest : public testing::Test {
protected:
    static void SetUpTestSuite() { detector_ = DateDetector::create().release(); }
    static void TearDownTestSuite() { delete detector_; }

    static std::vector<DetectedDate> find(const QString& text, const DetectionContext& context) {
        return detector_->matches(text, {0, text.size()}, context);
    }
    static DetectionContext english(Date reference) {
        return {.reference = reference, .calendar = amsterdam(), .languages = {u"en"_s}};
    }

    static inline const DateDetector* detector_ = nullptr;
};

std::string rangesOf(const QString& text, const std::vector<DetectedDate>& matches) {
    std::string described;
    for (const DetectedDate& match : matches)
        described += "[" + text.mid(match.range.location, match.range.length).toStdString() + "]";
    return described;
}

bool splitsSurrogatePair(const QString& text, qsizetype position) {
    return position > 0 && position < text.size() && text.at(position - 1).isHighSurrogate() &&
           text.at(position).isLowSurrogate();
}

// Sorted, apart, inside the range, whole code points.
void expectTidyRanges(const QString& text, TextRange range, const std::vector<DetectedDate>& matches) {
    qsizetype previousEnd = range.location;
    for (const DetectedDate& match : matches) {
        EXPECT_GE(match.range.location, previousEnd) << rangesOf(text, matches);
        EXPECT_GT(match.range.length, 0);
        EXPECT_LE(match.range.end(), range.end());
        EXPECT_FALSE(splitsSurrogatePair(text, match.range.location));
        EXPECT_FALSE(splitsSurrogatePair(text, match.range.end()));
        previousEnd = match.range.end();
    }
}

TEST_F(DateDetectorTest, ReadsEveryVector) {
    ASSERT_NE(detector_, nullptr);
    for (const detector_vectors::Vector& vector : detector_vectors::vectors()) {
        SCOPED_TRACE((u"row "_s + vector.row + u": "_s + vector.text).toStdString());
        const std::vector<DetectedDate> found =
            find(vector.text, detector_vectors::context(vector, detector_vectors::reference(vector.reference)));
        ASSERT_EQ(found.size(), vector.expected.size()) << rangesOf(vector.text, found);
        for (size_t index = 0; index < found.size(); ++index) {
            const detector_vectors::Expected& expected = vector.expected[index];
            EXPECT_EQ(found[index].range, (TextRange{expected.location, expected.length}))
                << rangesOf(vector.text, found);
            EXPECT_EQ(detector_vectors::describe(found[index]).toStdString(), expected.local.toStdString());
        }
    }
}

// Where the phrases lie does not depend on when the text is read, and the
// first match is the first of all matches.
TEST_F(DateDetectorTest, RangesHoldAtEveryReference) {
    for (const detector_vectors::Vector& vector : detector_vectors::vectors()) {
        SCOPED_TRACE((u"row "_s + vector.row + u": "_s + vector.text).toStdString());
        const TextRange whole{0, vector.text.size()};
        const std::vector<DetectedDate> atA =
            find(vector.text, detector_vectors::context(vector, detector_vectors::reference('A')));
        expectTidyRanges(vector.text, whole, atA);
        for (const char reference : {'B', 'I'}) {
            const DetectionContext context = detector_vectors::context(vector, detector_vectors::reference(reference));
            const std::vector<DetectedDate> found = find(vector.text, context);
            ASSERT_EQ(found.size(), atA.size()) << reference << rangesOf(vector.text, found);
            for (size_t index = 0; index < found.size(); ++index) EXPECT_EQ(found[index].range, atA[index].range);
            const std::optional<DetectedDate> first = detector_->firstMatch(vector.text, whole, context);
            EXPECT_EQ(first, found.empty() ? std::nullopt : std::optional(found.front()));
        }
    }
}

// Text outside the range counts as absent: a phrase may start where the
// range starts and must end before it ends.
TEST_F(DateDetectorTest, ReadsOnlyWithinTheRange) {
    struct Case {
        QString text;
        TextRange range;
        std::vector<TextRange> expected;
    };
    const Case cases[] = {
        {u"xtomorrow 5pm"_s, {1, 12}, {{1, 12}}},  {u"tomorrow 5pm"_s, {0, 10}, {{0, 8}}},
        {u"tomorrow 5pm"_s, {0, 7}, {}},           {u"call 😀 tomorrow"_s, {5, 11}, {{8, 8}}},
        {u"call 😀 tomorrow"_s, {6, 10}, {{8, 8}}}, {u"tomorrow"_s, {4, 100}, {}},
        {u"tomorrow"_s, {-3, 20}, {{0, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::vector<DetectedDate> found =
            detector_->matches(c.text, c.range, english(detector_vectors::reference('A')));
        std::vector<TextRange> ranges;
        for (const DetectedDate& match : found) ranges.push_back(match.range);
        EXPECT_EQ(ranges, c.expected);
    }
}

TEST_F(DateDetectorTest, StatesWhatThePhraseSays) {
    const DetectionContext context = english(detector_vectors::reference('A'));
    const std::vector<DetectedDate> found = find(u"5-6pm; tomorrow; 2026-09-19T15:00Z"_s, context);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].durationSeconds, 3600);
    EXPECT_TRUE(found[0].timeWritten);
    EXPECT_FALSE(found[0].dayWritten);
    EXPECT_FALSE(found[0].zoneIdentifier);
    EXPECT_TRUE(found[1].dayWritten);
    EXPECT_FALSE(found[1].timeWritten);
    EXPECT_EQ(found[2].zoneIdentifier, u"UTC"_s);
    EXPECT_EQ(found[2].date, utc(2026, 9, 19, 15));
}

// On the night the clocks go back, 02:30 comes twice: the first is meant.
TEST_F(DateDetectorTest, TakesTheFirstOfARepeatedWallTime) {
    const std::vector<DetectedDate> found = find(u"25 Oct 2026 02:30"_s, english(local(2026, 10, 20, 10)));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].date, utc(2026, 10, 25, 0, 30));
}

// A time the parser cannot roll ("noon", "at 5", "17 Uhr") goes to its next
// occurrence; one it can ("5pm", "9:00") stays on today.
TEST_F(DateDetectorTest, PlacesAPassedTimeByItsForm) {
    struct Case {
        QString text;
        QStringList languages;
        QString expected;
    };
    const Case cases[] = {
        {u"9:00"_s, {u"en"_s}, u"2026-08-19 09:00"_s},     {u"at 9am"_s, {u"en"_s}, u"2026-08-19 09:00"_s},
        {u"at 9"_s, {u"en"_s}, u"2026-08-20 09:00"_s},     {u"noon"_s, {u"en"_s}, u"2026-08-20 12:00"_s},
        {u"9 Uhr"_s, {u"de"_s}, u"2026-08-20 09:00"_s},    {u"kl. 9"_s, {u"da"_s}, u"2026-08-20 09:00"_s},
        {u"kl. 9.05"_s, {u"da"_s}, u"2026-08-19 09:05"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const DetectionContext context{
            .reference = local(2026, 8, 19, 13), .calendar = amsterdam(), .languages = c.languages};
        const std::vector<DetectedDate> found = find(c.text, context);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].range.length, c.text.size());
        EXPECT_EQ(detector_vectors::describe(found[0]).toStdString(), c.expected.toStdString());
    }
}

// Times are read to the second at most: the fraction of the reference's
// second does not make a time a minute back more than a minute old.
TEST_F(DateDetectorTest, CountsTheGraceInWholeSeconds) {
    const std::pair<double, const char*> cases[] = {
        {59.5, "2026-08-19 13:00"}, {60.5, "2026-08-19 13:00"}, {61.5, "2026-08-20 13:00"}};
    for (const auto& [seconds, expected] : cases) {
        SCOPED_TRACE(seconds);
        const std::vector<DetectedDate> found =
            find(u"at 1"_s, english(local(2026, 8, 19, 13).addingTimeInterval(seconds)));
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(detector_vectors::describe(found[0]).toStdString(), expected);
    }
}

// On the 5th, a time that has passed: an explicit one stays (the parser
// moves it to the next 5th), any other goes to the next 5th itself.
TEST_F(DateDetectorTest, PlacesAnOrdinalDayWithItsTime) {
    const DetectionContext onTheFifth = english(local(2026, 8, 5, 10));
    const std::vector<DetectedDate> explicitTime = find(u"the 5th at 9am"_s, onTheFifth);
    const std::vector<DetectedDate> markerTime = find(u"the 5th at 9"_s, onTheFifth);
    const std::vector<DetectedDate> later = find(u"the 31st at 9"_s, english(local(2026, 9, 5, 10)));
    ASSERT_EQ(explicitTime.size(), 1u);
    ASSERT_EQ(markerTime.size(), 1u);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(detector_vectors::describe(explicitTime[0]).toStdString(), "2026-08-05 09:00");
    EXPECT_EQ(detector_vectors::describe(markerTime[0]).toStdString(), "2026-09-05 09:00");
    EXPECT_EQ(detector_vectors::describe(later[0]).toStdString(), "2026-10-31 09:00");
}

// "Next week" phrases count in calendar weeks, which start on the
// calendar's first weekday.
TEST_F(DateDetectorTest, CountsTheNextWeekFromTheCalendarsFirstWeekday) {
    Calendar fromSunday = amsterdam();
    fromSunday.setFirstWeekday(1);
    const DetectionContext onSaturday{
        .reference = local(2026, 8, 22, 10), .calendar = amsterdam(), .languages = {u"nl"_s}};
    DetectionContext sundayWeeks = onSaturday;
    sundayWeeks.calendar = fromSunday;
    const QString text = u"volgende week zondag"_s;
    ASSERT_EQ(find(text, onSaturday).size(), 1u);
    ASSERT_EQ(find(text, sundayWeeks).size(), 1u);
    EXPECT_EQ(detector_vectors::describe(find(text, onSaturday)[0]).toStdString(), "2026-08-30");
    EXPECT_EQ(detector_vectors::describe(find(text, sundayWeeks)[0]).toStdString(), "2026-08-23");
}

// Danish and Swedish say "tomorrow" with their word for morning in it; the
// detector reads the day only.
TEST_F(DateDetectorTest, ReadsScandinavianTomorrowAsADay) {
    for (const auto& [text, code] : {std::pair{u"i morgen"_s, u"da"_s}, std::pair{u"i morgon"_s, u"sv"_s}}) {
        SCOPED_TRACE(text.toStdString());
        const DetectionContext context{
            .reference = detector_vectors::reference('A'), .calendar = amsterdam(), .languages = {code}};
        const std::vector<DetectedDate> found = find(text, context);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(detector_vectors::describe(found[0]).toStdString(), "2026-08-20");
    }
}

TEST(NumericDateOrderTest, FollowsTheRegionsShortDate) {
    struct Case {
        const char* locale;
        NumericDateOrder order;
    };
    const Case cases[] = {
        {"en_US", NumericDateOrder::monthDayYear}, {"en_CA", NumericDateOrder::monthDayYear},
        {"en_GB", NumericDateOrder::dayMonthYear}, {"fr_FR", NumericDateOrder::dayMonthYear},
        {"nl_NL", NumericDateOrder::dayMonthYear}, {"sv_SE", NumericDateOrder::yearMonthDay},
        {"hu_HU", NumericDateOrder::yearMonthDay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(numericDateOrder(Locale(QString::fromLatin1(c.locale))), c.order);
    }
}

// The detector tests blanks by character type, for speed; they must stay
// the whitespace set.
TEST(DateDetectorBlanksTest, AreTheWhitespaceSet) {
    const CharacterSet& whitespaces = CharacterSet::whitespaces();
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        ASSERT_EQ(datedetector::isBlank(c), whitespaces.contains(c)) << std::hex << static_cast<uint32_t>(c);
}

// The tokens' foldings are kept per thread up to a few thousand words: a
// word read again, and one read after the kept ones were let go (more
// words than are kept in between), folds as the lexicon folds it.
TEST(DateDetectorTokensTest, FoldWordsAsTheLexiconDoesAfterMany) {
    const QString words = u"Sönntäg İSTANBUL Ωμέγα"_s;
    const auto foldings = [&] {
        const datedetector::TokenizedText tokens(words, {0, words.size()});
        QStringList folded;
        for (const datedetector::Token& token : tokens.tokens()) folded.append(token.folded);
        return folded;
    };
    const QStringList expected{foldedWord(u"Sönntäg"_s), foldedWord(u"İSTANBUL"_s), foldedWord(u"Ωμέγα"_s)};
    EXPECT_EQ(foldings(), expected);
    EXPECT_EQ(foldings(), expected);
    for (int index = 0; index < 5000; ++index) {
        QString other = u"wörd"_s;  // and the index in letters, a new word each time
        for (int rest = index; rest > 0 || other.size() == 4; rest /= 26) other.append(QChar(u'a' + rest % 26));
        const datedetector::TokenizedText tokens(other, {0, other.size()});
        ASSERT_EQ(tokens.tokens().front().folded, foldedWord(other));
    }
    EXPECT_EQ(foldings(), expected);
}

}  // namespace
