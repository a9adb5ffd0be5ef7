// The list's selection as the panel holds it: a new selection signals only
// the properties it changes.

#include "panel/RowSelection.h"

#include <gtest/gtest.h>
#include <QStringList>

using namespace tavlin::panel;

TEST(RowSelectionTest, ANewSelectionSignalsOnlyWhatItChanges) {
    RowSelection selection;
    QStringList heard;
    QObject::connect(&selection, &RowSelection::selectedIndexChanged, [&] { heard << QStringLiteral("cursor"); });
    QObject::connect(&selection, &RowSelection::selectedIndexesChanged, [&] { heard << QStringLiteral("rows"); });
    QObject::connect(&selection, &RowSelection::selectionAnchorChanged, [&] { heard << QStringLiteral("anchor"); });

    struct Step {
        const char* name;
        ListSelection next;
        QStringList heard;
    };
    const Step steps[] = {
        {"one row", ListSelection::only(2), {"cursor", "rows", "anchor"}},
        {"the same again", ListSelection::only(2), {}},
        {"a range from the same anchor", {3, {2, 3}, 2}, {"cursor", "rows"}},
        {"none", ListSelection::none(), {"cursor", "rows", "anchor"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        heard.clear();
        selection.setSelection(step.next);
        EXPECT_EQ(heard, step.heard);
        EXPECT_EQ(selection.selection(), step.next);
    }
    selection.setSelection(ListSelection::only(1));
    heard.clear();
    selection.clear();
    EXPECT_EQ(selection.selection(), ListSelection::none());
    EXPECT_EQ(heard, (QStringList{"cursor", "rows", "anchor"}));
}
