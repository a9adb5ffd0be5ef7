// The edit of a row as the panel holds it: the picker's highlight and
// dismissal start afresh with each text and each opening, and a closing
// keeps the text that is saved.

#include "panel/InlineEdit.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tavlin::panel;

TEST(InlineEditAlone, ANewTextOrANewOpeningStartsThePickerAfresh) {
    InlineEdit edit;
    edit.open(u"a"_s, u"milk #gro"_s, u"tomorrow"_s);
    EXPECT_EQ(edit.editingID(), u"a"_s);
    EXPECT_TRUE(edit.editFieldFocused());
    EXPECT_FALSE(edit.isChanged());

    edit.setEditListSuggestionIndex(2);
    edit.setEditingText(u"milk #gr"_s);
    EXPECT_EQ(edit.editListSuggestionIndex(), 0) << "the highlight follows the names the new text offers";
    EXPECT_TRUE(edit.isChanged());

    edit.setEditListSuggestionIndex(1);
    edit.setEditingText(u"milk #gr"_s);
    EXPECT_EQ(edit.editListSuggestionIndex(), 1) << "the same text is no change";

    edit.setEditListPickerDismissedText(u"milk #gr"_s);
    edit.open(u"b"_s, u"bread"_s, std::nullopt);
    EXPECT_EQ(edit.editListSuggestionIndex(), 0);
    EXPECT_EQ(edit.editListPickerDismissedText(), std::nullopt);
    EXPECT_EQ(edit.editingPreviousDateText(), std::nullopt);
    EXPECT_EQ(edit.editingOriginalText(), u"bread"_s);

    edit.setEditingText(u"rye bread"_s);
    edit.close();
    EXPECT_EQ(edit.editingID(), std::nullopt);
    EXPECT_FALSE(edit.editFieldFocused());
    EXPECT_EQ(edit.editingText(), u"rye bread"_s) << "what the closing saves";
    EXPECT_TRUE(edit.isChanged());
}
