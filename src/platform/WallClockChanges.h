#pragma once

#include <QObject>

class QSocketNotifier;

namespace tavlin::platform {

// Says when the system's wall clock is set (by hand, or by a time service
// stepping it), which timers on the monotonic clock do not notice: a
// timerfd far in the future that the kernel cancels at every such change.
// Silent where the kernel offers none. Main thread only.
class WallClockChanges final : public QObject {
    Q_OBJECT

public:
    explicit WallClockChanges(QObject* parent = nullptr);
    ~WallClockChanges() override;

signals:
    void changed();

private:
    bool arm();
    void onReadable();

    int descriptor_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tavlin::platform
