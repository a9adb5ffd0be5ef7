#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace tavlin::platform {

// Turns SIGINT and SIGTERM into a Qt signal on the main loop, so that quitting
// from the terminal or from the session goes through the application's normal
// termination. Only one instance may exist at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readPendingSignal();

    int sockets_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tavlin::platform
