#include "devmodes/MoveListTest.h"

#include "devmodes/Output.h"
#include "devmodes/ParseComparisons.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/ReminderEditing.h"
#include "parsing/TextHelpers.h"

#include <algorithm>
#include <map>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using parsing::ParsedQuickAdd;
using platform::Reminder;
using platform::ReminderList;
using platform::StoreError;

namespace {

const QString kStoreErrorDomain = u"com.quorvandell.tavlin.store"_s;

// The created lines' endings: a bare title, a timed due date (which brings
// an alarm), and that with a weekly rule.
const QString kSuffixes[] = {QString(), u" tomorrow 10:00"_s, u" tomorrow 10:00 every week"_s};

QString userInfoText(const std::map<QString, QString>& userInfo) {
    QStringList entries;
    for (const auto& [key, value] : userInfo) entries << key + u'=' + value;
    return u"{"_s + entries.join(u", "_s) + u"}"_s;
}

QString errorHead(const QString& domain, int code, const QString& description) {
    return domain + u'#' + QString::number(code) + u' ' + description;
}

QString errorHead(const StoreError& error) { return errorHead(error.domain, error.code, error.description); }

QString quoted(const QString& text) { return u"\""_s + text + u"\""_s; }

QString listLine(const ReminderList& list, const std::optional<ReminderList>& defaultList) {
    const QString source =
        list.source ? list.source->title + u'/' + QString::number(list.source->sourceType) : u"?/-1"_s;
    return u"list "_s + quoted(list.title) + u" id="_s + list.identifier + u" source="_s + source + u" mutable="_s +
           boolText(list.allowsContentModifications) + u" default="_s +
           boolText(defaultList && defaultList->identifier == list.identifier);
}

struct TargetRow {
    QString label;
    std::optional<ReminderList> list;
};

// The first writable list other than home in home's account, and the first
// in another; absent accounts count as one.
std::vector<TargetRow> targetRows(const std::vector<ReminderList>& lists, const ReminderList& home) {
    const auto firstCandidate = [&](bool sameSource) -> std::optional<ReminderList> {
        const auto found = std::find_if(lists.begin(), lists.end(), [&](const ReminderList& list) {
            return list.identifier != home.identifier && list.allowsContentModifications &&
                   (list.source == home.source) == sameSource;
        });
        return found == lists.end() ? std::nullopt : std::optional(*found);
    };
    return {{u"same-source"_s, firstCandidate(true)}, {u"other-source"_s, firstCandidate(false)}};
}

// A count, or -1 for a reminder that was not found.
QString countText(std::optional<std::size_t> count) { return count ? QString::number(*count) : u"-1"_s; }

// A plain reminder moved from home to the target and back by the event
// store alone, the way back on the instance fetched anew. Its identifier.
platform::Task<QString> bareMove(store::ReminderStore& store, ReminderList home, ReminderList target) {
    platform::EventStore& events = store.eventStore();
    Reminder bare = events.newReminder();
    bare.title = u"Tavlin move-test bare "_s + stringPrefix(newUUIDString(), 8);
    bare.listIdentifier = home.identifier;
    std::optional<StoreError> error = events.save(bare);
    if (!error) {
        bare.listIdentifier = target.identifier;
        error = events.save(bare);
    }
    printLine(error ? u"bare move error: "_s + errorDiagnostic(*error) : u"bare move: ok"_s);
    co_await store.refresh();

    if (std::optional<Reminder> refetched = reminderWithIdentifier(store.reminders(), bare.identifier)) {
        refetched->listIdentifier = home.identifier;
        if (const std::optional<StoreError> back = events.save(*refetched))
            printLine(u"bare move back error: "_s + errorDiagnostic(*back));
        else
            printLine(u"bare move back (refetched instance): ok, list now "_s +
                      listTitle(store, *refetched).value_or(u"?"_s));
    } else {
        printLine(u"bare reminder not found after refresh"_s);
    }
    co_await store.refresh();
    co_return bare.identifier;
}

platform::Task<> moveVariant(store::ReminderStore& store, QStringList names, ReminderList home, ReminderList target,
                             QString label, QString suffix) {
    printLine(u"== "_s + label + suffix + u": "_s + quoted(home.title) + u" -> "_s + quoted(target.title));
    const QString homeTag = u"#"_s + parsing::normalizedKey(home.title);
    const QString targetTag = u"#"_s + parsing::normalizedKey(target.title);
    const QString line = u"Tavlin move-test "_s + stringPrefix(newUUIDString(), 8) + suffix + u' ' + homeTag;
    const parsing::ParserVocabulary vocabulary = parsing::ParserVocabulary::current();

    const ParsedQuickAdd reading = deterministicReading(line, names, vocabulary);
    const std::optional<Reminder> created = co_await store.add(reading);
    if (!created) {
        printLine(u"create failed: "_s + errorDiagnostic(store.lastError()));
        co_return;
    }
    co_await store.refresh();
    const Reminder fresh = reminderWithIdentifier(store.reminders(), created->identifier).value_or(*created);
    const QString serialized = parsing::ReminderEditing::quickAddText(fresh, listTitle(store, fresh), names);
    const QString edited = QString(serialized).replace(homeTag, targetTag);
    printLine(u"serialized "_s + quoted(serialized) + u" -> edited "_s + quoted(edited));

    const ParsedQuickAdd editReading =
        committedReading(edited, names, true, parsing::ReminderEditing::dueDateText(fresh), vocabulary);
    printLine(u"parsed list: "_s + editReading.listName.value_or(u"nil"_s));
    co_await store.update(editReading, fresh);
    printLine(u"edit-path save error: "_s + errorDiagnostic(store.lastError()));
    co_await store.refresh();
    const std::optional<Reminder> found = reminderWithIdentifier(store.reminders(), created->identifier);
    const std::optional<QString> foundList = found ? listTitle(store, *found) : std::nullopt;
    printLine(u"edit-path refetched list: "_s + foundList.value_or(u"not found"_s) + u" alarms="_s +
              countText(found ? std::optional(found->alarms.size()) : std::nullopt) + u" rules="_s +
              countText(found ? std::optional(found->recurrenceRules.size()) : std::nullopt));

    QStringList made{created->identifier};
    if (suffix.isEmpty()) made << co_await bareMove(store, home, target);
    platform::EventStore& events = store.eventStore();
    for (const QString& identifier : made) {
        const std::optional<Reminder> item = events.reminder(identifier);
        if (!item) continue;
        if (const std::optional<StoreError> error = events.remove(*item))
            printLine(u"cleanup error: "_s + errorDiagnostic(*error));
    }
}

void finishRun(const QString& line) {
    printLine(line);
    flushStandardOutput();
    terminateApplication();
}

}  // namespace

QString errorDiagnostic(const std::optional<store::ReminderStore::Error>& error) {
    if (!error) return u"none"_s;
    if (const auto* refused = std::get_if<store::ReminderStore::ListMoveRefused>(&*error))
        return errorHead(kStoreErrorDomain, 1, refused->description()) + u" userInfo="_s +
               userInfoText({{u"underlying"_s, errorHead(refused->underlying)}});
    return errorHead(std::get<StoreError>(*error)) + u" userInfo="_s + userInfoText({});
}

platform::Task<> moveListTest(store::ReminderStore& store) {
    co_await waitBeforeStarting();
    co_await store.refresh();
    const std::vector<ReminderList> lists = store.lists();
    const std::optional<ReminderList> defaultList = store.eventStore().defaultListForNewReminders();
    for (const ReminderList& list : lists) printLine(listLine(list, defaultList));
    if (lists.size() < 2) {
        finishRun(u"MOVE-TEST: need two lists"_s);
        co_return;
    }

    const QStringList names = listNames(store);
    const ReminderList home = defaultList.value_or(lists.front());
    const std::vector<TargetRow> rows = targetRows(lists, home);
    for (const TargetRow& row : rows) {
        if (!row.list) {
            printLine(row.label + u": no candidate list"_s);
            continue;
        }
        for (const QString& suffix : kSuffixes) co_await moveVariant(store, names, home, *row.list, row.label, suffix);
    }
    finishRun(u"MOVE-TEST done"_s);
}

}  // namespace tavlin::devmodes
