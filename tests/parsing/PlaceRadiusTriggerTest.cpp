#include "parsing/PlaceRadiusTrigger.h"
#include "parsing/PlaceSpans.h"
#include "parsing/QuickAddParser.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin;
using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

namespace {

const ParserVocabulary& english() {
    static const ParserVocabulary vocabulary = ParserVocabulary::forLocaleIdentifiers({u"en-US"_s});
    return vocabulary;
}

ParsedQuickAdd parseLine(const QString& text) {
    const platform::Calendar calendar =
        platform::Calendar::gregorian(*platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s));
    const platform::Date reference = *calendar.date({.year = 2026, .month = 3, .day = 4, .hour = 10});
    return QuickAddParser::parse(
        text, {.referenceDate = reference, .calendar = calendar, .vocabulary = english(), .uses24HourClock = true});
}

}  // namespace

TEST(PlaceRadiusTrigger, Radius) {
    struct Case {
        QString text;
        bool requirePreposition;
        std::optional<double> radius;
        QString rest;
    };
    const Case cases[] = {
        {u"shop within 500 m"_s, true, 500, u"shop"_s},
        {u"shop within 20 m"_s, true, std::nullopt, u"shop within 20 m"_s},
        {u"shop within 11 km"_s, true, std::nullopt, u"shop within 11 km"_s},
        {u"shop within 5 km"_s, true, 5000, u"shop"_s},
        {u"shop 500m"_s, true, std::nullopt, u"shop 500m"_s},
        {u"shop 500m"_s, false, 500, u"shop"_s},
        {u"within 300 meters of home"_s, true, 300, u"of home"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString text = c.text;
        EXPECT_EQ(QuickAddParser::extractRadius(text, english(), c.requirePreposition), c.radius);
        EXPECT_EQ(text, c.rest);
    }
}

TEST(PlaceRadiusTrigger, PlacesThroughThePipeline) {
    struct Case {
        QString line;
        std::optional<QString> place;
        LocationTrigger trigger;
        std::optional<double> radius;
        QString title;
    };
    const Case cases[] = {
        {u"buy milk @“Corner Shop” 200m"_s, u"Corner Shop"_s, LocationTrigger::arrive, 200, u"buy milk"_s},
        {u"buy milk „@Corner Shop“"_s, u"Corner Shop"_s, LocationTrigger::arrive, std::nullopt, u"buy milk"_s},
        {u"pack @\"gym\" 500 m of rope"_s, u"gym"_s, LocationTrigger::arrive, std::nullopt, u"pack 500 m of rope"_s},
        {u"@\"gym\" 2km run"_s, u"gym"_s, LocationTrigger::arrive, 2000, u"run"_s},
        {u"call mom when I leave @office"_s, u"office"_s, LocationTrigger::leave, std::nullopt, u"call mom"_s},
        {u"call mom @\"office\" when I leave"_s, u"office"_s, LocationTrigger::arrive, std::nullopt,
         u"call mom when I leave"_s},
        {u"remind @office when I leave"_s, u"office when I leave"_s, LocationTrigger::arrive, std::nullopt,
         u"remind"_s},
        {u"@gym to pick up the kids"_s, u"gym"_s, LocationTrigger::arrive, std::nullopt, u"to pick up the kids"_s},
        {u"@gym to run"_s, u"gym to run"_s, LocationTrigger::arrive, std::nullopt, u""_s},
        {u"stretch @gym 500m"_s, u"gym"_s, LocationTrigger::arrive, 500, u"stretch"_s},
        {u"stretch @500m"_s, u"500m"_s, LocationTrigger::arrive, std::nullopt, u"stretch"_s},
        {u"pick up parcel within 300 m @post office"_s, u"post office"_s, LocationTrigger::arrive, 300,
         u"pick up parcel"_s},
        {u"within 300 m buy milk"_s, std::nullopt, LocationTrigger::arrive, std::nullopt, u"within 300 m buy milk"_s},
        {u"call mom on every friday @home"_s, u"home"_s, LocationTrigger::arrive, std::nullopt, u"call mom"_s},
        {u"mail me@home.example"_s, std::nullopt, LocationTrigger::arrive, std::nullopt, u"mail me@home.example"_s},
        {u"nothing @\" \" here"_s, std::nullopt, LocationTrigger::arrive, std::nullopt, u"nothing @\" \" here"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedQuickAdd parsed = parseLine(c.line);
        EXPECT_EQ(parsed.locationName, c.place);
        EXPECT_EQ(parsed.locationTrigger, c.trigger);
        EXPECT_EQ(parsed.locationRadius, c.radius);
        EXPECT_EQ(parsed.title, c.title);
    }
}

TEST(PlaceRadiusTrigger, ScanTextsBlankPlaces) {
    const auto blanks = [](int n) { return QString(n, u' '); };
    // A token's span starts at the blank before its marker word.
    const auto quoted = QuickAddParser::placeScanTexts(u"meet at @“Blue Cafe” tomorrow"_s, english());
    EXPECT_EQ(quoted.cadenceScanText, u"meet"_s + blanks(16) + u" tomorrow"_s);
    EXPECT_EQ(quoted.adverbScanText, quoted.cadenceScanText);
    const auto tail = QuickAddParser::placeScanTexts(u"yoga @gym every monday"_s, english());
    EXPECT_EQ(tail.cadenceScanText, u"yoga"_s + blanks(5) + u" every monday"_s) << "the closing cadence stays visible";
    EXPECT_EQ(tail.adverbScanText, u"yoga"_s + blanks(18));
    const auto noCadence = QuickAddParser::placeScanTexts(u"yoga @gym every monday at noon"_s, english());
    EXPECT_EQ(noCadence.cadenceScanText, noCadence.adverbScanText) << "two words after the phrase: all is place";
    const auto connector = QuickAddParser::placeScanTexts(u"yoga @gym every monday at"_s, english());
    EXPECT_EQ(connector.cadenceScanText, u"yoga"_s + blanks(5) + u" every monday at"_s);
}
