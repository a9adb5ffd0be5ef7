#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Collects what is logged while it lives, in one category and at one level
// or above, with that category's debug output turned on when asked. One at
// a time; messages from any thread are kept.
class LogCapture {
public:
    explicit LogCapture(const char* category, QtMsgType least = QtDebugMsg) : category_(category), least_(least) {
        instance_ = this;
        if (least == QtDebugMsg)
            QLoggingCategory::setFilterRules(QString::fromLatin1(category) + QStringLiteral(".debug=true"));
        previous_ = qInstallMessageHandler(handle);
    }
    ~LogCapture() {
        qInstallMessageHandler(previous_);
        if (least_ == QtDebugMsg) QLoggingCategory::setFilterRules(QString());
        instance_ = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The messages so far, and forgets them.
    QStringList take() {
        const QMutexLocker lock(&mutex_);
        QStringList taken;
        for (const Entry& entry : std::exchange(entries_, {})) taken += entry.second;
        return taken;
    }

    // The messages so far logged at exactly `type`, and forgets those.
    QStringList take(QtMsgType type) {
        const QMutexLocker lock(&mutex_);
        QStringList taken;
        std::erase_if(entries_, [&](const Entry& entry) {
            if (entry.first != type) return false;
            taken += entry.second;
            return true;
        });
        return taken;
    }

private:
    using Entry = std::pair<QtMsgType, QString>;

    // Debug counts lowest, then info, warning, critical.
    static int rank(QtMsgType type) {
        switch (type) {
        case QtDebugMsg: return 0;
        case QtInfoMsg: return 1;
        case QtWarningMsg: return 2;
        case QtCriticalMsg: return 3;
        case QtFatalMsg: return 4;
        }
        return 0;
    }

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        LogCapture* self = instance_;
        if (self && context.category && qstrcmp(context.category, self->category_) == 0 &&
            rank(type) >= rank(self->least_)) {
            const QMutexLocker lock(&self->mutex_);
            self->entries_.emplace_back(type, message);
        }
    }

    const char* category_;
    QtMsgType least_;
    QtMessageHandler previous_ = nullptr;
    QMutex mutex_;
    std::vector<Entry> entries_;
    static inline LogCapture* instance_ = nullptr;
};
