#include "platform/UserDefaults.h"

#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using nlohmann::json;

namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Tavlin/settings.json"_s);

    void writeFile(const QByteArray& bytes) const { writeTestFile(path, bytes); }
    QStringList filesInFolder() const { return QDir(folder.filePath(u"Tavlin"_s)).entryList(QDir::Files); }
};

}  // namespace

TEST(UserDefaultsPathTest, FollowsXdgConfigHome) {
    struct Case {
        const char* name;
        std::optional<QByteArray> xdgConfigHome;
        QString path;
    };
    const Case cases[] = {
        {"set", "/etc/xdg-user", u"/etc/xdg-user/Tavlin/settings.json"_s},
        {"unset", std::nullopt, u"/home/someone/.config/Tavlin/settings.json"_s},
        {"empty", "", u"/home/someone/.config/Tavlin/settings.json"_s},
        {"relative, which XDG does not allow", "config", u"/home/someone/.config/Tavlin/settings.json"_s},
    };
    const ScopedVariable home("HOME", "/home/someone");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedVariable xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
        EXPECT_EQ(UserDefaults::standardFilePath(), c.path);
    }
}

TEST_F(UserDefaultsTest, ReadersKeepToTheirTypes) {
    writeFile(R"({"text": "a", "number": 2, "zero": 0, "yes": true, "no": false, "textYes": "true",
                  "texts": ["a", "b"], "mixed": ["a", 1], "empty": [], "object": {"a": 1}})");
    const UserDefaults defaults(path);

    struct Case {
        const char* key;
        std::optional<QString> string;
        std::optional<QStringList> stringArray;
        bool boolean;
    };
    const Case cases[] = {
        {"text", u"a"_s, std::nullopt, false},
        {"number", std::nullopt, std::nullopt, true},
        {"zero", std::nullopt, std::nullopt, false},
        {"yes", std::nullopt, std::nullopt, true},
        {"no", std::nullopt, std::nullopt, false},
        {"textYes", u"true"_s, std::nullopt, false},
        {"texts", std::nullopt, QStringList{u"a"_s, u"b"_s}, false},
        {"mixed", std::nullopt, std::nullopt, false},
        {"empty", std::nullopt, QStringList{}, false},
        {"object", std::nullopt, std::nullopt, false},
        {"absent", std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(defaults.string(c.key), c.string);
        EXPECT_EQ(defaults.stringArray(c.key), c.stringArray);
        EXPECT_EQ(defaults.boolean(c.key), c.boolean);
    }
    EXPECT_EQ(defaults.object("object"), json({{"a", 1}}));
    EXPECT_TRUE(defaults.object("absent").is_null());
}

TEST_F(UserDefaultsTest, WritesReachTheFileAtOnce) {
    UserDefaults defaults(path);
    EXPECT_FALSE(QFile::exists(path));

    defaults.set("width", 320.5);
    defaults.set("name", "Inbox");
    EXPECT_EQ(UserDefaults(path).object("width"), 320.5);
    EXPECT_EQ(UserDefaults(path).string("name"), u"Inbox"_s);

    defaults.removeObject("width");
    defaults.set("name", json());
    EXPECT_EQ(json::parse(readTestFile(path).toStdString()), json::object());
    // Written through a temporary file that the rename consumed.
    EXPECT_EQ(filesInFolder(), QStringList{u"settings.json"_s});
}

TEST_F(UserDefaultsTest, AnUnchangedValueLeavesTheFileAlone) {
    const QByteArray written = R"({"width":320,"name":"Inbox"})";
    writeFile(written);
    UserDefaults defaults(path);
    defaults.set("width", 320.0);
    defaults.set("name", "Inbox");
    defaults.removeObject("absent");
    EXPECT_EQ(readTestFile(path), written);
}

TEST_F(UserDefaultsTest, AFileThatIsNotAnObjectIsMovedAsideNotOverwritten) {
    const QByteArray cases[] = {"{\"width\": 320,", "[1, 2]", "", "\"text\""};
    for (const QByteArray& bad : cases) {
        SCOPED_TRACE(bad.toStdString());
        for (const QString& name : filesInFolder()) QFile::remove(folder.filePath(u"Tavlin/"_s + name));
        writeFile(bad);

        UserDefaults defaults(path);
        EXPECT_TRUE(defaults.object("width").is_null());
        defaults.set("width", 400);

        const QStringList files = filesInFolder();
        ASSERT_EQ(files.size(), 2);
        EXPECT_TRUE(files[1].startsWith(u"settings.json.bad-"_s)) << files[1].toStdString();
        EXPECT_EQ(readTestFile(folder.filePath(u"Tavlin/"_s + files[1])), bad);
        EXPECT_EQ(UserDefaults(path).object("width"), 400);
    }
}

// Valid JSON deeper or larger than settings can be would be copied,
// compared and written by recursion: it is put aside like a broken file,
// with one warning.
TEST_F(UserDefaultsTest, AFileNestedTooDeeplyOrTooLargeIsMovedAside) {
    const auto nested = [](int levels, const QByteArray& key) {
        return "{\"" + key + "\":" + QByteArray(levels - 2, '[') + "{}" + QByteArray(levels - 2, ']') + "}";
    };
    struct Case {
        const char* name;
        QByteArray contents;
        const char* warning;
    };
    const Case cases[] = {
        {"deep under a known key", nested(60000, "manualOrderRanks"), "nests values more than 64 levels deep"},
        {"deep under an unknown key", nested(65, "x"), "nests values more than 64 levels deep"},
        {"too large", "{\"x\":\"" + QByteArray(9 * 1024 * 1024, 'a') + "\"}", "is larger than settings can be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : filesInFolder()) QFile::remove(folder.filePath(u"Tavlin/"_s + name));
        writeFile(c.contents);
        LogCapture log("com.quorvandell.tavlin.platform");
        UserDefaults defaults(path);
        EXPECT_TRUE(defaults.keys().isEmpty());
        const QStringList warnings = log.take();
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(QString::fromLatin1(c.warning))) << warnings[0].toStdString();
        defaults.set("width", 400);
        const QStringList files = filesInFolder();
        ASSERT_EQ(files.size(), 2);
        EXPECT_EQ(readTestFile(folder.filePath(u"Tavlin/"_s + files[1])), c.contents);
    }
    writeFile(nested(64, "x"));
    EXPECT_TRUE(UserDefaults(path).object("x").is_array()) << "64 levels are read";
}

// A FIFO (or a device) in place of the file would hold the start for ever.
TEST_F(UserDefaultsTest, OnlyARegularFileIsRead) {
    ASSERT_TRUE(QDir().mkpath(folder.filePath(u"Tavlin"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    LogCapture log("com.quorvandell.tavlin.platform");
    UserDefaults defaults(path);
    EXPECT_TRUE(defaults.keys().isEmpty());
    ASSERT_EQ(log.take().size(), 1);
    defaults.set("width", 400);
    EXPECT_EQ(defaults.object("width"), 400) << "kept in memory";
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "left as it is";

    const QString target = folder.filePath(u"elsewhere.json"_s);
    writeTestFile(target, R"({"width":320})");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::link(target, path));
    EXPECT_EQ(UserDefaults(path).object("width"), 320) << "a link to a regular file is read";
}

TEST_F(UserDefaultsTest, ListsTheKeysStoredNow) {
    UserDefaults defaults(path);
    defaults.set("b", 1);
    defaults.set("a", "x");
    defaults.removeObject("b");
    EXPECT_EQ(defaults.keys(), QStringList{u"a"_s});
    EXPECT_EQ(UserDefaults(path).keys(), QStringList{u"a"_s});
}
