#include "platform/DecimalText.h"

#include <charconv>
#include <cmath>

namespace tavlin::platform {

QString decimalText(double value) {
    if (std::isnan(value)) return QStringLiteral("nan");
    const double magnitude = std::abs(value);
    const bool exponentForm = std::isfinite(value) && value != 0 && (magnitude < 1e-4 || magnitude > 0x1p53);
    char buffer[64];
    // Without a precision, to_chars writes the fewest digits that read back
    // as the same double.
    const std::to_chars_result written = std::to_chars(
        buffer, buffer + sizeof buffer, value, exponentForm ? std::chars_format::scientific : std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    if (!exponentForm && std::isfinite(value) && !text.contains(u'.')) text += QStringLiteral(".0");
    return text;
}

}  // namespace tavlin::platform
