#include "preferences/GeneralTab.h"

#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "platform/LoginItem.h"
#include "preferences/MenuBarColorStylePicker.h"
#include "preferences/PreferencesViewModel.h"
#include "preferences/ShortcutRecorderField.h"
#include "store/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimeEdit>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

using store::CountScope;

// The autostart folder as the user knows it: under ~ when it is.
QString loginItemFolder() {
    const QString folder = QFileInfo(platform::LoginItem::standardEntryPath()).absolutePath();
    const QString home = QDir::homePath();
    return folder.startsWith(home + u'/') ? u"~"_s + folder.sliced(home.size()) : folder;
}

// Fills a picker with `options` and selects `current`, without a word to
// whoever listens: refilling is no choice of the user's.
void fill(QComboBox& picker, const std::vector<CountScope>& options, CountScope current) {
    const QSignalBlocker quiet(picker);
    picker.clear();
    for (const CountScope scope : options) {
        picker.addItem(PreferencesViewModel::scopeTitle(scope), static_cast<int>(scope));
        if (scope == current) picker.setCurrentIndex(picker.count() - 1);
    }
}

CountScope scopeAt(const QComboBox& picker, int index) {
    return static_cast<CountScope>(picker.itemData(index).toInt());
}

SegmentRenderer orBlank(SegmentRenderer renderer) {
    if (renderer) return renderer;
    return [](const std::vector<CountSegment>&, bool) { return QImage(); };
}

}  // namespace

GeneralTab::GeneralTab(PreferencesViewModel& model, QWidget* parent)
    : SettingsForm(parent),
      model_(model),
      firstCount_(new QComboBox),
      secondCount_(new QComboBox),
      colorStyle_(new MenuBarColorStylePicker(orBlank(model.services().renderSegments))),
      shortcut_(new ShortcutRecorderField(KeyBindings::Name::togglePanel)),
      time_(new QTimeEdit) {
    store::Settings& settings = model_.services().settings;

    FormSection* menuBar = addSection(u"Tray"_s);
    menuBar->addRow(u"First count"_s, firstCount_);
    menuBar->addRow(u"Second count"_s, secondCount_);
    showCompleted_ = menuBar->addSwitch(u"Show completed today"_s);
    menuBar->addWidget(colorStyle_);
    for (QComboBox* picker : {firstCount_, secondCount_}) picker->setMinimumWidth(160);
    connect(firstCount_, &QComboBox::currentIndexChanged, this,
            [this, &settings](int index) { settings.setPrimaryScope(scopeAt(*firstCount_, index)); });
    connect(secondCount_, &QComboBox::currentIndexChanged, this,
            [this, &settings](int index) { settings.setSecondaryScope(scopeAt(*secondCount_, index)); });
    connect(showCompleted_, &QCheckBox::clicked, &settings, &store::Settings::setShowCompletedInMenuBar);
    connect(colorStyle_, &MenuBarColorStylePicker::quieterWritten, &settings, &store::Settings::setMenuBarQuietColors);

    FormSection* shortcut = addSection(u"Shortcut"_s);
    shortcut->addRow(u"Open Tavlin"_s, shortcut_);
    noGlobalShortcutCaption_ = shortcut->addCaption(
        u"This desktop gives Tavlin no global shortcut: bind “gapplication launch com.quorvandell.tavlin” to a key "
        u"in its keyboard settings."_s);
    connect(&KeyBindings::Module::instance(), &KeyBindings::Module::globalShortcutsDidChange, this,
            &GeneralTab::render);

    FormSection* summary = addSection(u"Daily summary"_s);
    dailySummary_ = summary->addSwitch(u"Send a daily summary"_s);
    time_->setDisplayFormat(u"HH:mm"_s);
    summary->addRow(u"Time"_s, time_);
    notificationsCaption_ =
        summary->addCaption(u"Notifications are turned off for Tavlin in Settings → Notifications."_s);
    connect(dailySummary_, &QCheckBox::clicked, this, [this](bool on) {
        model_.setDailySummaryEnabled(on);
        render();  // on only once allowed: the switch shows the setting meanwhile
    });
    connect(time_, &QTimeEdit::timeChanged, &model_, &PreferencesViewModel::setDailySummaryTime);

    FormSection* login = addSection();
    launchAtLogin_ = login->addSwitch(u"Launch at login"_s);
    loginItemCaption_ = login->addCaption(
        u"Couldn’t change the login item. Check that Tavlin may write to %1, then try again."_s.arg(loginItemFolder()));
    connect(launchAtLogin_, &QCheckBox::clicked, &model_, &PreferencesViewModel::setLaunchAtLogin);

    for (auto changed : {&store::Settings::primaryScopeChanged, &store::Settings::secondaryScopeChanged,
                         &store::Settings::showCompletedInMenuBarChanged, &store::Settings::menuBarQuietColorsChanged,
                         &store::Settings::dailySummaryEnabledChanged, &store::Settings::dailySummaryMinutesChanged})
        connect(&settings, changed, this, &GeneralTab::render);
    connect(&model_, &PreferencesViewModel::changed, this, &GeneralTab::render);
    render();
}

void GeneralTab::render() {
    const store::Settings& settings = model_.services().settings;
    fill(*firstCount_, model_.primaryScopeOptions(), settings.primaryScope());
    fill(*secondCount_, model_.secondaryScopeOptions(), settings.secondaryScope());
    showCompleted_->setChecked(settings.showCompletedInMenuBar());
    colorStyle_->setQuieter(settings.menuBarQuietColors());

    const bool summaryOn = settings.dailySummaryEnabled();
    dailySummary_->setChecked(summaryOn);
    FormSection::rowOf(time_)->setVisible(summaryOn);
    {
        const QSignalBlocker quiet(time_);
        time_->setTime(model_.dailySummaryTime());
    }
    FormSection::rowOf(notificationsCaption_)->setVisible(model_.notificationsDenied());

    FormSection::rowOf(noGlobalShortcutCaption_)->setVisible(!KeyBindings::hasGlobalShortcuts());

    launchAtLogin_->setChecked(model_.launchAtLogin());
    FormSection::rowOf(loginItemCaption_)->setVisible(model_.launchAtLoginError());
}

}  // namespace tavlin::preferences
