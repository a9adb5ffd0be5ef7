#pragma once

#include "panel/PanelDesktop.h"
#include "panel/PanelModel.h"
#include "panel/PanelWindow.h"

#include <QKeySequence>
#include <QRect>
#include <QStringList>

#include <chrono>
#include <memory>
#include <vector>

// Stand-ins for the panel's window and the desktop, driven by the tests.

// What one fake window went through; it outlives the window.
struct FakeWindowState {
    tavlin::panel::PanelWindow::Callbacks callbacks;
    tavlin::panel::PanelModel* model = nullptr;
    tavlin::panel::PanelViewInputs inputs;  // the model's
    QStringList calls;                      // the controller's calls, in order, by name
    double cornerRadius = 0;
    double contentHeight = 150;
    QRectF frame;
    std::vector<QRectF> frames;  // every frame set, animations' ends included
    bool visible = false;
    bool key = false;
    bool textHasFocus = false;
    bool discarded = false;
    std::chrono::milliseconds animationDuration{-1};
    std::function<void()> finishAnimation;
    // For the diagnostics: the focus, and the shortcut keys handed over.
    std::optional<tavlin::panel::PanelWindow::Responder> responder;
    QStringList shortcutKeys;
};

class FakePanelWindow final : public tavlin::panel::PanelWindow {
public:
    explicit FakePanelWindow(std::shared_ptr<FakeWindowState> state) : state_(std::move(state)) {}

    void setCallbacks(Callbacks callbacks) override { state_->callbacks = std::move(callbacks); }
    void setRootView(tavlin::panel::PanelModel& model) override {
        state_->calls << QStringLiteral("setRootView");
        state_->model = &model;
        state_->inputs = model.inputs();
    }
    void installContent(double cornerRadius) override {
        state_->calls << QStringLiteral("installContent");
        state_->cornerRadius = cornerRadius;
    }
    void layoutContent() override { state_->calls << QStringLiteral("layoutContent"); }
    double contentHeight() const override { return state_->contentHeight; }
    QRectF frame() const override { return state_->frame; }
    void setFrame(const QRectF& frame) override {
        state_->frame = frame;
        state_->frames.push_back(frame);
    }
    void animateFrame(const QRectF& frame, std::chrono::milliseconds duration,
                      std::function<void()> finished) override {
        state_->animationDuration = duration;
        // The state holds this: a shared pointer to it here would keep it forever.
        state_->finishAnimation = [state = state_.get(), frame, finished = std::move(finished)] {
            state->frame = frame;
            state->frames.push_back(frame);
            if (finished) finished();
        };
    }
    bool isVisible() const override { return state_->visible; }
    bool isKey() const override { return state_->key; }
    void makeKeyAndOrderFront() override {
        state_->calls << QStringLiteral("makeKeyAndOrderFront");
        state_->visible = state_->key = true;
    }
    void orderOut() override {
        state_->calls << QStringLiteral("orderOut");
        state_->visible = state_->key = false;
    }
    void invalidateShadow() override { state_->calls << QStringLiteral("invalidateShadow"); }
    bool textHasFocus() const override { return state_->textHasFocus; }
    void discard() override {
        state_->discarded = true;
        delete this;
    }
    std::optional<Responder> firstResponder() const override { return state_->responder; }
    void sendShortcutKey(int key, Qt::KeyboardModifiers modifiers, const QString&) override {
        state_->shortcutKeys << QKeySequence(key | modifiers).toString();
    }

private:
    std::shared_ptr<FakeWindowState> state_;
};

// Makes fake windows and keeps what each went through.
struct FakeWindows {
    std::vector<std::shared_ptr<FakeWindowState>> made;

    tavlin::panel::PanelWindowFactory factory() {
        return [this] {
            made.push_back(std::make_shared<FakeWindowState>());
            return tavlin::panel::PanelWindowHandle(new FakePanelWindow(made.back()));
        };
    }
    FakeWindowState& last() { return *made.back(); }
};

// Screens and a pointer given in Qt's coordinates.
class FakeDesktop final : public tavlin::panel::PanelDesktop {
public:
    struct Screen {
        QRect frame;
        QRect visible;
    };

    std::vector<Screen> screens;
    std::optional<std::size_t> mainScreen = 0;
    QPointF pointer;

    tavlin::panel::geometry::Desktop desktop() const override {
        using namespace tavlin::panel::geometry;
        Desktop desktop;
        for (const Screen& screen : screens)
            desktop.screens.push_back({fromQt(QRectF(screen.frame)), fromQt(QRectF(screen.visible))});
        desktop.mainScreen = mainScreen;
        desktop.pointer = fromQt(pointer);
        return desktop;
    }
};
