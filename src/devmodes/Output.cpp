#include "devmodes/Output.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdio>

namespace tavlin::devmodes {

namespace {

void writeLine(std::FILE* stream, const QString& line) {
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

}  // namespace

void printLine(const QString& line) { writeLine(stdout, line); }

void flushStandardOutput() { std::fflush(stdout); }

void printErrorLine(const QString& line) {
    writeLine(stderr, line);
    std::fflush(stderr);
}

void terminateApplication() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace tavlin::devmodes
