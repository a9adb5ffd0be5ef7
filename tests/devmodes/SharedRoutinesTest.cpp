#include "devmodes/SharedRoutines.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;
using tavlin::devmodes::parentProcessDescription;
using tavlin::devmodes::processDescription;

TEST(SharedRoutines, AProcessIsDescribedByTheNameItRunsUnder) {
    const qint64 self = ::getpid();
    EXPECT_EQ(processDescription(self), u"devmodes_tests (ppid %1)"_s.arg(self));

    // One past the largest identifier the system hands out is never in use.
    const qint64 none = readTestFile(u"/proc/sys/kernel/pid_max"_s).trimmed().toLongLong() + 1;
    ASSERT_GT(none, 1);
    EXPECT_EQ(processDescription(none), u"non-GUI process (ppid %1)"_s.arg(none));

    EXPECT_TRUE(parentProcessDescription().endsWith(u" (ppid %1)"_s.arg(::getppid())));
}
