#pragma once

#include "panel/PanelModel.h"
#include "store/LocationProvider.h"

#include "store/LocationFake.h"
#include "store/ReminderStoreFixture.h"

#include <QStringList>
#include <QUrl>

#include <memory>

// The model of one opening of the panel over a started store: what it
// opens, how often it quits, what its closures were asked and the heights
// reported are noted. Typed lines are added to `commits` when a test sets
// it, else to the store.
class PanelModelFixture : public ReminderStoreFixture {
protected:
    using PanelModel = tavlin::panel::PanelModel;
    using PanelViewInputs = tavlin::panel::PanelViewInputs;
    using FocusTarget = tavlin::panel::FocusTarget;

    // A new model (the last one goes) over `inputs`, with the store, the
    // settings, the location and the closures filled in where they are
    // empty.
    PanelModel& makeModel(PanelViewInputs inputs = {}) {
        model.reset();
        if (!store) startedStore();
        if (!location)
            location = std::make_unique<tavlin::store::LocationProvider>(
                std::make_unique<tavlin::platform::FakeLocationManager>(
                    tavlin::platform::LocationAuthorization::notDetermined));
        inputs.store = store.get();
        inputs.settings = &settings;
        inputs.locationProvider = location.get();
        if (!inputs.onClose) inputs.onClose = [this] { heard << QStringLiteral("close"); };
        if (!inputs.onOpenPreferences) inputs.onOpenPreferences = [this] { heard << QStringLiteral("preferences"); };
        if (!inputs.onHeightChange) inputs.onHeightChange = [this](double height) { heights.push_back(height); };
        if (inputs.panelWidth == 0) inputs.panelWidth = 440;
        model = std::make_unique<PanelModel>(
            std::move(inputs),
            PanelModel::Environment{
                .wallClock = {[this] { return wallNow(); }, calendar},
                .clock = &clock,
                .openUrl = [this](const QUrl& url) { heard << QStringLiteral("open ") + url.toString(); },
                .openFolder =
                    [this](const QUrl& url) {
                        heard << QStringLiteral("folder ") + url.toString();
                        // The desktop's answer comes later, as the tests decide.
                        folderAnswers.emplace_back();
                        return folderAnswers.back().task();
                    },
                .quit = [this] { heard << QStringLiteral("quit"); },
                .reduceMotion = [this] { return reduceMotion; },
                .commitStore = commits});
        return *model;
    }

    QStringList take() { return std::exchange(heard, {}); }

    std::unique_ptr<tavlin::store::LocationProvider> location;
    std::unique_ptr<PanelModel> model;
    QStringList heard;
    std::vector<tavlin::platform::TaskCompletion<bool>> folderAnswers;  // one per folder asked for
    std::vector<double> heights;                                        // as reported
    bool reduceMotion = true;
    std::shared_ptr<tavlin::panel::CommitStore> commits;
};
