#include "platform/eventstore/ICalendarComponent.h"

#include <gtest/gtest.h>
#include <QList>
#include <QString>

#include <memory>

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

// Anyone who can write to a synced collection can nest components without
// end: such a file is refused at the limit, however deep it goes.
TEST(ICalendarComponentTest, RefusesComponentsNestedBeyondTheLimit) {
    const auto nested = [](std::size_t levels) {
        QByteArray text;
        for (std::size_t i = 0; i < levels; ++i) text += "BEGIN:X\r\n";
        for (std::size_t i = 0; i < levels; ++i) text += "END:X\r\n";
        return text;
    };
    const QByteArray atLimit = nested(ICalendarComponent::maxDepth);
    const auto parsed = ICalendarComponent::parse(atLimit);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->serialized(), atLimit);
    for (const std::size_t levels : {ICalendarComponent::maxDepth + 1, std::size_t{200000}}) {
        SCOPED_TRACE(levels);
        QByteArray error;
        EXPECT_FALSE(ICalendarComponent::parse(nested(levels), &error));
        EXPECT_EQ(error, "components nested more than 64 levels deep");
    }
}

// Nothing walks a tree by recursion, so even one deeper than any file may
// hold is written and taken apart.
TEST(ICalendarComponentTest, ADeepTreeIsWrittenAndDestroyedWithoutRecursion) {
    constexpr int levels = 300000;
    auto root = std::make_unique<ICalendarComponent>("X");
    ICalendarComponent* deepest = root.get();
    for (int i = 0; i < levels; ++i) deepest = &deepest->components().emplace_back("Y");
    deepest->addProperty({"SUMMARY", "bottom"});
    const QByteArray text = root->serialized();
    EXPECT_EQ(text.count("BEGIN:"), levels + 1);
    EXPECT_TRUE(text.contains("BEGIN:Y\r\nSUMMARY:bottom\r\nEND:Y\r\n"));
    EXPECT_TRUE(text.endsWith("END:Y\r\nEND:X\r\n"));
    root.reset();
}

}  // namespace
