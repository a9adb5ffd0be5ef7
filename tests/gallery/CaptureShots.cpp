// A candidate reminder of a captured text, alone on the panel: one whose
// line sets more than its title, with the chips of its reading, and one
// that is a bare title. Each in the
// light and the dark palette.

#include "Gallery.h"

#include "rows/CaptureCandidateRow.h"

using namespace Qt::StringLiterals;

namespace tavlin::gallery {

namespace {

QString named(const QString& name, Scheme scheme) { return scheme == Scheme::dark ? name + u"-dark"_s : name; }

QImage candidate(const QString& text, Scheme scheme) {
    rows::CaptureCandidateRow row;
    row.setText(text);
    row.setChips(chipsOf(reading(text)));
    return onPanelBackground(row, 520, scheme);
}

const Shots shots{[] {
    std::vector<Shot> all;
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        all.push_back({named(u"candidate-row-plain"_s, scheme),
                       [=] { return candidate(u"Call the dentist tomorrow at 9"_s, scheme); }});
        all.push_back(
            {named(u"candidate-row-bare-title"_s, scheme), [=] { return candidate(u"Water the plants"_s, scheme); }});
    }
    return all;
}};

}  // namespace

}  // namespace tavlin::gallery
