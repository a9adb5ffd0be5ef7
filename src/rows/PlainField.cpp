#include "rows/PlainField.h"

#include "rows/Look.h"

#include <QLineEdit>

namespace tavlin::rows {

void makePlainField(QLineEdit& edit) {
    edit.setFrame(false);
    edit.setFont(font(TextStyle::body));
    edit.setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::transparent);
    edit.setPalette(palette);
    edit.setAutoFillBackground(false);
}

}  // namespace tavlin::rows
