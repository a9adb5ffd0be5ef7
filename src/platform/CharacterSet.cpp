#include "platform/CharacterSet.h"

#include "platform/IcuString.h"

#include <unicode/uniset.h>

namespace tavlin::platform {

namespace {

std::shared_ptr<const icu::UnicodeSet> frozen(icu::UnicodeSet set) {
    set.freeze();
    return std::make_shared<const icu::UnicodeSet>(std::move(set));
}

icu::UnicodeSet fromPattern(const char16_t* pattern) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeSet set(icu::UnicodeString(pattern), status);
    Q_ASSERT(U_SUCCESS(status));
    return set;
}

}  // namespace

CharacterSet::CharacterSet(std::shared_ptr<const icu::UnicodeSet> set) : set_(std::move(set)) {}
CharacterSet::~CharacterSet() = default;
CharacterSet::CharacterSet(const CharacterSet&) = default;
CharacterSet& CharacterSet::operator=(const CharacterSet&) = default;

const CharacterSet& CharacterSet::whitespaces() {
    static const CharacterSet set(frozen(fromPattern(u"[\\p{Zs}\\u0009]")));
    return set;
}

const CharacterSet& CharacterSet::newlines() {
    static const CharacterSet set(frozen(fromPattern(u"[\\u000A-\\u000D\\u0085\\u2028\\u2029]")));
    return set;
}

const CharacterSet& CharacterSet::whitespacesAndNewlines() {
    static const CharacterSet set = whitespaces().united(newlines());
    return set;
}

CharacterSet CharacterSet::fromCharacters(const QString& characters) {
    icu::UnicodeSet set;
    set.addAll(icuView(characters));
    return CharacterSet(frozen(std::move(set)));
}

CharacterSet CharacterSet::united(const CharacterSet& other) const {
    std::unique_ptr<icu::UnicodeSet> set(set_->cloneAsThawed());
    set->addAll(*other.set_);
    return CharacterSet(frozen(std::move(*set)));
}

bool CharacterSet::contains(char32_t codePoint) const { return set_->contains(static_cast<UChar32>(codePoint)); }

}  // namespace tavlin::platform
