#pragma once

#include "panel/LineCommit.h"

#include <QStringList>

#include <functional>
#include <map>
#include <set>
#include <vector>

// The reminder store as the commits see it, in memory: it notes each call
// ("add milk", "update milk: Groceries"), refuses the adds a test numbers,
// and holds adds until the test lets them go.
class FakeCommitStore final : public tavlin::panel::CommitStore {
public:
    using ParsedQuickAdd = tavlin::parsing::ParsedQuickAdd;
    using Reminder = tavlin::platform::Reminder;
    using ResolvedLocation = tavlin::store::ResolvedLocation;

    QStringList titles{QStringLiteral("Groceries"), QStringLiteral("Work")};
    QStringList calls;
    std::set<int> failingAdds;  // counted from 1
    bool holdAdds = false;
    std::map<QString, Reminder> held;                     // the reminders as saved, by identifier
    std::vector<ParsedQuickAdd> added;                    // the readings added, in order
    std::vector<std::optional<ResolvedLocation>> places;  // the place of each add
    std::function<void()> onAdd;                          // as each add starts

    // Lets every add held so far go, in order.
    void release() {
        for (const auto& add : std::exchange(pending_, {})) add.resolve();
    }

    QStringList listTitles() const override { return titles; }

    tavlin::platform::Task<std::optional<Reminder>> add(ParsedQuickAdd parsed,
                                                        std::optional<ResolvedLocation> place) override {
        const int number = ++adds_;
        calls << QStringLiteral("add ") + parsed.title;
        if (onAdd) onAdd();
        added.push_back(parsed);
        places.push_back(place);
        if (holdAdds) {
            const tavlin::platform::TaskCompletion<> wait;
            pending_.push_back(wait);
            co_await wait.task();
        }
        if (failingAdds.contains(number)) co_return std::nullopt;
        const Reminder made{.identifier = QStringLiteral("R%1").arg(number), .title = parsed.title};
        held[made.identifier] = made;
        co_return made;
    }

    std::optional<Reminder> saved(const QString& identifier) const override {
        const auto found = held.find(identifier);
        return found != held.end() ? std::optional(found->second) : std::nullopt;
    }

    tavlin::platform::Task<tavlin::store::ReminderStore::UpdateOutcome> update(
        ParsedQuickAdd parsed, Reminder reminder, std::optional<ResolvedLocation>) override {
        calls << QStringLiteral("update ") + reminder.title + QStringLiteral(": ") +
                     parsed.listName.value_or(QString());
        co_return tavlin::store::ReminderStore::UpdateOutcome::saved;
    }

private:
    int adds_ = 0;
    std::vector<tavlin::platform::TaskCompletion<>> pending_;
};
