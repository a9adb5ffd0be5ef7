#pragma once

#include <QString>

#include <unicode/uversion.h>
#include <memory>

U_NAMESPACE_BEGIN
class UnicodeSet;
U_NAMESPACE_END

namespace tavlin::platform {

// A set of Unicode code points, used to trim and to classify characters.
// The named sets follow the platform conventions that stored reminders and
// typed text rely on: "whitespaces" is general category Zs plus TAB, and
// "newlines" is U+000A–U+000D, U+0085, U+2028 and U+2029.
class CharacterSet {
public:
    static const CharacterSet& whitespaces();
    static const CharacterSet& newlines();
    static const CharacterSet& whitespacesAndNewlines();
    // The code points of `characters`, each counted once.
    static CharacterSet fromCharacters(const QString& characters);

    CharacterSet united(const CharacterSet& other) const;
    bool contains(char32_t codePoint) const;

    ~CharacterSet();
    CharacterSet(const CharacterSet&);
    CharacterSet& operator=(const CharacterSet&);

private:
    explicit CharacterSet(std::shared_ptr<const icu::UnicodeSet> set);
    std::shared_ptr<const icu::UnicodeSet> set_;  // frozen, so safe to share between threads
};

}  // namespace tavlin::platform
