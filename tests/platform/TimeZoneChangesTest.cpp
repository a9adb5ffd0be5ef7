#include "platform/TimeZoneChanges.h"

#include "support/MainLoop.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// Puts `contents` at `path` the way system tools do: written beside it and
// renamed over it, or, for a link, a new link renamed over the old one.
bool replace(const QString& path, const QString& contents, bool asLink) {
    const QString beside = path + u".new"_s;
    if (asLink && !QFile::link(contents, beside)) return false;
    if (!asLink) writeTestFile(beside, contents.toUtf8());
    return std::rename(QFile::encodeName(beside).constData(), QFile::encodeName(path).constData()) == 0;
}

}  // namespace

// Either of the places the system keeps its zone in; a name no zone has is
// passed over, and the next real change is told.
TEST(TimeZoneChanges, TellsTheNewZoneOfEitherSource) {
    struct Case {
        const char* name;
        bool asLink;
        QString bogus, zone;
    };
    const Case cases[] = {
        {"/etc/localtime", true, u"/usr/share/zoneinfo/Not/AZone"_s, u"/usr/share/zoneinfo/Asia/Tokyo"_s},
        {"/etc/timezone", false, u"Not/AZone\n"_s, u"America/New_York\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir etc;
        const TimeZoneChanges::Sources sources{.localtime = etc.filePath(u"localtime"_s),
                                               .timezoneFile = etc.filePath(u"timezone"_s),
                                               .tzVariable = {},
                                               .systemBus = QDBusConnection(u"none"_s)};
        const QString path = c.asLink ? sources.localtime : sources.timezoneFile;
        ASSERT_TRUE(
            replace(path, c.asLink ? u"/usr/share/zoneinfo/Europe/Amsterdam"_s : u"Europe/Amsterdam\n"_s, c.asLink));
        TimeZoneChanges changes(sources);
        ASSERT_EQ(changes.systemZone().value().identifier(), u"Europe/Amsterdam"_s);
        QStringList told;
        QObject::connect(&changes, &TimeZoneChanges::changed,
                         [&](const TimeZone& zone) { told.append(zone.identifier()); });

        ASSERT_TRUE(replace(path, c.bogus, c.asLink));
        ASSERT_TRUE(replace(path, c.zone, c.asLink));
        ASSERT_TRUE(runMainLoopUntil([&] { return !told.isEmpty(); }));
        const QString expected = c.zone.section(u"zoneinfo/"_s, -1).trimmed();
        EXPECT_EQ(told, QStringList{expected});
    }
}
