#include "platform/Contacts.h"

#include <QStringList>

namespace tavlin::platform {

QString PostalAddress::mailingAddress() const {
    QStringList lines;
    for (const QString& line : street.split(u'\n')) lines << line.trimmed();
    lines << (postalCode.trimmed() + u' ' + city.trimmed()).trimmed() << state.trimmed() << country.trimmed();
    lines.removeAll(QString());
    return lines.join(u'\n');
}

}  // namespace tavlin::platform
