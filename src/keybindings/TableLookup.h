#pragma once

#include <QHash>

#include <optional>

namespace tavlin::KeyBindings {

// The value a key table holds for `key`, or nothing.
template <typename From, typename To>
std::optional<To> lookUp(const QHash<From, To>& table, const From& key) {
    const auto found = table.constFind(key);
    if (found == table.cend()) return std::nullopt;
    return *found;
}

}  // namespace tavlin::KeyBindings
