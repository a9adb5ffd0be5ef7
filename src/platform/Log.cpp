#include "platform/Log.h"

#include <cstdio>

#define TAVLIN_CATEGORY(name) "com.quorvandell.tavlin." name

Q_LOGGING_CATEGORY(lcApp, TAVLIN_CATEGORY("app"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlatform, TAVLIN_CATEGORY("platform"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcPanel, TAVLIN_CATEGORY("panel"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcStatusItem, TAVLIN_CATEGORY("statusItem"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcStore, TAVLIN_CATEGORY("store"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcMcp, TAVLIN_CATEGORY("mcp"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcPreferences, TAVLIN_CATEGORY("preferences"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcAlarms, TAVLIN_CATEGORY("alarms"), QtInfoMsg)
Q_LOGGING_CATEGORY(lcKeys, TAVLIN_CATEGORY("keys"), QtInfoMsg)

namespace tavlin::platform {

namespace {

constexpr QLatin1StringView kPrefix{TAVLIN_CATEGORY("")};

const char* levelLabel(QtMsgType type) {
    switch (type) {
    case QtWarningMsg: return "warning: ";
    case QtCriticalMsg: return "error: ";
    case QtFatalMsg: return "fatal: ";
    case QtDebugMsg:
    case QtInfoMsg: return "";
    }
    return "";
}

void writeToStandardError(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    QLatin1StringView category(context.category ? context.category : "default");
    if (category.startsWith(kPrefix)) category = category.sliced(kPrefix.size());
    const QByteArray line =
        QStringLiteral("tavlin[%1] %2%3\n").arg(category, QLatin1StringView(levelLabel(type)), message).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

}  // namespace

void installLogHandler() { qInstallMessageHandler(writeToStandardError); }

}  // namespace tavlin::platform
