#include "platform/VCardContacts.h"

#include "platform/Log.h"
#include "platform/Text.h"
#include "platform/XdgPaths.h"
#include "platform/eventstore/ICalendarComponent.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

// One line of a card, once unfolded: "item1.ADR;TYPE=home:;;1 Main St;…".
struct ContentLine {
    QString group;
    QString name;       // upper case
    QStringList types;  // the TYPE values, lower case
    QString value;      // still escaped
};

// Splits at `separator` where it stands outside double quotes.
QStringList splitOutsideQuotes(const QString& text, QChar separator) {
    QStringList parts{QString()};
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"') quoted = !quoted;
        if (c == separator && !quoted) parts << QString();
        else parts.back() += c;
    }
    return parts;
}

// Splits a value at `separator` where it is not escaped; the parts stay
// escaped.
QStringList splitUnescaped(const QString& value, QChar separator) {
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            parts.back() += value[i];
            parts.back() += value[++i];
        } else if (value[i] == separator) {
            parts << QString();
        } else {
            parts.back() += value[i];
        }
    }
    return parts;
}

QString unescaped(const QString& value) { return QString::fromUtf8(unescapeText(value.toUtf8())); }

QStringList unfoldedLines(const QByteArray& text) {
    QString unfolded = QString::fromUtf8(text);
    unfolded.replace(u"\r\n"_s, u"\n"_s);
    static const QRegularExpression fold(u"\n[ \t]"_s);
    unfolded.replace(fold, QString());
    return unfolded.split(u'\n', Qt::SkipEmptyParts);
}

std::optional<ContentLine> contentLine(const QString& line) {
    const QStringList headAndValue = splitOutsideQuotes(line, u':');
    if (headAndValue.size() < 2) return std::nullopt;
    ContentLine content{.value = line.mid(headAndValue.front().size() + 1)};
    QStringList head = splitOutsideQuotes(headAndValue.front(), u';');
    const QString qualifiedName = head.takeFirst();
    const qsizetype dot = qualifiedName.indexOf(u'.');
    content.group = dot < 0 ? QString() : qualifiedName.left(dot).toLower();
    content.name = qualifiedName.mid(dot + 1).toUpper();
    for (const QString& parameter : head) {
        const qsizetype equals = parameter.indexOf(u'=');
        // A bare parameter ("ADR;HOME:") is a type, as vCard 2.1 writes it.
        if (equals >= 0 && parameter.left(equals).compare(u"TYPE"_s, Qt::CaseInsensitive) != 0) continue;
        for (QString type : splitOutsideQuotes(parameter.mid(equals + 1), u','))
            content.types << type.remove(u'"').trimmed().toLower();
    }
    return content;
}

// "_$!<Home>!$_", the form some address books export, is the label within.
QString customLabel(const QString& text) {
    static const QRegularExpression wrapped(u"^_\\$!<(.*)>!\\$_$"_s);
    const QRegularExpressionMatch match = wrapped.match(text);
    return match.hasMatch() ? match.captured(1).toLower() : text;
}

QString addressLabel(const ContentLine& adr, const QHash<QString, QString>& groupLabels) {
    if (!adr.group.isEmpty() && groupLabels.contains(adr.group)) return customLabel(groupLabels[adr.group]);
    if (adr.types.contains(Contacts::homeLabel())) return Contacts::homeLabel();
    if (adr.types.contains(Contacts::workLabel())) return Contacts::workLabel();
    static const QStringList notLabels{u"pref"_s, u"postal"_s, u"parcel"_s, u"dom"_s, u"intl"_s};
    for (const QString& type : adr.types)
        if (!notLabels.contains(type)) return type;
    return QString();
}

PostalAddress postalAddress(const QString& value) {
    // PO box; extended address; street; city; state; postal code; country.
    QStringList parts = splitUnescaped(value, u';');
    while (parts.size() < 7) parts << QString();
    const auto text = [](const QString& component) {
        QStringList items = splitUnescaped(component, u',');
        for (QString& item : items) item = unescaped(item).trimmed();
        items.removeAll(QString());
        return items.join(u'\n');
    };
    return {.street = text(parts[2]),
            .city = text(parts[3]),
            .state = text(parts[4]),
            .postalCode = text(parts[5]),
            .country = text(parts[6])};
}

Contact contact(const std::vector<ContentLine>& lines, const QString& fallbackIdentifier) {
    Contact card{.identifier = fallbackIdentifier};
    QHash<QString, QString> groupLabels;
    for (const ContentLine& line : lines)
        if (line.name == u"X-ABLABEL"_s && !line.group.isEmpty()) groupLabels.insert(line.group, unescaped(line.value));
    for (const ContentLine& line : lines) {
        if (line.name == u"UID"_s && !line.value.trimmed().isEmpty()) {
            card.identifier = line.value.trimmed();
        } else if (line.name == u"N"_s) {
            const QStringList parts = splitUnescaped(line.value, u';');
            card.familyName = unescaped(parts.value(0)).trimmed();
            card.givenName = unescaped(parts.value(1)).trimmed();
        } else if (line.name == u"NICKNAME"_s) {
            card.nickname = unescaped(splitUnescaped(line.value, u',').front()).trimmed();
        } else if (line.name == u"ADR"_s) {
            card.postalAddresses.push_back({.identifier = QString::number(card.postalAddresses.size()),
                                            .label = addressLabel(line, groupLabels),
                                            .address = postalAddress(line.value)});
        }
    }
    return card;
}

bool matchesName(const Contact& contact, const QString& name) {
    const QString fullName = (contact.givenName + u' ' + contact.familyName).trimmed();
    for (const QString& candidate : {contact.givenName, contact.familyName, contact.nickname, fullName})
        if (contains(candidate, name, SearchOption::CaseInsensitive | SearchOption::DiacriticInsensitive)) return true;
    return false;
}

}  // namespace

QString VCardContacts::folderFromEnvironment() {
    const QString configured = qEnvironmentVariable("TAVLIN_CONTACTS_DIR");
    if (!configured.isEmpty()) return configured;
    return dataHome() + u"/Tavlin/Contacts"_s;
}

std::vector<Contact> VCardContacts::parse(const QByteArray& text, const QString& fallbackIdentifier) {
    std::vector<Contact> cards;
    std::optional<std::vector<ContentLine>> card;
    for (const QString& line : unfoldedLines(text)) {
        const std::optional<ContentLine> content = contentLine(line);
        if (!content) continue;
        if (content->name == u"BEGIN"_s && content->value.trimmed().compare(u"VCARD"_s, Qt::CaseInsensitive) == 0) {
            card.emplace();
        } else if (content->name == u"END"_s && card) {
            cards.push_back(contact(*card, fallbackIdentifier + u'#' + QString::number(cards.size())));
            card.reset();
        } else if (card) {
            card->push_back(*content);
        }
    }
    return cards;
}

std::optional<std::vector<Contact>> VCardContacts::readAll() const {
    const QFileInfo folder(folder_);
    if (!folder.exists()) return std::vector<Contact>{};
    if (!folder.isDir() || !folder.isReadable()) {
        qCWarning(lcPlatform) << "cannot read the contacts in" << folder_;
        return std::nullopt;
    }
    std::vector<Contact> all;
    QStringList files;
    for (const QString& file : QDir(folder_).entryList({u"*.vcf"_s}, QDir::Files, QDir::Name))
        files << folder_ + u'/' + file;
    for (const QString& book : QDir(folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString& file : QDir(folder_ + u'/' + book).entryList({u"*.vcf"_s}, QDir::Files, QDir::Name))
            files << folder_ + u'/' + book + u'/' + file;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcPlatform) << "skipping the unreadable contact file" << path;
            continue;
        }
        for (Contact& card : parse(file.readAll(), QFileInfo(path).completeBaseName())) all.push_back(std::move(card));
    }
    return all;
}

Task<bool> VCardContacts::requestAccess() { co_return true; }

std::optional<std::vector<Contact>> VCardContacts::contactsMatchingName(const QString& name) {
    std::optional<std::vector<Contact>> all = readAll();
    if (all) std::erase_if(*all, [&](const Contact& contact) { return !matchesName(contact, name); });
    return all;
}

std::optional<Contact> VCardContacts::ownCard() {
    QFile me(folder_ + u"/me"_s);
    if (!me.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString identifier = QString::fromUtf8(me.readLine()).trimmed();
    if (identifier.isEmpty()) return std::nullopt;
    const std::optional<std::vector<Contact>> all = readAll();
    if (!all) return std::nullopt;
    for (const Contact& card : *all)
        if (card.identifier == identifier) return card;
    return std::nullopt;
}

}  // namespace tavlin::platform
