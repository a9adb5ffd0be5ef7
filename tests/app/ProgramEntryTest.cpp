#include "app/ProgramEntry.h"

#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;
namespace ProgramEntry = tavlin::app::ProgramEntry;

TEST(ProgramEntry, ReadsTheCommandLine) {
    struct Case {
        QStringList arguments;
        bool bridge;
        bool standsBeside;  // the one-instance rule lifted
    };
    const Case cases[] = {
        {{u"tavlin"_s}, false, false},
        {{u"tavlin"_s, u"--mcp"_s}, true, true},
        {{u"tavlin"_s, u"x"_s, u"--mcp"_s}, true, true},
        {{u"--mcp"_s}, false, false},  // the program path is no argument
        {{u"--mcp"_s, u"x"_s}, false, false},
        {{u"tavlin"_s, u"--mcpx"_s}, false, true},
        {{u"tavlin"_s, u"--x"_s}, false, true},
        {{u"tavlin"_s, u"--"_s}, false, true},
        {{u"tavlin"_s, u"-x"_s}, false, false},
        {{u"tavlin"_s, u"x"_s, u"--parse"_s}, false, true},
        {{}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(ProgramEntry::runsTheBridge(c.arguments), c.bridge);
        EXPECT_EQ(ProgramEntry::liftsOneInstanceRule(c.arguments), c.standsBeside);
    }
}

// A test host's variables count by their presence; an empty one too.
TEST(ProgramEntry, KnowsATestHostByEitherVariable) {
    struct Case {
        std::optional<QByteArray> configuration;
        std::optional<QByteArray> session;
        bool host;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false},
        {"", std::nullopt, true},
        {std::nullopt, "", true},
        {"/tmp/x.xctestconfiguration", std::nullopt, true},
        {"", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.configuration.has_value() << c.session.has_value());
        const ScopedVariable configuration("XCTestConfigurationFilePath", c.configuration);
        const ScopedVariable session("XCTestSessionIdentifier", c.session);
        EXPECT_EQ(ProgramEntry::isRunningTests(), c.host);
    }
}
