// The pieces of the settings: a list's row, the shortcut field and the
// colour-style picker.

#include "Gallery.h"

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "preferences/ListPreferenceRow.h"
#include "preferences/MenuBarColorStylePicker.h"
#include "preferences/ShortcutRecorderField.h"
#include "support/FakeHotKeyBackend.h"
#include "support/FakeSegmentRenderer.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTemporaryDir>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

namespace KeyBindings = tavlin::KeyBindings;
using preferences::ListPreferenceRow;

// A settings form's background with a margin around the view.
QImage onForm(QWidget* view, Scheme scheme, int width) {
    QWidget form;
    form.setPalette(palette(scheme));
    form.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&form);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->addWidget(view);
    return grab(form, QSize(width, form.sizeHint().height()));
}

Shot row(const char* name, bool included, bool isDefault, bool cannotExclude, bool hovered) {
    return {u"preferences_list_row_"_s + QLatin1StringView(name), [=] {
                auto* row = new ListPreferenceRow(u"Groceries"_s, included, isDefault, cannotExclude);
                if (hovered) {
                    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
                    QApplication::sendEvent(row, &enter);
                }
                return onForm(row, Scheme::light, 420);
            }};
}

// The field for the panel's Name, with the shortcut given stored, in a
// module of its own.
Shot field(const char* name, std::optional<KeyBindings::Shortcut> shortcut, bool recording) {
    return {u"preferences_shortcut_field_"_s + QLatin1StringView(name), [=] {
                QTemporaryDir folder;
                platform::UserDefaults defaults(folder.filePath(u"settings.json"_s));
                KeyBindings::Module module(defaults, std::make_unique<FakeHotKeyBackend>());
                KeyBindings::setShortcut(shortcut, KeyBindings::Name::togglePanel);
                auto* field = new preferences::ShortcutRecorderField(KeyBindings::Name::togglePanel);
                field->recorder().load();
                if (recording) field->recorder().toggleRecording();
                QImage image = onForm(field, Scheme::light, 300);
                return image;
            }};
}

Shot picker(bool quieter, Scheme scheme) {
    const QString name = u"preferences_color_style_"_s + (quieter ? u"quiet_"_s : u"vivid_"_s) +
                         (scheme == Scheme::light ? u"light"_s : u"dark"_s);
    return {name, [=] {
                static preferences::DesktopPicture noPicture{QStringList{}};
                auto* view =
                    new preferences::MenuBarColorStylePicker(testing::FakeSegmentRenderer().renderer(), noPicture);
                view->setQuieter(quieter);
                return onForm(view, scheme, 460);
            }};
}

const Shots shots{[] {
    using KeyBindings::Key;
    namespace Carbon = KeyBindings::CarbonModifier;
    const KeyBindings::Shortcut controlShiftSpace(Key::space.rawValue, Carbon::control | Carbon::shift);
    return std::vector<Shot>{
        row("default", true, true, false, false),
        row("hovered", true, false, false, true),
        row("excluded", false, false, false, true),
        row("disabled", true, false, true, false),
        field("empty", std::nullopt, false),
        field("set", controlShiftSpace, false),
        field("recording", controlShiftSpace, true),
        picker(false, Scheme::light),
        picker(true, Scheme::light),
        picker(false, Scheme::dark),
        picker(true, Scheme::dark),
    };
}};

}  // namespace

}  // namespace tavlin::gallery
