#include "parsing/ListTag.h"

#include "parsing/TextHelpers.h"

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

std::optional<QString> extractList(QString& text, const QStringList& listNames) {
    if (listNames.isEmpty() || !text.contains(u'#')) return std::nullopt;
    static const auto tag = compileRegex(u"(?:^|\\s)#([\\p{L}\\p{N}_-]+)"_s);
    if (!tag) return std::nullopt;
    const QStringList keys = listKeys(listNames);

    for (const platform::RegexMatch& match : tag->matches(text)) {
        if (!match.range(1).isFound()) continue;
        const QString key = normalizedKey(match.captured(text, 1));
        for (qsizetype i = 0; i < listNames.size(); ++i) {
            if (keys[i].isEmpty() || keys[i] != key) continue;
            text.remove(match.range().location, match.range().length);
            text = collapseWhitespace(text);
            return listNames[i];
        }
    }
    return std::nullopt;
}

}  // namespace tavlin::parsing::QuickAddParser
