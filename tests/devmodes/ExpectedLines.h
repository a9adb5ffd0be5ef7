#pragma once

#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

// A scenario's printed lines against the lines expected, each a pattern:
// literal text, with <uuid8> for the first eight characters of a new UUID,
// <date> for a moment in UTC, <due> for a due date written back into a line
// and <any> for anything.
inline QRegularExpression linePattern(const QString& line) {
    QString text = QRegularExpression::escape(line);
    text.replace(QStringLiteral("\\<uuid8\\>"), QStringLiteral("[0-9A-F]{8}"))
        .replace(QStringLiteral("\\<date\\>"), QStringLiteral("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} \\+0000"))
        .replace(QStringLiteral("\\<due\\>"), QStringLiteral("\\d{1,2} [A-Z][a-z]{2} \\d{4}( \\d{2}:\\d{2})?"))
        .replace(QStringLiteral("\\<any\\>"), QStringLiteral(".*"));
    return QRegularExpression(u'^' + text + u'$');
}

inline void expectLines(const QStringList& actual, const QStringList& expected) {
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const QString line = i < actual.size() ? actual[i] : QStringLiteral("<missing>");
        const QString wanted = i < expected.size() ? expected[i] : QStringLiteral("<nothing more>");
        EXPECT_TRUE(linePattern(wanted).match(line).hasMatch())
            << "line " << i << "\n  printed: " << line.toStdString() << "\n expected: " << wanted.toStdString();
    }
}

// Standard output as lines, without the end of the last.
inline QStringList outputLines(const QString& output) {
    QStringList lines = output.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}
