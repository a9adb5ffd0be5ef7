#pragma once

#include "preferences/SettingsForm.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tavlin::preferences {

class PreferencesViewModel;

// The settings' AI tools tab: the switch of the local server for AI
// assistants, where it listens (or why it does not), the setup prompt to
// copy, and, as the last section, the version with the update button.
class MCPTab : public SettingsForm {
    Q_OBJECT

public:
    explicit MCPTab(PreferencesViewModel& model, QWidget* parent = nullptr);

    QCheckBox& enabled() const { return *enabled_; }
    QLabel& endpoint() const { return *endpoint_; }
    QLabel& problem() const { return *problem_; }
    QPushButton& copySetupPrompt() const { return *copy_; }
    QLabel& description() const { return *description_; }
    QLabel& version() const { return *version_; }
    // Nothing when the application has no update check.
    QPushButton* checkForUpdates() const { return checkForUpdates_; }

private:
    void render();
    void copy();

    PreferencesViewModel& model_;
    QCheckBox* enabled_;
    QLabel* endpoint_;
    QLabel* problem_;
    QPushButton* copy_;
    QLabel* description_;
    QLabel* version_;
    QPushButton* checkForUpdates_ = nullptr;
};

}  // namespace tavlin::preferences
