#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the developer scenarios and the panel's diagnostics print: lines on
// standard output, flushed after each step so that a reader at the other end
// of a pipe follows along.
namespace tavlin::platform {

void printLine(const QString& line);
void flushStandardOutput();
// A line that is a step of its own: printed and flushed at once.
void printStep(const QString& line);
void printErrorLine(const QString& line);

// Asks the application to end through its normal termination, once the main
// loop runs (a request made during launch waits for it).
void terminateApplication();

// For tests: while one exists, the lines printed, the flushes and the
// requests to end are kept here rather than carried out.
class RecordedOutput {
public:
    RecordedOutput();
    ~RecordedOutput();
    RecordedOutput(const RecordedOutput&) = delete;
    RecordedOutput& operator=(const RecordedOutput&) = delete;

    QStringList lines;
    QList<qsizetype> flushes;     // how many lines had been printed at each flush
    QList<qsizetype> terminated;  // the same, at each request to end

private:
    RecordedOutput* previous_;
};

}  // namespace tavlin::platform
