// The "#list" names offered under the panel's field and inside an edit
// row: a few lists, twelve scrolled to the tenth, the embedded look, and a
// selected row beside one under the pointer. Each in the light and the dark
// palette.

#include "Gallery.h"

#include "rows/ListSuggestions.h"

#include <QCoreApplication>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

const QStringList someLists{u"Groceries"_s, u"Work"_s, u"Home Improvement"_s, u"Ärzte & Termine"_s};
const QStringList twelveLists{u"Groceries"_s,     u"Work"_s,  u"Home Improvement"_s, u"Ärzte & Termine"_s,
                              u"Books to read"_s, u"Gifts"_s, u"Garden"_s,           u"Travel"_s,
                              u"Car"_s,           u"Bills"_s, u"Kids’ school"_s,     u"Someday/Maybe"_s};

QString named(const QString& name, Scheme scheme) { return scheme == Scheme::dark ? name + u"-dark"_s : name; }

// The names shown with the first selected; `then` acts once they are laid out.
QImage suggestions(const QStringList& names, bool embedded, Scheme scheme,
                   const std::function<void(rows::ListSuggestions&)>& then = {}) {
    rows::ListSuggestions view(embedded);
    view.setNames(names);
    view.setSelectedIndex(0);
    return onPanelBackground(view, embedded ? 400 : 440, scheme, [&] {
        if (then) then(view);
    });
}

// The pointer over row `index`.
void hover(rows::ListSuggestions& view, int index) {
    const QPointF at = view.rowRect(index).center();
    QMouseEvent move(QEvent::MouseMove, at, view.rowsView()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view.rowsView(), &move);
}

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        all.push_back(
            {named(u"suggestions-floating"_s, scheme), [=] { return suggestions(someLists, false, scheme); }});
        all.push_back({named(u"suggestions-floating-scrolled"_s, scheme), [=] {
                           return suggestions(twelveLists, false, scheme,
                                              [](rows::ListSuggestions& view) { view.setSelectedIndex(9); });
                       }});
        all.push_back({named(u"suggestions-embedded"_s, scheme), [=] { return suggestions(someLists, true, scheme); }});
        all.push_back({named(u"suggestions-hover-and-selected"_s, scheme), [=] {
                           return suggestions(someLists, false, scheme, [](rows::ListSuggestions& view) {
                               view.setSelectedIndex(1);
                               hover(view, 2);
                           });
                       }});
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
