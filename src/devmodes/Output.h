#pragma once

#include <QString>

// What the developer scenarios print: lines on standard output, flushed
// after each step so that a reader at the other end of a pipe follows along.
namespace tavlin::devmodes {

void printLine(const QString& line);
void flushStandardOutput();
void printErrorLine(const QString& line);

// Asks the application to end through its normal termination, once the main
// loop runs (a request made during launch waits for it).
void terminateApplication();

}  // namespace tavlin::devmodes
