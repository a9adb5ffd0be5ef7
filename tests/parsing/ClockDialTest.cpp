#include "parsing/ClockDial.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;
using platform::DateComponents;

namespace {

struct Fixture {
    platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"de-DE"_s, u"en-US"_s});

    std::vector<RuleDateCandidate> candidates(const QString& text) const {
        return QuickAddParser::clockPhraseCandidates(text, {0, text.size()}, reference, calendar, vocabulary);
    }
};

DateComponents at(int day, int hour, int minute) {
    return {.year = 2026, .month = 3, .day = day, .hour = hour, .minute = minute};
}

}  // namespace

TEST(ClockDial, Phrases) {
    const Fixture f;
    struct Case {
        QString text;
        std::optional<platform::TextRange> range;  // nothing: no candidate
        DateComponents components;
        std::vector<DialReading> readings;
    };
    const Case cases[] = {
        {u"call mum quarter past 3"_s, platform::TextRange{9, 14}, at(4, 15, 15), {{3, 15}, {15, 15}}},
        {u"quarter to 8 pm"_s, platform::TextRange{0, 15}, at(4, 19, 45), {{19, 45}}},
        {u"quarter past five"_s, platform::TextRange{0, 17}, at(4, 17, 15), {{5, 15}, {17, 15}}},
        {u"quarter past 12"_s, platform::TextRange{0, 15}, at(4, 12, 15), {{12, 15}, {0, 15}}},
        {u"quarter past 12 am"_s, platform::TextRange{0, 18}, at(5, 0, 15), {{0, 15}}},
        {u"at 10 to 5"_s, platform::TextRange{0, 10}, at(4, 16, 50), {{4, 50}, {16, 50}}},
        {u"meet 20 past 4"_s, platform::TextRange{5, 9}, at(4, 16, 20), {{4, 20}, {16, 20}}},
        {u"at half 5"_s, platform::TextRange{0, 9}, at(4, 17, 30), {{5, 30}, {17, 30}}},
        {u"um halb 5"_s, platform::TextRange{0, 9}, at(4, 16, 30), {{4, 30}, {16, 30}}},
        {u"Zahnarzt um halb fünf"_s, platform::TextRange{9, 12}, at(4, 16, 30), {{4, 30}, {16, 30}}},
        {u"quarter past 10 P.M."_s, platform::TextRange{0, 19}, at(4, 22, 15), {{22, 15}}},  // "\b" leaves the last dot
        {u"quarter past 9"_s, platform::TextRange{0, 14}, at(4, 21, 15), {{9, 15}, {21, 15}}},  // 9:15 has passed
        {u"quarter past 3 amsterdam"_s, platform::TextRange{0, 14}, at(4, 15, 15), {{3, 15}, {15, 15}}},
        {u"10 to 5"_s, std::nullopt, {}, {}},
        {u"halb 5"_s, std::nullopt, {}, {}},
        {u"quarter past 13"_s, std::nullopt, {}, {}},
        {u"25 past 14"_s, std::nullopt, {}, {}},
        {u"35 past 4"_s, std::nullopt, {}, {}},
        {u"0 past 4"_s, std::nullopt, {}, {}},
        {u"quarter past 5:30"_s, std::nullopt, {}, {}},
        {u"Viertel past 3"_s, std::nullopt, {}, {}},  // German quarter, English direction
        {u"nothing to see"_s, std::nullopt, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto found = f.candidates(c.text);
        if (!c.range) {
            EXPECT_TRUE(found.empty());
            continue;
        }
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].range, *c.range);
        EXPECT_EQ(found[0].components, c.components);
        EXPECT_EQ(found[0].dialReadings, c.readings);
        EXPECT_TRUE(found[0].hasTime);
        EXPECT_EQ(found[0].kind, RuleDateCandidate::Kind::clock);
    }
}

TEST(ClockDial, FamiliesComeInOrderAndOverlapsStay) {
    const Fixture f;
    const auto found = f.candidates(u"at 20 past 4 or quarter to 6"_s);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].components, at(4, 17, 45)) << "quarter family first";
    EXPECT_EQ(found[1].components, at(4, 16, 20));
}

TEST(ClockDial, ClockNumbers) {
    EXPECT_EQ(QuickAddParser::clockNumber(u"7"_s, {}, {}, {}, {}), 7);
    EXPECT_EQ(QuickAddParser::clockNumber(u"+07"_s, {}, {}, {}, {}), 7);
    EXPECT_EQ(QuickAddParser::clockNumber(u"-3"_s, {}, {}, {}, {}), -3);
    EXPECT_EQ(QuickAddParser::clockNumber(u"+-3"_s, {}, {}, {}, {}), std::nullopt);
    EXPECT_EQ(QuickAddParser::clockNumber(u"٣"_s, {}, {}, {}, {}), std::nullopt);
    EXPECT_EQ(QuickAddParser::clockNumber(u"Twelve"_s, u"quarter"_s, u"past"_s, {}, {}), 12);
    EXPECT_EQ(QuickAddParser::clockNumber(u"twelve"_s, u"Viertel"_s, {}, {}, {}), std::nullopt);
}
