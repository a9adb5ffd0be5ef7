#pragma once

#include <QString>

#include <chrono>
#include <memory>

namespace tavlin::mcp {

// A lock file that the running Tavlin holds for its whole life, so that the
// --mcp bridge can tell whether one runs without a session bus. The kernel
// lets go of it when the process ends, however it ends.
class InstanceLock {
public:
    static constexpr std::chrono::milliseconds pollEvery{50};

    // Holds the lock at `path` (created 0600 in an existing folder); nothing
    // when another process holds it or the file cannot be opened.
    static std::unique_ptr<InstanceLock> acquire(const QString& path);
    // The same, trying again every `pollInterval` until the holder lets go
    // or `limit` has passed: a Tavlin that was asked to quit needs a moment
    // to stop. Blocks the calling thread meanwhile.
    static std::unique_ptr<InstanceLock> acquire(const QString& path, std::chrono::milliseconds limit,
                                                 std::chrono::milliseconds pollInterval = pollEvery);
    // Whether a running Tavlin holds the lock at `path`.
    static bool isHeldElsewhere(const QString& path);

    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

private:
    explicit InstanceLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

}  // namespace tavlin::mcp
