#pragma once

namespace tavlin::platform {

// Marks a value that is built once and then only read as safe to share
// between threads: the compiled patterns of a vocabulary are the example.
// It checks nothing and locks nothing.
template <class T>
struct UncheckedSendable {
    T value;
};

}  // namespace tavlin::platform
