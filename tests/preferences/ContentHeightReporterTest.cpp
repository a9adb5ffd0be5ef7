#include "preferences/ContentHeightReporter.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

using tavlin::preferences::ContentHeightReporter;
using namespace Qt::StringLiterals;

namespace {

// A tab's form: a title and a caption that wraps, in a frameless scroll
// area whose viewport is 460 px wide.
class ContentHeightReporterTest : public ::testing::Test {
protected:
    ContentHeightReporterTest() {
        area.setFrameShape(QFrame::NoFrame);
        area.setWidgetResizable(true);
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        layout->addWidget(new QLabel(u"Launch at login"_s));
        caption = new QLabel(u"Short."_s);
        caption->setWordWrap(true);
        layout->addWidget(caption);
        layout->addStretch(1);
        area.setWidget(content);
        area.resize(460, 200);
    }

    // Lets posted layout requests arrive, and what they post in turn: a
    // few rounds of what is posted, however long each takes.
    void settle() {
        for (int round = 0; round < 4; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    // A tab's form sets margins around its content.
    struct ScrollArea : QScrollArea {
        using QScrollArea::setViewportMargins;
    } area;
    QLabel* caption = nullptr;
    std::vector<int> reports;
    ContentHeightReporter reporter{area, [this](int height) { reports.push_back(height); }};
};

}  // namespace

TEST_F(ContentHeightReporterTest, AWrappingCaptionGrowsTheReportedHeight) {
    area.show();
    settle();
    ASSERT_EQ(area.viewport()->width(), 460);
    ASSERT_EQ(reports.size(), 1u) << "the first measure";
    EXPECT_EQ(reports.back(), area.widget()->heightForWidth(460));

    caption->setText(QString(u"Tavlin needs to be allowed to show notifications. "_s).repeated(6));
    settle();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_GT(reports.back(), reports.front() + 2 * caption->fontMetrics().height()) << "several lines more";
    EXPECT_EQ(reports.back(), reporter.measure());
}

TEST_F(ContentHeightReporterTest, EqualValuesAreReportedOnceAndMarginsCount) {
    area.show();
    settle();
    ASSERT_EQ(reports.size(), 1u);
    const int first = reports.front();

    caption->setText(u"Other."_s);  // same height
    area.resize(460, 260);          // same width
    settle();
    EXPECT_EQ(reports.size(), 1u);

    area.setViewportMargins(0, 10, 0, 6);
    settle();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports.back(), first + 16);
}
