#pragma once

#include "platform/TextRange.h"

#include <QDebug>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>

// Readable values in test failure messages.

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0) *out << ", ";
        PrintTo(list[i], out);
    }
    *out << ']';
}

// As QDebug writes it: QVariant(uint, 3), QVariantMap(…).
inline void PrintTo(const QVariant& value, std::ostream* out) {
    QString text;
    QDebug(&text).nospace() << value;
    *out << text.toStdString();
}

namespace tavlin::platform {

inline void PrintTo(TextRange range, std::ostream* out) {
    if (!range.isFound()) *out << "{notFound}";
    else *out << "{" << range.location << ", " << range.length << "}";
}

}  // namespace tavlin::platform
