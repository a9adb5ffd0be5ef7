#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Writes a file as another program would, making the folders it needs.
inline void writeTestFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}

// A file's bytes; empty when it cannot be read, so that a missing file
// fails the comparison that follows rather than the test's setup.
inline QByteArray readTestFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Text with the line ends that iCalendar and vCard files use.
inline QByteArray crlf(QByteArray text) { return text.replace("\n", "\r\n"); }
