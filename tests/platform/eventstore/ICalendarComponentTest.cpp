#include "platform/eventstore/ICalendarComponent.h"

#include <gtest/gtest.h>
#include <QList>
#include <QString>

using namespace tavlin::platform;

namespace {

// New lines are folded at 75 octets without splitting a character, and read
// back as they were written.
TEST(ICalendarComponentTest, FoldsLongLinesBetweenCharacters) {
    const QByteArray title = QStringLiteral(u"Zoë’s ✓ ünïcödé title ").repeated(8).toUtf8();
    ICalendarComponent todo("VTODO");
    todo.addProperty({"SUMMARY", escapeText(title)});
    const QByteArray text = todo.serialized();
    for (const QByteArray& line : text.split('\n')) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_LE(line.size(), 76);                             // 75 octets and the carriage return
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line);  // no character cut in two
    }
    const auto parsed = ICalendarComponent::parse(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(unescapeText(parsed->property("SUMMARY")->value()), title);
    EXPECT_EQ(parsed->serialized(), text);
}

TEST(ICalendarComponentTest, ReadsParametersQuotedAndEncoded) {
    const auto calendar =
        ICalendarComponent::parse("BEGIN:X\nP;A=\"one;two:three\";B=x^'y^'^nz;C=1,2:value:with:colons\nEND:X\n");
    ASSERT_TRUE(calendar);
    const ICalendarProperty* property = calendar->property("P");
    EXPECT_EQ(property->parameter("a"), "one;two:three");
    EXPECT_EQ(property->parameter("B"), "x\"y\"\nz");
    EXPECT_EQ(property->parameter("C"), "1");
    EXPECT_EQ(property->parameter("D"), std::nullopt);
    EXPECT_EQ(property->value(), "value:with:colons");
    EXPECT_EQ(calendar->serialized(), "BEGIN:X\nP;A=\"one;two:three\";B=x^'y^'^nz;C=1,2:value:with:colons\nEND:X\n");
}

}  // namespace
