#include "parsing/SmartQuickAddParser.h"
#include "parsing/TaskSplitter.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace tavlin::parsing;
using namespace Qt::StringLiterals;

TEST(TaskSplitter, Pieces) {
    struct Case {
        QString text;
        QStringList tasks;
    };
    const Case cases[] = {
        {u"buy milk\neggs"_s, {u"buy milk"_s, u"eggs"_s}},
        {u"- buy milk"_s, {u"buy milk"_s}},
        {u"1. milk\n12) eggs\n123. flour"_s, {u"milk"_s, u"eggs"_s, u"123. flour"_s}},
        {u"-milk\n• eggs"_s, {u"-milk"_s, u"eggs"_s}},
        {u"- [ ] milk\n[x] eggs\n[X] flour\n[] salt"_s, {u"[ ] milk"_s, u"eggs"_s, u"flour"_s, u"salt"_s}},
        {u"milk; eggs"_s, {u"milk"_s, u"eggs"_s}},
        {u"milk;"_s, {u"milk"_s}},
        {u"milk\neggs; flour"_s, {u"milk"_s, u"eggs; flour"_s}},
        {u"buy milk\n\n"_s, {u"buy milk\n\n"_s}},
        {u";;;"_s, {u";;;"_s}},
        {u"   "_s, {}},
        {u" \n\t\n"_s, {}},
        {u"a\r\nb\u2028c"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {u"\t* ◦ nested"_s, {u"◦ nested"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(TaskSplitter::splitPieces(c.text), c.tasks);
    }
}

TEST(TaskSplitter, SplitKeepsTheFirstTen) {
    QStringList lines;
    for (int i = 1; i <= 12; ++i) lines.append(u"task %1"_s.arg(i));
    const QString text = lines.join(u'\n');
    EXPECT_EQ(TaskSplitter::splitPieces(text).size(), 12);
    EXPECT_EQ(TaskSplitter::split(text), lines.mid(0, 10));
}

TEST(TaskSplitter, WithoutAModelTheNoteSplitIsTheRuleSplit) {
    const auto tasks = SmartQuickAddParser::splitNote(u"call mom and dad"_s);
    ASSERT_TRUE(tasks.isDone());
    EXPECT_EQ(tasks.result(), QStringList{u"call mom and dad"_s});
}
