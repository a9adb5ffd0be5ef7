#include "rows/SectionHeader.h"

#include "rows/Look.h"

#include <QLocale>

namespace tavlin::rows {

SectionHeader::SectionHeader(const QString& title, int horizontalPadding, QWidget* parent)
    : QLabel(parent), title_(title) {
    setTextFormat(Qt::PlainText);
    // Capitals by the user's language (German ß, Turkish i).
    setText(QLocale().toUpper(title));
    setFont(rows::font(TextStyle::caption, QFont::DemiBold));
    setTone(*this, Tone::secondary);
    setContentsMargins(horizontalPadding, 8, horizontalPadding, 4);
}

}  // namespace tavlin::rows
