#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

// What is logged while it lives, kept instead of written out. One at a time.
class CapturedLog {
public:
    CapturedLog() {
        current() = this;
        previous_ = qInstallMessageHandler(&keep);
    }
    ~CapturedLog() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    // The messages logged at `type`, in order.
    QStringList messages(QtMsgType type) const {
        QStringList found;
        for (const auto& [logged, message] : entries_)
            if (logged == type) found.append(message);
        return found;
    }

private:
    static CapturedLog*& current() {
        static CapturedLog* log = nullptr;
        return log;
    }
    static void keep(QtMsgType type, const QMessageLogContext&, const QString& message) {
        current()->entries_.emplace_back(type, message);
    }

    QtMessageHandler previous_ = nullptr;
    std::vector<std::pair<QtMsgType, QString>> entries_;
};
