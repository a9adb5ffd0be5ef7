#include "devmodes/SharedRoutines.h"

#include "devmodes/Output.h"
#include "platform/Calendar.h"
#include "platform/DateFormatter.h"
#include "platform/DesktopServices.h"
#include "platform/LanguageModel.h"
#include "platform/Text.h"
#include "store/QuickAdd.h"
#include "store/ReminderStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUuid>

#include <algorithm>
#include <chrono>

#include <unistd.h>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;

QString stringPrefix(const QString& text, qsizetype count) {
    const std::vector<platform::TextRange> characters = platform::graphemeRanges(text);
    if (static_cast<qsizetype>(characters.size()) <= count) return text;
    return count <= 0 ? QString() : text.left(characters[static_cast<size_t>(count) - 1].end());
}

QString dateComponentsText(const platform::DateComponents& c) {
    QString text = u"%1-%2-%3"_s.arg(c.year.value_or(0)).arg(c.month.value_or(0)).arg(c.day.value_or(0));
    if (c.hour)
        text += u" %1:%2"_s.arg(*c.hour, 2, 10, QLatin1Char('0')).arg(c.minute.value_or(0), 2, 10, QLatin1Char('0'));
    return text;
}

QString dateDescription(platform::Date date) {
    static const platform::DateFormatter format(u"yyyy-MM-dd HH:mm:ss '+0000'"_s, platform::Locale::posix(),
                                                platform::TimeZone::gmt());
    return format.string(date);
}

QString boolText(bool value) { return value ? u"true"_s : u"false"_s; }

QString newUUIDString() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

parsing::ParsedQuickAdd committedReading(const QString& text, const QStringList& listNames, bool editing,
                                         const std::optional<QString>& previousDueText,
                                         const parsing::ParserVocabulary& vocabulary) {
    return store::QuickAdd::committedReading(text, listNames, platform::Date::now(), platform::Calendar::current(),
                                             editing, previousDueText, vocabulary);
}

platform::Task<> waitFor(platform::Clock::Duration duration) {
    [[maybe_unused]] const bool slept = co_await platform::sleep(duration);
}

platform::Task<> waitForSeconds(double seconds) {
    // Past a few hundred years the clock's nanoseconds run out; a wait that
    // long has no end anyone would see.
    constexpr double longestWait = 1e9;
    co_await waitFor(std::chrono::duration_cast<platform::Clock::Duration>(
        std::chrono::duration<double>(std::clamp(seconds, 0.0, longestWait))));
}

platform::Task<> waitForModelAvailability(platform::Clock::Duration limit) {
    constexpr platform::Clock::Duration step = std::chrono::milliseconds(20);
    for (platform::Clock::Duration waited{0};
         waited < limit && !platform::LanguageModel::systemDefault().isAvailabilityKnown(); waited += step) {
        co_await waitFor(step);
    }
}

platform::Task<> waitBeforeStarting() { co_await waitFor(std::chrono::seconds(2)); }

QString lastErrorText(const store::ReminderStore& store, const QString& word) {
    const std::optional<store::ReminderStore::Error>& error = store.lastError();
    return error ? store::ReminderStore::description(*error) : word;
}

QStringList listNames(const store::ReminderStore& store) {
    QStringList names;
    for (const platform::ReminderList& list : store.lists()) names << list.title;
    return names;
}

std::optional<QString> listTitle(const store::ReminderStore& store, const platform::Reminder& reminder) {
    const std::optional<platform::ReminderList> list = store.listWithIdentifier(reminder.listIdentifier);
    return list ? std::optional(list->title) : std::nullopt;
}

std::optional<platform::Reminder> reminderWithIdentifier(const std::vector<platform::Reminder>& reminders,
                                                         const QString& identifier) {
    const auto found = std::find_if(reminders.begin(), reminders.end(),
                                    [&](const platform::Reminder& r) { return r.identifier == identifier; });
    return found == reminders.end() ? std::nullopt : std::optional(*found);
}

QString parentProcessDescription() { return processDescription(::getppid()); }

QString processDescription(qint64 processId) {
    QFile comm(u"/proc/%1/comm"_s.arg(processId));
    QString name;
    if (comm.open(QIODevice::ReadOnly)) name = QString::fromUtf8(comm.readAll()).trimmed();
    if (name.isEmpty()) name = u"non-GUI process"_s;
    return u"%1 (ppid %2)"_s.arg(name).arg(processId);
}

QStringList windowOrderLines(const std::vector<platform::WindowRecord>& windows, qint64 ownPid) {
    constexpr qsizetype mostLines = 14;
    QStringList lines{u"window-server z-order (front to back, layer 0 + all Tavlin):"_s};
    for (const platform::WindowRecord& window : windows) {
        if (!window.mapped || window.hidden || window.type == platform::WindowRecord::Type::desktop) continue;
        const QString owner = platform::windowOwner(window, ownPid);
        const int layer = platform::windowLayer(window);
        if (layer != 0 && owner != platform::ownOwnerName) continue;
        // Pieces joined, not arguments filled in: a window's name may hold "%1".
        lines << u"  "_s + QString::number(lines.size() - 1) + u": "_s + owner + u" \u201C"_s +
                     window.name.value_or(QString()) + u"\u201D layer="_s + QString::number(layer);
        if (lines.size() > mostLines) break;
    }
    return lines;
}

void printWindowOrder() {
    for (const QString& line : windowOrderLines(platform::windowsFrontToBack(), QCoreApplication::applicationPid()))
        printLine(line);
}

void openRemindersApp() {
    if (const QUrl folder = platform::remindersFolderUrl(); folder.isValid())
        platform::detach(platform::openFolder(folder));
}

platform::Task<> handActivationToFileManager() {
    const QUrl home = QUrl::fromLocalFile(QDir::homePath());
    [[maybe_unused]] const bool opened = co_await platform::openFolder(home);
}

}  // namespace tavlin::devmodes
