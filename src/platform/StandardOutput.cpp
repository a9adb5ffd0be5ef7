#include "platform/StandardOutput.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdio>

namespace tavlin::platform {

namespace {

RecordedOutput* recorder = nullptr;

void writeLine(std::FILE* stream, const QString& line) {
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

}  // namespace

void printLine(const QString& line) {
    if (recorder) recorder->lines.append(line);
    else writeLine(stdout, line);
}

void flushStandardOutput() {
    if (recorder) recorder->flushes.append(recorder->lines.size());
    else std::fflush(stdout);
}

void printStep(const QString& line) {
    printLine(line);
    flushStandardOutput();
}

void printErrorLine(const QString& line) {
    writeLine(stderr, line);
    std::fflush(stderr);
}

void terminateApplication() {
    if (recorder) recorder->terminated.append(recorder->lines.size());
    else QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

RecordedOutput::RecordedOutput() : previous_(recorder) { recorder = this; }

RecordedOutput::~RecordedOutput() { recorder = previous_; }

}  // namespace tavlin::platform
