#include "platform/DecimalText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>

using tavlin::platform::decimalText;

TEST(DecimalText, WritesTheShortestTextWithAPoint) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {100.0, "100.0"},
        {52.37, "52.37"},
        {4.89, "4.89"},
        {-0.5, "-0.5"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1e15, "1000000000000000.0"},
        {9007199254740992.0, "9007199254740992.0"},  // 2^53, the last whole number written out
        {0.0001, "0.0001"},
        // Beyond those in exponent form, as long rows of zeros say nothing.
        {9007199254740994.0, "9.007199254740994e+15"},
        {1e16, "1e+16"},
        {1.5e300, "1.5e+300"},
        {0.00001, "1e-05"},
        {-1.25e-7, "-1.25e-07"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::nan(""), "nan"},
    };
    for (const Case& c : cases) EXPECT_EQ(decimalText(c.value).toStdString(), c.text) << c.value;
}

TEST(DecimalText, ReadsBackAsTheSameNumber) {
    for (const double value : {52.370000000000005, 1.0 / 3, -123456.789e-3, 6.02214076e23, 2.2250738585072014e-308}) {
        const QByteArray text = decimalText(value).toLatin1();
        double read = 0;
        std::from_chars(text.constData(), text.constData() + text.size(), read);
        EXPECT_EQ(read, value) << text.constData();
    }
}
