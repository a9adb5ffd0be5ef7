#include "parsing/RecurrenceEdit.h"

#include <QHash>
#include <QSet>

namespace tavlin::parsing::RecurrenceEdit {

using namespace Qt::StringLiterals;

namespace {

// An identifier as a set's key, hashed without the table's random seed:
// Qt hashes seeded strings with SipHash, which for ten thousand
// identifiers costs more than the rest of the collapse.
struct IdentifierKey {
    QStringView identifier;
    friend bool operator==(IdentifierKey a, IdentifierKey b) { return a.identifier == b.identifier; }
    friend size_t qHash(IdentifierKey key, size_t) { return qHash(key.identifier, 0); }
};

}  // namespace

QString unitWord(RecurrenceFrequency frequency) {
    switch (frequency) {
    case RecurrenceFrequency::daily: return u"day"_s;
    case RecurrenceFrequency::weekly: return u"week"_s;
    case RecurrenceFrequency::monthly: return u"month"_s;
    case RecurrenceFrequency::yearly: return u"year"_s;
    }
    return {};
}

QString adverb(RecurrenceFrequency frequency) {
    switch (frequency) {
    case RecurrenceFrequency::daily: return u"daily"_s;
    case RecurrenceFrequency::weekly: return u"weekly"_s;
    case RecurrenceFrequency::monthly: return u"monthly"_s;
    case RecurrenceFrequency::yearly: return u"yearly"_s;
    }
    return {};
}

QString everyText(RecurrenceFrequency frequency, int interval) {
    if (interval < 2) return u"every "_s + unitWord(frequency);
    return u"every %1 %2s"_s.arg(interval).arg(unitWord(frequency));
}

Change plan(const std::vector<ExistingRule>& rules, std::optional<RecurrenceFrequency> parsedFrequency,
            int parsedInterval) {
    const int interval = std::max(parsedInterval, 1);
    if (rules.empty()) {
        if (!parsedFrequency) return Unchanged{};
        return Add{*parsedFrequency, interval};
    }
    if (rules.size() > 1) return Unchanged{};  // a quick-add edit never touches a combined rule set
    const ExistingRule& rule = rules.front();
    if (!rule.frequency) {
        if (!parsedFrequency) return Unchanged{};
        return Replace{*parsedFrequency, interval, rule.hasEnd, false};
    }
    if (!parsedFrequency) return RemoveAll{};
    if (*parsedFrequency == *rule.frequency && interval == rule.interval) return Unchanged{};
    return Replace{*parsedFrequency, interval, rule.hasEnd, *parsedFrequency == *rule.frequency};
}

ExistingRule existingRule(const platform::RecurrenceRule& rule) {
    using Frequency = platform::RecurrenceRule::Frequency;
    ExistingRule existing{.interval = rule.interval, .hasEnd = rule.end.has_value()};
    switch (rule.frequency) {
    case Frequency::daily: existing.frequency = RecurrenceFrequency::daily; break;
    case Frequency::weekly: existing.frequency = RecurrenceFrequency::weekly; break;
    case Frequency::monthly: existing.frequency = RecurrenceFrequency::monthly; break;
    case Frequency::yearly: existing.frequency = RecurrenceFrequency::yearly; break;
    default: break;
    }
    return existing;
}

std::vector<platform::Reminder> collapseRecurringSeries(
    const std::vector<platform::Reminder>& reminders,
    const std::function<std::optional<platform::Date>(const platform::Reminder&)>& dueDate,
    const std::function<std::optional<QString>(const platform::Reminder&)>& seriesKey) {
    return platform::copiesOf(collapseRecurringSeries(platform::pointersTo(reminders), dueDate, seriesKey));
}

std::vector<const platform::Reminder*> collapseRecurringSeries(
    const std::vector<const platform::Reminder*>& reminders,
    const std::function<std::optional<platform::Date>(const platform::Reminder&)>& dueDate,
    const std::function<std::optional<QString>(const platform::Reminder&)>& seriesKey) {
    struct Kept {
        const platform::Reminder* reminder;
        std::optional<QString> key;
    };
    std::vector<Kept> kept;
    kept.reserve(reminders.size());
    QSet<IdentifierKey> seen;
    seen.reserve(static_cast<qsizetype>(reminders.size()));
    for (const platform::Reminder* reminder : reminders) {
        const qsizetype before = seen.size();
        seen.insert({reminder->identifier});
        if (seen.size() == before) continue;
        kept.push_back({reminder, seriesKey(*reminder)});
    }
    // Of each series the one due first; undated ones count as due last, and
    // the earlier in the list wins a tie.
    struct Chosen {
        const platform::Reminder* reminder;
        platform::Date due;
    };
    const auto dueOrLast = [&](const platform::Reminder& r) {
        return dueDate(r).value_or(platform::Date::fromSecondsSince1970(std::numeric_limits<double>::max()));
    };
    QHash<QString, Chosen> chosen;
    for (const Kept& k : kept) {
        if (!k.key) continue;
        const platform::Date due = dueOrLast(*k.reminder);
        const auto current = chosen.find(*k.key);
        if (current == chosen.end()) chosen.insert(*k.key, {k.reminder, due});
        else if (due < current->due) *current = {k.reminder, due};
    }
    std::vector<const platform::Reminder*> shown;
    shown.reserve(kept.size());
    for (const Kept& k : kept)
        if (!k.key || chosen.value(*k.key).reminder == k.reminder) shown.push_back(k.reminder);
    return shown;
}

QString repeatsDescription(RecurrenceFrequency frequency, int interval) {
    return u"Repeats "_s + (interval < 2 ? adverb(frequency) : everyText(frequency, interval));
}

QString shortLabel(RecurrenceFrequency frequency, int interval) {
    QString label = interval < 2 ? adverb(frequency) : everyText(frequency, interval);
    label[0] = label[0].toUpper();
    return label;
}

}  // namespace tavlin::parsing::RecurrenceEdit
