#include "platform/UserDefaults.h"

#include "support/Printers.h"
#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

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

TEST_F(UserDefaultsTest, ListsTheKeysStoredNow) {
    UserDefaults defaults(path);
    defaults.set("b", 1);
    defaults.set("a", "x");
    defaults.removeObject("b");
    EXPECT_EQ(defaults.keys(), QStringList{u"a"_s});
    EXPECT_EQ(UserDefaults(path).keys(), QStringList{u"a"_s});
}
