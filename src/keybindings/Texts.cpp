#include "keybindings/Texts.h"

#include "platform/Locale.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace tavlin::KeyBindings {

namespace {

using Translations = QHash<QString, QString>;  // language code → text

const QHash<QString, Translations>& texts() {
    static const QHash<QString, Translations> table = {
        {u"space_key"_s,
         {{u"en"_s, u"Space"_s},     {u"nl"_s, u"Spatie"_s},     {u"de"_s, u"Leertaste"_s},  {u"fr"_s, u"Espace"_s},
          {u"es"_s, u"Espacio"_s},   {u"it"_s, u"Spazio"_s},     {u"pt"_s, u"Espaço"_s},     {u"pl"_s, u"Spacja"_s},
          {u"da"_s, u"Mellemrum"_s}, {u"sv"_s, u"Mellanslag"_s}, {u"nb"_s, u"Mellomrom"_s},  {u"nn"_s, u"Mellomrom"_s},
          {u"no"_s, u"Mellomrom"_s}, {u"cs"_s, u"Mezerník"_s},   {u"ro"_s, u"Spațiu"_s},     {u"hr"_s, u"Razmaknica"_s},
          {u"el"_s, u"Διάστημα"_s},  {u"tr"_s, u"Boşluk"_s},     {u"fi"_s, u"Välilyönti"_s}, {u"hu"_s, u"Szóköz"_s},
          {u"he"_s, u"רווח"_s},      {u"sw"_s, u"Nafasi"_s}}},
    };
    return table;
}

}  // namespace

QString localizedString(std::string_view key) {
    const QString name = QString::fromUtf8(key.data(), qsizetype(key.size()));
    const auto found = texts().constFind(name);
    if (found == texts().cend()) return name;
    for (const QString& language : platform::Locale::preferredLanguages()) {
        const auto text = found->constFind(language.section(u'-', 0, 0));
        if (text != found->cend()) return *text;
    }
    return found->value(u"en"_s);
}

}  // namespace tavlin::KeyBindings
