#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

// Writes a file as another program would, making the folders it needs.
inline void writeTestFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(path.left(path.lastIndexOf(u'/')));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
}
