#include "preferences/AppVersion.h"

#include <gtest/gtest.h>

using tavlin::preferences::appVersionString;
using namespace Qt::StringLiterals;

TEST(AppVersionTest, VersionAndBuildNumberWithQuestionMarksForMissingOnes) {
    EXPECT_EQ(appVersionString(u"1.4"_s, u"27"_s), u"1.4 (27)"_s);
    EXPECT_EQ(appVersionString(u"1.4"_s, std::nullopt), u"1.4 (?)"_s);
    EXPECT_EQ(appVersionString(std::nullopt, std::nullopt), u"? (?)"_s);
    EXPECT_TRUE(appVersionString().startsWith(u"0."_s)) << appVersionString().toStdString();
}
