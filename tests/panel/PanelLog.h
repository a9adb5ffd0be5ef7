#pragma once

#include <QLoggingCategory>
#include <QStringList>

// Every message of the panel's log category while it lives, as
// "<level>: <message>".
class PanelLog {
public:
    PanelLog() : previous_(qInstallMessageHandler(&PanelLog::record)) { current() = this; }
    ~PanelLog() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    QStringList lines;

private:
    static PanelLog*& current() {
        static PanelLog* log = nullptr;
        return log;
    }
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!current() || QLatin1StringView(context.category) != QLatin1StringView("com.quorvandell.tavlin.panel"))
            return;
        current()->lines << (type == QtCriticalMsg ? QStringLiteral("error: ") : QStringLiteral("info: ")) + message;
    }
    QtMessageHandler previous_;
};
