#include "rows/SearchField.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using tavlin::rows::SearchField;

namespace {

// A window with the field and another field after it; the keys that the
// search field lets go reach the window.
class Window : public QWidget {
public:
    Window() : field(new SearchField(10, this)), next(new QLineEdit(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addWidget(next);
    }
    SearchField* field;
    QLineEdit* next;
    std::vector<int> keysLetGo;

protected:
    void keyPressEvent(QKeyEvent* event) override { keysLetGo.push_back(event->key()); }
};

class SearchFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit()->setFocus();
        ASSERT_TRUE(edit()->hasFocus());
    }
    QLineEdit* edit() { return window.field->lineEdit(); }

    Window window;
};

}  // namespace

TEST_F(SearchFieldTest, DownNeverReachesTheFieldUpOnlyWhenTheOwnerLeavesIt) {
    QTest::keyClick(edit(), Qt::Key_Down);
    EXPECT_TRUE(window.keysLetGo.empty());  // no closure: dropped all the same

    int downs = 0;
    bool upUsed = false;
    window.field->setKeys({.onArrowDown = [&] { ++downs; }, .onArrowUp = [&] { return upUsed; }});
    QTest::keyClick(edit(), Qt::Key_Down);
    EXPECT_EQ(downs, 1);
    QTest::keyClick(edit(), Qt::Key_Up);
    EXPECT_EQ(window.keysLetGo, std::vector<int>{Qt::Key_Up});
    upUsed = true;
    edit()->setText(u"milk"_s);
    edit()->setCursorPosition(2);
    QTest::keyClick(edit(), Qt::Key_Up);
    EXPECT_EQ(window.keysLetGo, std::vector<int>{Qt::Key_Up});
    EXPECT_EQ(edit()->cursorPosition(), 2);
}

TEST_F(SearchFieldTest, TabStaysWhenTheOwnerTakesItAndMovesOnOtherwise) {
    bool tabUsed = true;
    int tabs = 0;
    window.field->setKeys({.onTab = [&] {
        ++tabs;
        return tabUsed;
    }});
    QTest::keyClick(edit(), Qt::Key_Tab);
    EXPECT_EQ(tabs, 1);
    EXPECT_TRUE(edit()->hasFocus());
    tabUsed = false;
    QTest::keyClick(edit(), Qt::Key_Tab);
    EXPECT_EQ(tabs, 2);
    EXPECT_TRUE(window.next->hasFocus());
}

TEST_F(SearchFieldTest, ReturnSubmitsOncePerPressAnEmptyFieldIncluded) {
    int submits = 0;
    window.field->setKeys({.onSubmit = [&] { ++submits; }});
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(submits, 1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s, true);
    QCoreApplication::sendEvent(edit(), &repeat);
    EXPECT_EQ(submits, 1);
    QTest::keyClick(edit(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(submits, 2);
    EXPECT_TRUE(window.keysLetGo.empty());

    QTest::keyClicks(edit(), u"abc"_s);
    EXPECT_EQ(edit()->text(), u"abc"_s);
    EXPECT_EQ(edit()->placeholderText(), u"Search or add a reminder"_s);
}
