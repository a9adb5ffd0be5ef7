#pragma once

// What the fuzz targets share: stopping on a broken property, and the text
// their inputs carry.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tavlin::fuzz {

// Stops the run, naming the property on standard error.
inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", property);
    std::abort();
}

// Stops the run.
inline void check(bool holds) {
    if (!holds) std::abort();
}

// UTF-8 when `selector` is even, UTF-16 units (lone surrogates included)
// when it is odd, so that both encodings' edge cases reach the code.
inline QString decodedText(std::uint8_t selector, const std::uint8_t* bytes, std::size_t size) {
    return selector % 2 == 0 ? QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size))
                             : QString(reinterpret_cast<const QChar*>(bytes), static_cast<qsizetype>(size / 2));
}

}  // namespace tavlin::fuzz
