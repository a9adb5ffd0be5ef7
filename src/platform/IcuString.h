#pragma once

#include <unicode/unistr.h>
#include <QString>

namespace tavlin::platform {

// A read-only ICU view of a QString's UTF-16 buffer, without a copy. The view
// must not outlive the QString, and the QString must not change meanwhile.
inline icu::UnicodeString icuView(const QString& text) {
    return icu::UnicodeString(false, reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
}

inline QString fromIcu(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

}  // namespace tavlin::platform
