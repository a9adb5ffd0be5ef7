#include "platform/CharacterSet.h"

#include <gtest/gtest.h>

using namespace tavlin::platform;

TEST(CharacterSet, NamedSets) {
    struct Case {
        char32_t c;
        bool whitespace;
        bool newline;
    };
    const Case cases[] = {
        {U' ', true, false},    {U'\t', true, false},  {0x00A0, true, false},  {0x2003, true, false},
        {0x3000, true, false},  {U'\n', false, true},  {U'\r', false, true},   {0x000B, false, true},
        {0x000C, false, true},  {0x0085, false, true}, {0x2028, false, true},  {0x2029, false, true},
        {0x200B, false, false}, {U'a', false, false},  {0xFEFF, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.c));
        EXPECT_EQ(CharacterSet::whitespaces().contains(c.c), c.whitespace);
        EXPECT_EQ(CharacterSet::newlines().contains(c.c), c.newline);
        EXPECT_EQ(CharacterSet::whitespacesAndNewlines().contains(c.c), c.whitespace || c.newline);
    }
}

TEST(CharacterSet, FromCharactersAndUnion) {
    const CharacterSet dots = CharacterSet::fromCharacters(QStringLiteral(".😀"));
    EXPECT_TRUE(dots.contains(U'.'));
    EXPECT_TRUE(dots.contains(0x1F600)) << "a surrogate pair is one member";
    EXPECT_FALSE(dots.contains(0xD83D));
    const CharacterSet both = dots.united(CharacterSet::newlines());
    EXPECT_TRUE(both.contains(U'\n'));
    EXPECT_TRUE(both.contains(U'.'));
    EXPECT_FALSE(dots.contains(U'\n')) << "union leaves its operands alone";
}
