#pragma once

#include "panel/PanelController.h"
#include "store/LocationProvider.h"

#include "PanelFakes.h"
#include "PanelLog.h"
#include "store/LocationFake.h"
#include "store/ReminderStoreFixture.h"

#include <QStringList>

#include <memory>

// A controller over a started store and fake windows, on one 1440 × 900
// screen with a 25-high bar at its top and the tray item in it.
class PanelControllerFixture : public ReminderStoreFixture {
protected:
    using PanelController = tavlin::panel::PanelController;
    using Anchor = tavlin::panel::Anchor;

    PanelControllerFixture() {
        desktop->screens = {{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}};
        desktop->pointer = QPointF(300, 400);
    }

    PanelController& makeController() {
        if (!store) startedStore();
        auto manager = std::make_unique<tavlin::platform::FakeLocationManager>(locationStatus);
        locationManager = manager.get();
        location = std::make_unique<tavlin::store::LocationProvider>(std::move(manager));
        controller = std::make_unique<PanelController>(
            *store, settings, *location,
            PanelController::Environment{
                .makeWindow = windows.factory(), .desktop = desktop, .clock = &clock, .reduceMotion = [this] {
                    return reduceMotion;
                }});
        controller->shellHooks().statusButtonProvider = [this] { return trayItem; };
        return *controller;
    }

    FakeWindowState& window() { return windows.last(); }
    bool panelOpen() const { return controller->panel() != nullptr; }
    QPointF pinned() const {
        const auto point = settings.pinnedPanelTopLeft();
        return point ? QPointF(point->x, point->y) : QPointF(-1, -1);
    }

    std::shared_ptr<FakeDesktop> desktop = std::make_shared<FakeDesktop>();
    std::optional<QRectF> trayItem = QRectF(700, 1, 24, 22);
    tavlin::platform::LocationAuthorization locationStatus = tavlin::platform::LocationAuthorization::authorizedAlways;
    tavlin::platform::FakeLocationManager* locationManager = nullptr;
    std::unique_ptr<tavlin::store::LocationProvider> location;
    FakeWindows windows;
    bool reduceMotion = false;
    std::unique_ptr<PanelController> controller;
};
