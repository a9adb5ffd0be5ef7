#include "panel/PanelTexts.h"

using namespace Qt::StringLiterals;

namespace tavlin::panel {

QString undoMessage(qsizetype count, const QString& title, UndoItem::Kind kind) {
    const QString verb = kind == UndoItem::Kind::completed ? u"Completed"_s : u"Deleted"_s;
    if (count == 1) return verb + u" “"_s + title + u"”"_s;
    return verb + u' ' + QString::number(count) + u" reminders"_s;
}

QString editFailureMessage(const store::ReminderStore::Error& error) {
    if (const auto* refused = std::get_if<store::ReminderStore::ListMoveRefused>(&error)) return refused->description();
    return u"Couldn’t talk to the reminders store — "_s + std::get<platform::StoreError>(error).description;
}

QString editFailureDetail(const store::ReminderStore::Error& error) {
    if (const auto* refused = std::get_if<store::ReminderStore::ListMoveRefused>(&error)) {
        QStringList lines{refused->description()};
        if (const QString reason = refused->failureReason(); !reason.isEmpty()) lines << reason;
        return lines.join(u'\n');
    }
    const platform::StoreError& failure = std::get<platform::StoreError>(error);
    return failure.description + u'\n' + failure.domain + u' ' + QString::number(failure.code);
}

std::optional<DoneTodayMessage> doneTodayMessage(int count) {
    if (count < 1) return std::nullopt;
    const QString encouragement = count == 1 ? u"nice start"_s : count <= 5 ? u"great job!"_s : u"quite a day!"_s;
    return DoneTodayMessage{u"✓ "_s + QString::number(count) + u" done today"_s, u"· "_s + encouragement};
}

}  // namespace tavlin::panel
