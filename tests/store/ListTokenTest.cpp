#include "store/ListToken.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace tavlin::store;
using namespace Qt::StringLiterals;
using tavlin::platform::TextRange;

namespace {

TEST(ListTokenTest, TrailingTokenIsAHashTagThatEndsTheText) {
    struct Case {
        QString text;
        std::optional<TextRange> token;
    };
    const std::vector<Case> cases = {
        {u"#"_s, TextRange{0, 1}},
        {u"#work"_s, TextRange{0, 5}},
        {u"buy #wo"_s, TextRange{4, 3}},
        {u"buy #"_s, TextRange{4, 1}},
        {u"buy;#wo"_s, TextRange{4, 3}},
        {u"buy\n#wo"_s, TextRange{4, 3}},
        {u"buy\u00a0#wo"_s, TextRange{4, 3}},  // a no-break space is white space too
        {u"a #b #c"_s, TextRange{5, 2}},
        {u"buy #\u00e9picerie"_s, TextRange{4, 9}},  // letters of any script
        {u"buy #\u65e5\u672c"_s, TextRange{4, 3}},
        {u"buy #to_do-2"_s, TextRange{4, 8}},
        {u"buy milk"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"mail#box"_s, std::nullopt},
        {u"buy #wo "_s, std::nullopt},
        {u"buy #wo\n"_s, std::nullopt},
        {u"buy #wo!"_s, std::nullopt},
        {u"buy #ab#c"_s, std::nullopt},
        {u"\U0001f600#wo"_s, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ListToken::trailingToken(c.text), c.token);
    }
}

TEST(ListTokenTest, SuggestionsPutPrefixMatchesFirstAndOfferEachListOnce) {
    struct Case {
        QString token;
        QStringList lists;
        QStringList suggested;
    };
    const std::vector<Case> cases = {
        {u"#wo"_s, {u"Homework"_s, u"Network"_s, u"Work"_s}, {u"Work"_s, u"Homework"_s, u"Network"_s}},
        {u"#"_s, {u"Work"_s, u"Home"_s}, {u"Work"_s, u"Home"_s}},
        {u"#WO"_s, {u"work"_s}, {u"work"_s}},
        {u"#workst"_s, {u"Work Stuff"_s, u"Work"_s}, {u"Work Stuff"_s}},
        {u"#\u00e9"_s, {u"Home"_s, u"Errands"_s, u"\u00c9picerie"_s}, {u"Errands"_s, u"\u00c9picerie"_s, u"Home"_s}},
        {u"#\u05e2\u05d1\u05d5\u05d3"_s,
         {u"\u05e2\u05b2\u05d1\u05d5\u05b9\u05d3\u05b8\u05d4"_s},
         {u"\u05e2\u05b2\u05d1\u05d5\u05b9\u05d3\u05b8\u05d4"_s}},  // Hebrew points do not count
        {u"#xyz"_s, {u"Work"_s}, {}},
        {u"#wo"_s, {}, {}},
        // One list per key, the first of them; none for an empty key.
        {u"#caf"_s, {u"Caf\u00e9"_s, u"Cafe"_s}, {u"Caf\u00e9"_s}},
        {u"#"_s, {u"Home"_s, u"Work"_s, u"home"_s, u"Errands"_s}, {u"Home"_s, u"Work"_s, u"Errands"_s}},
        {u"#"_s, {u"!!!"_s, u"Work"_s, u"\u2605"_s, u" "_s}, {u"Work"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.token + u" in "_s + c.lists.join(u", "_s)).toStdString());
        EXPECT_EQ(ListToken::suggestions(c.token, c.lists), c.suggested);
    }
}

}  // namespace
