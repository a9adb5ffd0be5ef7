#include "parsing/ListTag.h"

#include "parsing/TextHelpers.h"

#include <algorithm>
#include <vector>

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;

namespace {

// The keys of the user's lists. The same names come with every keystroke,
// though rarely in the same list object: each thread keeps the last keys.
QStringList listKeys(const QStringList& listNames) {
    struct Kept {
        QStringList names;
        QStringList keys;
    };
    thread_local Kept kept;
    if (kept.names != listNames) {
        kept.names = listNames;
        kept.keys.clear();
        for (const QString& name : listNames) kept.keys.append(normalizedKey(name));
    }
    return kept.keys;
}

}  // namespace

std::optional<QString> extractList(QString& text, const QStringList& listNames, ListTagChoice choice) {
    if (listNames.isEmpty() || !text.contains(u'#')) return std::nullopt;
    static const auto tag = compileRegex(u"(?:^|\\s)#([\\p{L}\\p{N}_-]+)"_s);
    if (!tag) return std::nullopt;
    const QStringList keys = listKeys(listNames);

    std::optional<QString> named;
    std::vector<platform::TextRange> taken;
    for (const platform::RegexMatch& match : tag->matches(text)) {
        if (!match.range(1).isFound()) continue;
        const QString key = normalizedKey(match.captured(text, 1));
        const auto found = std::find_if(
            keys.begin(), keys.end(), [&key](const QString& listKey) { return !listKey.isEmpty() && listKey == key; });
        if (found == keys.end()) continue;
        named = listNames[found - keys.begin()];
        taken.push_back(match.range());
        if (choice == ListTagChoice::first) break;
    }
    if (!named) return std::nullopt;
    // From the end, so that the ranges still ahead keep their places.
    for (auto range = taken.rbegin(); range != taken.rend(); ++range) text.remove(range->location, range->length);
    text = collapseWhitespace(text);
    return named;
}

}  // namespace tavlin::parsing::QuickAddParser
