#include "platform/DateFormatter.h"

#include "support/Dates.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using tavlin::platform::Date;
using tavlin::platform::DateFormatter;
using tavlin::platform::Locale;
using tavlin::platform::TimeZone;

namespace {

const TimeZone amsterdam = zone("Europe/Amsterdam");

TEST(DateFormatterTest, RoundTrips) {
    struct Case {
        QString pattern, text;
        Date date;
    };
    const Case cases[] = {
        {"yyyy-MM-dd", "2026-03-04", utc(2026, 3, 3, 23)},
        {"d MMM yyyy", "4 Mar 2026", utc(2026, 3, 3, 23)},
        {"d MMM yyyy HH:mm", "4 Mar 2026 10:15", utc(2026, 3, 4, 9, 15)},
        {"d MMM yyyy HH:mm", "1 Jul 2026 10:15", utc(2026, 7, 1, 8, 15)},
        {"yyyy-MM-dd HH:mm", "2026-03-29 03:30", utc(2026, 3, 29, 1, 30)},
        // Fields the pattern lacks are those of 1 January 1970, in the formatter's zone.
        {"HH:mm", "10:00", utc(1970, 1, 1, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const DateFormatter formatter(c.pattern, Locale::posix(), amsterdam);
        const std::optional<Date> read = formatter.date(c.text);
        ASSERT_TRUE(read);
        EXPECT_EQ(read, c.date);
        EXPECT_EQ(formatter.string(*read), c.text);
    }
}

TEST(DateFormatterTest, ReadsOnlyWholeExistingDates) {
    struct Case {
        QString pattern, text;
    };
    const Case cases[] = {
        {"yyyy-MM-dd", "2026-02-30"},
        {"yyyy-MM-dd", "2026-02-29"},
        {"yyyy-MM-dd", "2026-13-01"},
        {"yyyy-MM-dd", "2026-03-04x"},
        {"yyyy-MM-dd", "2026-03-04 "},
        {"yyyy-MM-dd", "2026-03"},
        {"yyyy-MM-dd", ""},
        {"HH:mm", "24:00"},
        {"HH:mm", "10:60"},
        {"d MMM yyyy", "31 Apr 2026"},
        {"d MMM yyyy", "4 Mrz 2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_FALSE(DateFormatter(c.pattern, Locale::posix(), amsterdam).date(c.text));
    }
}

TEST(DateFormatterTest, ProlepticGregorianBeforeTheJulianCutover) {
    const DateFormatter formatter("yyyy-MM-dd", Locale::posix(), TimeZone::gmt());
    EXPECT_EQ(formatter.date("1500-02-28"), utc(1500, 2, 28));
    EXPECT_FALSE(formatter.date("1500-02-29"));  // a leap day in the Julian calendar only
    EXPECT_EQ(formatter.string(utc(1582, 10, 10)), "1582-10-10");
}

TEST(DateFormatterTest, UsesTheLocaleNames) {
    const DateFormatter german("d. MMMM yyyy", Locale("de_DE"), amsterdam);
    EXPECT_EQ(german.string(utc(2026, 3, 4, 12)), "4. März 2026");
    EXPECT_EQ(german.date("4. März 2026"), utc(2026, 3, 3, 23));
}

TEST(DateFormatterTest, MovesKeepTheFormat) {
    DateFormatter formatter("yyyy-MM-dd", Locale::posix(), amsterdam);
    DateFormatter moved = std::move(formatter);
    EXPECT_EQ(moved.string(utc(2026, 3, 4, 12)), "2026-03-04");
}

TEST(DateFormatterTest, SharedBetweenThreads) {
    const DateFormatter formatter("yyyy-MM-dd HH:mm", Locale::posix(), amsterdam);
    std::vector<std::thread> threads;
    std::vector<int> failures(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int minute = 0; minute < 500; ++minute) {
                const Date date = utc(2026, 2, 1 + t, 9).addingTimeInterval(minute * 60);
                if (formatter.date(formatter.string(date)) != date) ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
