#include "rows/LocationPreviewCard.h"

#include <gtest/gtest.h>
#include <QMenu>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace tavlin::rows;
using tavlin::parsing::LocationTrigger;
using tavlin::store::ResolvedLocation;
using MapSnapshot = tavlin::store::LocationPreview::MapSnapshot;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

TEST(LocationPreviewCard, ADragRoundsTheDistanceByItsOwnStepThenHoldsItWithinRange) {
    const QPointF center(200, 65);
    constexpr double pointsPerMeter = 0.5;  // exact in binary: the distances below stay as written
    struct Case {
        double metres;
        double radius;
    };
    const Case cases[] = {
        {0, 25},         // onto the pin
        {22, 25},        // rounds to 20, below the least
        {187.5, 190},    // a half goes up
        {197.5, 200},    // … and may reach the next step's range
        {199.9, 200},    // the step is judged before rounding
        {212.4, 200},    // 25 m steps from 200 m
        {987.5, 1000},   //
        {1049.9, 1000},  // 100 m steps from 1 km
        {1050, 1100},    //
        {9950, 10000},   // the most
        {25000, 10000},  //
    };
    for (const Case& c : cases) {
        const QPointF right = center + QPointF(c.metres * pointsPerMeter, 0);
        EXPECT_EQ(draggedRadius(right, center, pointsPerMeter), c.radius) << c.metres << " m to the right";
        // Only the distance counts, not the direction.
        const QPointF up = center - QPointF(0, c.metres * pointsPerMeter);
        EXPECT_EQ(draggedRadius(up, center, pointsPerMeter), c.radius) << c.metres << " m straight up";
    }
}

TEST(LocationPreviewCard, AMapWithoutAUsableScaleOrADistanceThatIsNoNumberGivesNoRadius) {
    const QPointF center(200, 65);
    for (const double pointsPerMeter : {0.0, -0.5, notANumber, infinity})
        EXPECT_EQ(draggedRadius(center + QPointF(40, 0), center, pointsPerMeter), std::nullopt) << pointsPerMeter;
    EXPECT_EQ(draggedRadius(QPointF(notANumber, 65), center, 0.5), std::nullopt);
    // A scale so small that the distance overflows.
    EXPECT_EQ(draggedRadius(center + QPointF(40, 0), center, std::numeric_limits<double>::denorm_min()), std::nullopt);
}

TEST(LocationPreviewCard, TheMenuOffersThePresetsAndARadiusThatIsNoneOfThem) {
    struct Case {
        double resolved;
        std::vector<double> options;
    };
    const Case cases[] = {
        {250, {100, 250, 500, 1000}},
        {300, {100, 250, 300, 500, 1000}},
        {25, {25, 100, 250, 500, 1000}},
        {2000, {100, 250, 500, 1000, 2000}},
    };
    for (const Case& c : cases) EXPECT_EQ(radiusOptions(c.resolved), c.options) << c.resolved;
}

TEST(LocationPreviewCard, DistancesReadInMetresBelowAKilometreAndInKilometresFromThere) {
    struct Case {
        double metres;
        QString text;
    };
    const Case cases[] = {
        {250, u"250 m"_s},   {999.9, u"999 m"_s},  {25, u"25 m"_s},     {0, u"0 m"_s},           {1000, u"1 km"_s},
        {1500, u"1.5 km"_s}, {2250, u"2.25 km"_s}, {10000, u"10 km"_s}, {notANumber, QString()}, {infinity, QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(distanceText(c.metres), c.text) << c.metres;
    EXPECT_EQ(radiusCaption(LocationTrigger::arrive, 250), u"Reminds on arrival · 250 m range"_s);
    EXPECT_EQ(radiusCaption(LocationTrigger::leave, 1500), u"Reminds when leaving · 1.5 km range"_s);
}

namespace {

// A card on its map, shown, 440 wide: the map area begins at (16, 4) and the
// place lies in its middle, at (220, 69) in the card, with 4 points to 16 m.
class LocationPreviewCardTest : public ::testing::Test {
protected:
    static constexpr double pointsPerMeter = 0.25;

    static MapSnapshot map(double scale = pointsPerMeter) {
        QImage image(408, 130, QImage::Format_RGB32);
        image.fill(Qt::white);
        return {.image = image, .center = QPointF(204, 65), .pointsPerMeter = scale};
    }
    static ResolvedLocation gym(double radius = 250) { return {u"Gym"_s, 52.37, 4.9, radius}; }
    static LocationPreviewCard::Inputs onMap(double radius = 250, double scale = pointsPerMeter) {
        return {.requestedName = u"gym"_s, .resolved = gym(radius), .snapshot = map(scale)};
    }

    void show(LocationPreviewCard::Inputs inputs) {
        card.setInputs(std::move(inputs));
        card.resize(440, card.heightForWidth(440));
        card.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    }

    QString caption() const {
        return card.radiusMenuButton()->isVisible() ? card.radiusMenuButton()->text() : QString();
    }
    // The menu's radii, the one with the check mark in brackets.
    QStringList menu() const {
        QStringList items;
        for (const QAction* action : card.radiusMenu()->actions())
            items << (action->icon().isNull() ? action->text() : u"["_s + action->text() + u"]"_s);
        return items;
    }

    LocationPreviewCard card;
    std::vector<double> reported;
    void SetUp() override {
        card.onRadiusChange = [this](double radius) { reported.push_back(radius); };
    }
};

}  // namespace

TEST_F(LocationPreviewCardTest, WhatTheCardShowsFollowsWhatItIsGiven) {
    struct Case {
        const char* name;
        LocationPreviewCard::Inputs inputs;
        bool overlay;
        QString caption;
        QString captionName;
    };
    const Case cases[] = {
        {"on its map", onMap(), true, u"Reminds on arrival · 250 m range"_s, u"Gym"_s},
        {"on leaving",
         {.requestedName = u"gym"_s, .resolved = gym(), .snapshot = map(), .trigger = LocationTrigger::leave},
         true,
         u"Reminds when leaving · 250 m range"_s,
         u"Gym"_s},
        {"found, its map still drawn",
         {.requestedName = u"gym"_s, .resolved = gym()},
         false,
         u"Reminds on arrival · 250 m range"_s,
         u"Gym"_s},
        {"being looked up", {.requestedName = u"gym"_s}, false, QString(), u"gym"_s},
        {"a map without a place: bare", {.requestedName = u"gym"_s, .snapshot = map()}, false, QString(), u"gym"_s},
        {"nothing matched, whatever else it holds",
         {.requestedName = u"gym"_s, .resolved = gym(), .snapshot = map(), .failed = true},
         false,
         QString(),
         u"Gym"_s},
        {"a map without a usable scale", onMap(250, notANumber), false, u"Reminds on arrival · 250 m range"_s,
         u"Gym"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show(c.inputs);
        EXPECT_EQ(card.overlay().has_value(), c.overlay);
        EXPECT_EQ(caption(), c.caption);
        EXPECT_EQ(card.captionName(), c.captionName);
        // The notice takes one line of text; the map its 130 points and the caption.
        if (c.inputs.failed) EXPECT_LT(card.heightForWidth(440), 40);
        else EXPECT_GT(card.heightForWidth(440), 4 + 130 + 6);
    }
}

TEST_F(LocationPreviewCardTest, TheRingIsTheRadiusAtTheMapsScaleAroundThePlace) {
    show(onMap(250));
    const RadiusOverlay overlay = *card.overlay();
    EXPECT_EQ(overlay.ring, QRectF(220 - 62.5, 69 - 62.5, 125, 125));
    EXPECT_EQ(overlay.handle, QPointF(282.5, 69));
    EXPECT_EQ(overlay.labelStart, QPointF(294.5, 69));
}

TEST_F(LocationPreviewCardTest, ADragReportsOnceAtItsEndWhileTheRingAndCaptionFollowIt) {
    show(onMap(250));
    EXPECT_EQ(menu(), (QStringList{u"100 m"_s, u"[250 m]"_s, u"500 m"_s, u"1 km"_s}));

    QTest::mousePress(&card, Qt::LeftButton, {}, QPoint(282, 69));
    // Straight up from the place, then up and to the left: the handle stays
    // level with the place, to its right.
    for (const auto& [to, radius] : {std::pair{QPoint(220, 69 - 100), 400.0}, std::pair{QPoint(160, 69 - 80), 400.0},
                                     std::pair{QPoint(220 + 169, 69), 675.0}}) {
        QTest::mouseMove(&card, to);
        EXPECT_EQ(card.dragRadius(), radius);
        EXPECT_EQ(card.overlay()->handle, QPointF(220 + radius * pointsPerMeter, 69));
        EXPECT_EQ(caption(), u"Reminds on arrival · "_s + distanceText(radius) + u" range"_s);
    }
    // The mark stays on the radius handed in.
    EXPECT_EQ(menu(), (QStringList{u"100 m"_s, u"[250 m]"_s, u"500 m"_s, u"1 km"_s}));
    EXPECT_TRUE(reported.empty());

    QTest::mouseRelease(&card, Qt::LeftButton, {}, QPoint(220 + 169, 69));
    EXPECT_EQ(reported, std::vector<double>{675});
    // Until the owner hands the new radius in, the ring shows the old one.
    EXPECT_EQ(card.dragRadius(), std::nullopt);
    EXPECT_EQ(caption(), u"Reminds on arrival · 250 m range"_s);
}

TEST_F(LocationPreviewCardTest, APressOnTheHandleAloneReportsTheRadiusAtThePress) {
    show(onMap(250));
    QTest::mouseClick(&card, Qt::LeftButton, {}, QPoint(282, 69));  // 62 points out: 248 m
    EXPECT_EQ(reported, std::vector<double>{250});
}

TEST_F(LocationPreviewCardTest, OnlyTheHandleTakesTheMouse) {
    show(onMap(250));
    for (const QPoint at : {QPoint(220, 69), QPoint(250, 69), QPoint(320, 69), QPoint(282, 90)}) {
        QTest::mousePress(&card, Qt::LeftButton, {}, at);
        QTest::mouseMove(&card, QPoint(350, 69));
        EXPECT_EQ(card.dragRadius(), std::nullopt) << at.x() << "," << at.y();
        QTest::mouseRelease(&card, Qt::LeftButton, {}, QPoint(350, 69));
    }
    EXPECT_TRUE(reported.empty());

    // Nor is there a handle on a map without a usable scale.
    for (const double scale : {0.0, notANumber}) {
        show(onMap(250, scale));
        QTest::mouseClick(&card, Qt::LeftButton, {}, QPoint(220, 69));
        QTest::mouseClick(&card, Qt::LeftButton, {}, QPoint(282, 69));
    }
    EXPECT_TRUE(reported.empty());
}

TEST_F(LocationPreviewCardTest, PickingARadiusInTheMenuReportsItAtOnce) {
    show(onMap(300));
    EXPECT_EQ(menu(), (QStringList{u"100 m"_s, u"250 m"_s, u"[300 m]"_s, u"500 m"_s, u"1 km"_s}));
    card.radiusMenu()->actions().at(4)->trigger();
    EXPECT_EQ(reported, std::vector<double>{1000});
    // The radius handed back moves the mark and the caption.
    card.setInputs(onMap(1000));
    EXPECT_EQ(menu(), (QStringList{u"100 m"_s, u"250 m"_s, u"500 m"_s, u"[1 km]"_s}));
    EXPECT_EQ(caption(), u"Reminds on arrival · 1 km range"_s);
}
