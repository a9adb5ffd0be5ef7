#include "devmodes/SharedRoutines.h"

#include "platform/Text.h"

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;

QString stringPrefix(const QString& text, qsizetype count) {
    const std::vector<platform::TextRange> characters = platform::graphemeRanges(text);
    if (static_cast<qsizetype>(characters.size()) <= count) return text;
    return count <= 0 ? QString() : text.left(characters[static_cast<size_t>(count) - 1].end());
}

QString dateComponentsText(const platform::DateComponents& c) {
    QString text = u"%1-%2-%3"_s.arg(c.year.value_or(0)).arg(c.month.value_or(0)).arg(c.day.value_or(0));
    if (c.hour)
        text += u" %1:%2"_s.arg(*c.hour, 2, 10, QLatin1Char('0')).arg(c.minute.value_or(0), 2, 10, QLatin1Char('0'));
    return text;
}

}  // namespace tavlin::devmodes
