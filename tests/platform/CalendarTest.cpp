#include "platform/Calendar.h"
#include "platform/DateComponents.h"

#include <QTimeZone>
#include <gtest/gtest.h>

#include <optional>

using namespace tavlin::platform;

namespace {

Date utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return Date::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC));
}

TimeZone zone(const char* identifier) {
    return TimeZone::fromIdentifier(QString::fromLatin1(identifier)).value();
}

TEST(TimeZoneTest, KnowsOnlyIcuZones) {
    EXPECT_EQ(zone("Europe/Amsterdam").identifier(), "Europe/Amsterdam");
    EXPECT_FALSE(TimeZone::fromIdentifier("Europe/Atlantis"));
    EXPECT_FALSE(TimeZone::fromIdentifier(""));
    EXPECT_FALSE(TimeZone::fromIdentifier("Etc/Unknown"));
}

TEST(TimeZoneTest, ReadsTheFormsOfTZ) {
    struct Case {
        QString value;
        std::optional<QString> identifier;
    };
    const Case cases[] = {
        {"Europe/Amsterdam", "Europe/Amsterdam"},
        {":Europe/Amsterdam", "Europe/Amsterdam"},
        {"/usr/share/zoneinfo/Europe/Amsterdam", "Europe/Amsterdam"},
        {":/usr/share/zoneinfo/America/New_York", "America/New_York"},
        {"UTC", "UTC"},
        {"Nowhere/Special", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        const std::optional<TimeZone> found = TimeZone::fromTZVariable(c.value);
        EXPECT_EQ(found ? std::optional(found->identifier()) : std::nullopt, c.identifier);
    }
}

TEST(TimeZoneTest, OffsetsAcrossTheYear) {
    const TimeZone amsterdam = zone("Europe/Amsterdam");
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 1, 15, 12)), 3600);
    EXPECT_FALSE(amsterdam.isDaylightSavingTime(utc(2026, 1, 15, 12)));
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 7, 15, 12)), 7200);
    EXPECT_TRUE(amsterdam.isDaylightSavingTime(utc(2026, 7, 15, 12)));
    // The change itself, at 01:00 UTC on the last Sunday of March.
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 3, 29, 0, 59, 59)), 3600);
    EXPECT_EQ(amsterdam.secondsFromGMT(utc(2026, 3, 29, 1)), 7200);
}

TEST(DateTest, ConvertsToAndFromQt) {
    const Date date = Date::fromSecondsSince1970(1'772'614'800.25);
    EXPECT_EQ(date.toQDateTime().toMSecsSinceEpoch(), 1'772'614'800'250);
    EXPECT_EQ(Date::fromQDateTime(date.toQDateTime()), date);
    EXPECT_EQ(utc(2026, 3, 4, 9).secondsSince1970(), 1'772'614'800);
}

}  // namespace
