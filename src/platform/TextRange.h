#pragma once

#include <QtGlobal>

#include <algorithm>
#include <optional>

namespace tavlin::platform {

// A span of a text in UTF-16 code units, so that it indexes a QString
// directly. `location == kNotFound` marks a span that does not exist (a
// capture group that took no part in a match).
struct TextRange {
    static constexpr qsizetype kNotFound = -1;

    qsizetype location = 0;
    qsizetype length = 0;

    static constexpr TextRange notFound() { return {kNotFound, 0}; }
    static constexpr TextRange fromBounds(qsizetype start, qsizetype end) { return {start, end - start}; }

    constexpr bool isFound() const { return location != kNotFound; }
    constexpr qsizetype end() const { return location + length; }
    constexpr bool isEmpty() const { return length == 0; }
    constexpr bool contains(qsizetype index) const { return index >= location && index < end(); }
    constexpr bool contains(TextRange other) const { return other.location >= location && other.end() <= end(); }

    // Overlap of two spans; {0, 0} when they only touch or lie apart.
    constexpr TextRange intersection(TextRange other) const {
        const qsizetype start = std::max(location, other.location);
        const qsizetype stop = std::min(end(), other.end());
        if (stop <= start) return {0, 0};
        return {start, stop - start};
    }
    constexpr bool intersects(TextRange other) const { return intersection(other).length > 0; }
    constexpr TextRange unionWith(TextRange other) const {
        const qsizetype start = std::min(location, other.location);
        return {start, std::max(end(), other.end()) - start};
    }

    // The span cut to a text of `textLength` units, so that a stale range never
    // reaches past the end of the buffer.
    constexpr TextRange clampedTo(qsizetype textLength) const {
        const qsizetype start = std::clamp<qsizetype>(location, 0, textLength);
        return fromBounds(start, std::clamp<qsizetype>(end(), start, textLength));
    }

    friend constexpr bool operator==(TextRange, TextRange) = default;
};

}  // namespace tavlin::platform
