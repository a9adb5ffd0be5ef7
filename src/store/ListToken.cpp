#include "store/ListToken.h"

#include "parsing/TextHelpers.h"
#include "platform/CodePoints.h"
#include "platform/Regex.h"
#include "platform/Text.h"

#include <QSet>

#include <utility>
#include <vector>

namespace tavlin::store::ListToken {

using namespace Qt::StringLiterals;
using parsing::normalizedKey;
using platform::TextRange;

namespace {

// The code point just before `index`, as a one-character text.
QString characterBefore(const QString& text, qsizetype index) {
    const platform::CodePoint c = platform::codePointBefore(text, index, 0);
    return text.mid(c.index, c.length);
}

bool mayPrecedeToken(const QString& character) {
    return character == u";"_s || platform::isWhitespaceCharacter(character);
}

}  // namespace

std::optional<TextRange> trailingToken(const QString& text) {
    // \z rather than $: the token must reach the very end, not stop before a final line break.
    static const platform::Regex token = *platform::Regex::compile(u"#[\\p{L}\\p{N}_-]*\\z"_s);
    const std::optional<platform::RegexMatch> match = token.firstMatch(text);
    if (!match) return std::nullopt;
    const TextRange range = match->range();
    if (range.location == 0 || mayPrecedeToken(characterBefore(text, range.location))) return range;
    return std::nullopt;
}

QStringList suggestions(const QString& token, const QStringList& listNames) {
    std::vector<std::pair<QString, QString>> unique;  // name and key
    QSet<QString> keys;
    for (const QString& name : listNames) {
        QString key = normalizedKey(name);
        if (key.isEmpty() || keys.contains(key)) continue;
        keys.insert(key);
        unique.emplace_back(name, std::move(key));
    }

    const QString query = normalizedKey(token);
    QStringList byPrefix;
    QStringList byContainment;
    for (const auto& [name, key] : unique) {
        if (key.startsWith(query)) byPrefix.append(name);
        else if (key.contains(query)) byContainment.append(name);
    }
    return byPrefix + byContainment;
}

}  // namespace tavlin::store::ListToken
