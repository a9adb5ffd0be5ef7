#pragma once

#include <QString>
#include <QStringList>

// Cuts a text into to-dos: at line breaks and list markers, else at ";".
namespace tavlin::parsing::TaskSplitter {

// Trimmed of blanks and tabs, with one leading list marker ("-", "•", "[x]",
// "2.") removed.
QString stripBullet(const QString& text);
// Every piece, however many.
QStringList splitPieces(const QString& text);
// The first 10 pieces.
QStringList split(const QString& text);

}  // namespace tavlin::parsing::TaskSplitter
