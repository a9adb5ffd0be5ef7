#pragma once

#include "platform/TextRange.h"

#include <QString>
#include <QStringList>

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

namespace tavlin::platform {

inline void PrintTo(TextRange range, std::ostream* out) {
    if (!range.isFound()) *out << "{notFound}";
    else *out << "{" << range.location << ", " << range.length << "}";
}

}  // namespace tavlin::platform
