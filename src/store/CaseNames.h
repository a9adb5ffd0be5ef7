#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace tavlin::store {

// The stored names of an enumeration whose cases are numbered 0, 1, 2, …
// in the order of `names`.
template <class Enum, std::size_t N>
struct CaseNames {
    std::array<QStringView, N> names;

    QString nameOf(Enum value) const { return names[static_cast<std::size_t>(value)].toString(); }

    // Exact, case-sensitive match.
    std::optional<Enum> caseNamed(QStringView name) const {
        for (std::size_t i = 0; i < N; ++i)
            if (names[i] == name) return static_cast<Enum>(i);
        return std::nullopt;
    }
};

}  // namespace tavlin::store
