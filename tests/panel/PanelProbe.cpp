// panel_probe [--reminders DIR] [--status-rect X,Y,W,H] [--tray-notice]: the
// quick-add panel as Tavlin's shell drives it, for the tests on a real X
// server. The real store reads DIR; ctrl+alt+k toggles the panel as the hot
// key does; the tray item is the rectangle given (in Qt's desktop
// coordinates). With --tray-notice the first opening shows a modal notice
// titled "No tray", as the shell does when no tray shows its item: it
// prints "notice shown", "notice raised" when an opening brings it to the
// front again, and "notice answered".
//
// It prints "ready" when keys may be pressed, and reads commands, one a
// line, from standard input:
//   state    prints "state open=… visible=… key=… active=… anchor=…
//            frame=X,Y,W,H geometry=X,Y,W,H pinned=X,Y|none window=ID
//            translucent=… focus=field|list|none fieldFocused=…
//            resignKey=N rows=ID,… cursor=N|none selected=N,…
//            editing=ID|none query=TEXT": frame is what the controller asked for, geometry
//            what Qt has, active whether the window manager's active window
//            is the panel's, focus the panel model's, fieldFocused whether
//            the field has Qt's keyboard focus, rows the list's reminders in
//            order, cursor and selected the list's selection, editing the
//            reminder edited in its row, and the query
//            last, as typed
//   where ID prints "where ID X Y TOP": on the screen, a point on the text of
//            the list's row of reminder ID and the row's top
//   click    a click on the tray item (toggle from the tray)
//   toggle   the hot key's toggle
//   added    prints "added=TITLE|TITLE…": the titles of the reminders that
//            appeared in the store since "ready", in the order they came
//   capture TEXT
//            what the shell does with text captured from a selection: the
//            panel closes and opens afresh with TEXT ("\n" in it a line
//            break) at its screen-centred home
//   candidates
//            prints "candidates shown=… count=N|none add=Add_N enabled=…
//            focused=I|none plus=X,Y;X,Y… texts=TEXT|TEXT…": whether the
//            capture shows, the number found, the Add button, the
//            candidate whose field has the keyboard, the centre of each
//            candidate's plus on the screen, and the candidates' lines
//   activation TAG, geometry, typing
//            the panel's diagnostics: its activation line under TAG, its
//            geometry line, and the report of typing into it
//   preview FILE
//            writes a grab of the panel to FILE (PNG) and prints "preview
//            row=true|false chips=TEXT|TEXT…": whether the create row shows,
//            and its chips' texts, last
//   undo     prints "undo=TEXT": the undo bar's message, or "undo=none"
//            while the bar is hidden
//   undo-button prints "undo-button X Y": on the screen, the middle of the
//            undo bar's button, or "undo-button none"
//
// "ready" comes once the store has read the folder.

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "panel/PanelController.h"
#include "panel/widgets/CaptureViews.h"
#include "panel/widgets/CreateAreaView.h"
#include "panel/widgets/KeyPanel.h"
#include "panel/widgets/PanelWidget.h"
#include "panel/widgets/ReminderList.h"
#include "panel/widgets/UndoBar.h"
#include "platform/Geocoder.h"
#include "platform/Log.h"
#include "platform/MapSearch.h"
#include "platform/PowerEvents.h"
#include "platform/UserDefaults.h"
#include "platform/VCardContacts.h"
#include "platform/X11Windows.h"
#include "platform/eventstore/VdirEventStore.h"
#include "rows/CaptureCandidateRow.h"
#include "rows/CreateRow.h"
#include "rows/ElidedLabel.h"
#include "rows/ParseChips.h"
#include "rows/SearchField.h"
#include "rows/SymbolButton.h"
#include "store/LocationProvider.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <unistd.h>

#include <cstdio>

using namespace Qt::StringLiterals;
namespace KeyBindings = tavlin::KeyBindings;
using tavlin::panel::PanelController;

namespace {

void say(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

QString text(bool value) { return value ? u"true"_s : u"false"_s; }

QString numbers(std::initializer_list<double> values) {
    QStringList parts;
    for (const double value : values) parts << QString::number(value);
    return parts.join(u',');
}

std::optional<QRectF> rectangle(const QString& argument) {
    const QStringList parts = argument.split(u',');
    if (parts.size() != 4) return std::nullopt;
    return QRectF(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(), parts[3].toDouble());
}

// Where the list shows reminder `id`, on the screen.
QString where(const PanelController& controller, const QString& id) {
    auto* panel = dynamic_cast<tavlin::panel::widgets::KeyPanel*>(controller.panel());
    const auto* view = panel ? qobject_cast<const tavlin::panel::widgets::PanelWidget*>(panel->rootView()) : nullptr;
    if (!view) return u"where "_s + id + u" none"_s;
    const tavlin::panel::widgets::ReminderList* list = view->reminderList();
    const QRect row = list->visualRect(list->indexOfRow(id));
    if (!row.isValid()) return u"where "_s + id + u" none"_s;
    const QPoint text = list->viewport()->mapToGlobal(QPoint(row.left() + row.width() / 2, row.center().y()));
    const QPoint top = list->viewport()->mapToGlobal(row.topLeft());
    return u"where %1 %2 %3 %4"_s.arg(id).arg(text.x()).arg(text.y()).arg(top.y());
}

const tavlin::panel::widgets::PanelWidget* panelView(const PanelController& controller) {
    auto* panel = dynamic_cast<tavlin::panel::widgets::KeyPanel*>(controller.panel());
    return panel ? qobject_cast<const tavlin::panel::widgets::PanelWidget*>(panel->rootView()) : nullptr;
}

QString undo(const PanelController& controller) {
    const auto* view = panelView(controller);
    if (!view || !view->undoSlot()->isVisible()) return u"undo=none"_s;
    return u"undo="_s + view->undoBar()->message()->fullText();
}

QString undoButton(const PanelController& controller) {
    const auto* view = panelView(controller);
    if (!view || !view->undoSlot()->isVisible()) return u"undo-button none"_s;
    const QPushButton* button = view->undoBar()->undoButton();
    const QPoint middle = button->mapToGlobal(button->rect().center());
    return u"undo-button %1 %2"_s.arg(middle.x()).arg(middle.y());
}

QString state(const PanelController& controller, const tavlin::store::Settings& settings) {
    auto* panel = dynamic_cast<tavlin::panel::widgets::KeyPanel*>(controller.panel());
    QString line = u"state open="_s + text(panel);
    if (panel) {
        const QRectF frame = panel->frame();
        const QRect geometry = panel->geometry();
        line +=
            u" visible="_s + text(panel->isVisible()) + u" key="_s + text(panel->isKey()) + u" active="_s +
            text(tavlin::platform::isActiveX11Window(*panel->windowHandle())) + u" anchor="_s +
            (controller.anchor() == tavlin::panel::Anchor::screenCenter ? u"screenCenter"_s : u"statusItem"_s) +
            u" frame="_s + numbers({frame.x(), frame.y(), frame.width(), frame.height()}) + u" geometry="_s +
            numbers({double(geometry.x()), double(geometry.y()), double(geometry.width()), double(geometry.height())});
    }
    const auto pinned = settings.pinnedPanelTopLeft();
    line += u" pinned="_s + (pinned ? numbers({pinned->x, pinned->y}) : u"none"_s);
    if (panel)
        line += u" window="_s + QString::number(panel->winId()) + u" translucent="_s + text(panel->isTranslucent());
    const tavlin::panel::PanelModel* model = controller.model();
    const auto* view = panel ? qobject_cast<const tavlin::panel::widgets::PanelWidget*>(panel->rootView()) : nullptr;
    if (model && view) {
        const std::optional<tavlin::panel::FocusTarget> focus = model->focus();
        line += u" focus="_s +
                (!focus                                        ? u"none"_s
                 : *focus == tavlin::panel::FocusTarget::field ? u"field"_s
                                                               : u"list"_s) +
                u" fieldFocused="_s + text(QApplication::focusWidget() == view->searchField()->lineEdit());
    }
    line += u" resignKey="_s + QString::number(controller.resignKeyCount());
    if (model) {
        QStringList rows, selected;
        for (const tavlin::panel::RowItem& row : model->list().flatRows()) rows << row.id();
        for (const int index : model->rowSelection().selectedIndexes()) selected << QString::number(index);
        const std::optional<int> cursor = model->rowSelection().selectedIndex();
        line += u" rows="_s + rows.join(u',') + u" cursor="_s + (cursor ? QString::number(*cursor) : u"none"_s) +
                u" selected="_s + selected.join(u',') + u" editing="_s +
                model->inlineEdit().editingID().value_or(u"none"_s);
        line += u" query="_s + model->typedLine().query();
    }
    return line;
}

QString candidates(const PanelController& controller) {
    auto* panel = dynamic_cast<tavlin::panel::widgets::KeyPanel*>(controller.panel());
    const auto* view = panel ? qobject_cast<const tavlin::panel::widgets::PanelWidget*>(panel->rootView()) : nullptr;
    const tavlin::panel::widgets::CaptureViews* capture = view ? view->captureViews() : nullptr;
    if (!capture) return u"candidates shown=false"_s;
    QString focused = u"none"_s;
    QStringList plus, texts;
    const std::vector<tavlin::rows::CaptureCandidateRow*> rows = capture->rows();
    for (std::size_t at = 0; at < rows.size(); ++at) {
        if (QApplication::focusWidget() == rows[at]->field()) focused = QString::number(at);
        const QPoint centre = rows[at]->addButton()->mapToGlobal(rows[at]->addButton()->rect().center());
        plus << numbers({double(centre.x()), double(centre.y())});
        texts << rows[at]->field()->text();
    }
    return u"candidates shown="_s + text(view->captureContent()->isVisible()) + u" count="_s +
           (capture->count()->isVisible() ? capture->count()->text() : u"none"_s) + u" add="_s +
           capture->addButton()->text().replace(u' ', u'_') + u" enabled="_s + text(capture->addButton()->isEnabled()) +
           u" focused="_s + focused + u" plus="_s + plus.join(u';') + u" texts="_s + texts.join(u'|');
}

// The create row as the panel shows it, and a grab of the panel in `file`.
QString preview(const PanelController& controller, const QString& file) {
    auto* panel = dynamic_cast<tavlin::panel::widgets::KeyPanel*>(controller.panel());
    const auto* view = panel ? qobject_cast<const tavlin::panel::widgets::PanelWidget*>(panel->rootView()) : nullptr;
    if (!view) return u"preview row=false chips="_s;
    panel->grab().save(file, "PNG");
    const tavlin::rows::CreateRow& row = *view->createArea()->createRow();
    QStringList chips;
    for (const tavlin::rows::ParseChip& chip : row.chipsView()->chips()) chips << chip.text;
    return u"preview row="_s + text(row.isVisible()) + u" chips="_s + chips.join(u'|');
}

}  // namespace

int main(int argc, char** argv) {
    tavlin::platform::installLogHandler();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    const auto argumentOf = [&](const QString& name) {
        const qsizetype at = arguments.indexOf(name);
        return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
    };

    tavlin::platform::UserDefaults defaults;
    tavlin::store::Settings settings(defaults);
    tavlin::platform::VdirEventStore::Options options;
    if (const QString folder = argumentOf(u"--reminders"_s); !folder.isEmpty()) options.roots = {folder};
    tavlin::platform::VdirEventStore eventStore(options);
    tavlin::platform::SessionPowerEvents power;
    tavlin::platform::VCardContacts contacts;
    tavlin::platform::UnavailableMapSearch mapSearch;
    tavlin::platform::UnavailableGeocoder geocoder;
    tavlin::store::PlaceResolver places(contacts, mapSearch, geocoder);
    tavlin::store::ReminderStore store(eventStore, settings, power, places);
    tavlin::store::LocationProvider location;
    store.start();
    // The reminders there at the start are no news.
    const tavlin::platform::Task<> loaded = store.refresh();
    while (!loaded.isDone()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QSet<QString> known;
    for (const tavlin::platform::Reminder& reminder : store.reminders()) known.insert(reminder.identifier);
    QStringList added;
    QObject::connect(&store, &tavlin::store::ReminderStore::remindersChanged, [&] {
        for (const tavlin::platform::Reminder& reminder : store.reminders())
            if (!known.contains(reminder.identifier)) {
                known.insert(reminder.identifier);
                added << reminder.title;
            }
    });

    PanelController controller(store, settings, location, {.makeWindow = tavlin::panel::widgets::KeyPanel::factory()});
    const std::optional<QRectF> trayItem = rectangle(argumentOf(u"--status-rect"_s));
    controller.shellHooks().statusButtonProvider = [trayItem] { return trayItem; };
    bool noticePending = arguments.contains(u"--tray-notice"_s);
    QPointer<QMessageBox> notice;
    controller.shellHooks().showOverflowAlert = [&] {
        if (notice) {
            notice->raise();
            notice->activateWindow();
            return say(u"notice raised"_s);
        }
        if (!std::exchange(noticePending, false)) return;
        QMessageBox alert(QMessageBox::Information, u"No tray"_s, u"No tray"_s, QMessageBox::Ok);
        alert.setWindowFlag(Qt::WindowStaysOnTopHint);
        QTimer::singleShot(0, &alert, [&alert] {
            alert.raise();
            alert.activateWindow();
            say(u"notice shown"_s);
        });
        notice = &alert;
        alert.exec();
        say(u"notice answered"_s);
    };

    KeyBindings::Module keys(defaults, tavlin::platform::makeSystemHotKeyBackend());
    const KeyBindings::Name& name = KeyBindings::Name::togglePanel;
    KeyBindings::onKeyUp(name, [&] { controller.toggle(true); });
    using namespace KeyBindings::CarbonModifier;
    name.setShortcut(KeyBindings::Shortcut(KeyBindings::Key::k.rawValue, control | option));

    QSocketNotifier input(0, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        // Whatever has arrived, which may be several commands.
        char buffer[4096];
        const ssize_t count = ::read(0, buffer, sizeof buffer);
        if (count <= 0) {
            input.setEnabled(false);
            return QApplication::quit();
        }
        pending.append(buffer, count);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray command = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            if (command == "state") say(state(controller, settings));
            else if (command.startsWith("where ")) say(where(controller, QString::fromUtf8(command.mid(6))));
            else if (command == "click") controller.toggle(false);
            else if (command == "toggle") controller.toggle(true);
            else if (command == "added") say(u"added="_s + added.join(u'|'));
            else if (command.startsWith("capture ")) {
                controller.close();
                controller.open(QString::fromUtf8(command.mid(8)).replace(u"\\n"_s, u"\n"_s),
                                tavlin::panel::Anchor::screenCenter);
            } else if (command.startsWith("activation "))
                controller.activationState(QString::fromUtf8(command.mid(11)));
            else if (command == "geometry") controller.printGeometry();
            else if (command == "candidates") say(candidates(controller));
            else if (command == "typing") tavlin::platform::detach(controller.typeAndReport());
            else if (command.startsWith("preview "))
                say(preview(controller, QString::fromUtf8(command.mid(8).trimmed())));
            else if (command == "undo") say(undo(controller));
            else if (command == "undo-button") say(undoButton(controller));
            else say(u"unknown command: "_s + QString::fromUtf8(command));
        }
    });
    say(u"ready"_s);
    return QApplication::exec();
}
