// The row's menu in each of its shapes, as lines of text: what a picture of
// a popped-up menu cannot show offscreen, the enabled state of each line.

#include "Gallery.h"

#include "rows/RowMenu.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

void describe(const std::vector<rows::RowMenuEntry>& entries, int depth, QStringList& lines) {
    const QString indent(depth * 4, u' ');
    for (const rows::RowMenuEntry& entry : entries) {
        if (entry.isSeparator) {
            lines << indent + u"----"_s;
            continue;
        }
        lines << indent + entry.title + (entry.isEnabled ? QString() : u"  (disabled)"_s) +
                     (entry.children ? u"  \u25B8"_s : QString());
        if (entry.children) describe(*entry.children, depth + 1, lines);
    }
}

QString menus() {
    const struct {
        QString shape;
        rows::RowMenuRow row;
    } shapes[] = {
        {u"A reminder done today"_s, {.isDone = true}},
        {u"One open reminder without a due date"_s, {.selectedCount = 1}},
        {u"One open reminder with a due date"_s, {.selectedCount = 1, .hasDueDate = true}},
        {u"Three selected reminders"_s, {.selectedCount = 3}},
    };
    QStringList lines;
    for (const auto& shape : shapes) {
        lines << shape.shape + u":"_s;
        describe(rows::menuEntries(shape.row, {}), 1, lines);
        lines << QString();
    }
    return lines.join(u'\n');
}

const Pages pages{{{u"row-menus.txt"_s, menus}}};

}  // namespace

}  // namespace tavlin::gallery
