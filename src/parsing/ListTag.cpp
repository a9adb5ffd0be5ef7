#include "parsing/QuickAddParser.h"

#include "parsing/Memo.h"

namespace tavlin::parsing::QuickAddParser {

using namespace Qt::StringLiterals;

namespace {

// The keys of the user's lists, made once for each list of names.
QStringList listKeys(const QStringList& listNames) {
    static Memo<QStringList> keys;
    return keys.get(
        [&] {
            QStringList made;
            made.reserve(listNames.size());
            for (const QString& name : listNames) made.append(normalizedKey(name));
            return made;
        },
        listNames);
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
