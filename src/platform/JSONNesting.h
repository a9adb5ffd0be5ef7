#pragma once

#include <QByteArrayView>

#include <cstddef>

namespace tavlin::platform {

// Whether a JSON text opens arrays and objects more than `levels` deep (the
// top level counts as one), read without parsing it: a value nested that
// deep is copied, compared and written by recursion, so it is refused before
// it is parsed. Brackets inside strings do not count; the text need not be
// valid JSON.
bool jsonNestsDeeperThan(QByteArrayView text, std::size_t levels);

}  // namespace tavlin::platform
