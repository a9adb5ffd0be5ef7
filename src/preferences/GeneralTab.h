#pragma once

#include "preferences/SettingsForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTimeEdit;

namespace tavlin::preferences {

class MenuBarColorStylePicker;
class PreferencesViewModel;
class ShortcutRecorderField;

// The settings' general tab: the tray's two counts and their colours, the
// panel's shortcut, the daily summary and launch at login. Its controls
// follow the settings, whoever changes them (the tray's menu switches the
// colour style too).
class GeneralTab : public SettingsForm {
    Q_OBJECT

public:
    explicit GeneralTab(PreferencesViewModel& model, QWidget* parent = nullptr);

    QComboBox& firstCount() const { return *firstCount_; }
    QComboBox& secondCount() const { return *secondCount_; }
    QCheckBox& showCompleted() const { return *showCompleted_; }
    MenuBarColorStylePicker& colorStyle() const { return *colorStyle_; }
    ShortcutRecorderField& shortcut() const { return *shortcut_; }
    QCheckBox& dailySummary() const { return *dailySummary_; }
    QTimeEdit& time() const { return *time_; }
    QLabel& notificationsCaption() const { return *notificationsCaption_; }
    QCheckBox& launchAtLogin() const { return *launchAtLogin_; }
    QLabel& loginItemCaption() const { return *loginItemCaption_; }
    // Shown where the desktop gives no global shortcut.
    QLabel& noGlobalShortcutCaption() const { return *noGlobalShortcutCaption_; }

private:
    void render();

    PreferencesViewModel& model_;
    QComboBox* firstCount_;
    QComboBox* secondCount_;
    QCheckBox* showCompleted_;
    MenuBarColorStylePicker* colorStyle_;
    ShortcutRecorderField* shortcut_;
    QCheckBox* dailySummary_;
    QTimeEdit* time_;
    QLabel* notificationsCaption_;
    QCheckBox* launchAtLogin_;
    QLabel* loginItemCaption_;
    QLabel* noGlobalShortcutCaption_;
};

}  // namespace tavlin::preferences
