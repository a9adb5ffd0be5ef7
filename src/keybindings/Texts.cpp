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
        // The recorder; %1 is the title of a menu item.
        {u"record_shortcut"_s,
         {{u"en"_s, u"Record Shortcut"_s},
          {u"nl"_s, u"Sneltoets opnemen"_s},
          {u"de"_s, u"Kurzbefehl aufnehmen"_s},
          {u"fr"_s, u"Enregistrer le raccourci"_s}}},
        {u"press_shortcut"_s,
         {{u"en"_s, u"Press Shortcut"_s},
          {u"nl"_s, u"Druk op de sneltoets"_s},
          {u"de"_s, u"Kurzbefehl drücken"_s},
          {u"fr"_s, u"Appuyez sur le raccourci"_s}}},
        {u"keyboard_shortcut_used_by_menu_item"_s,
         {{u"en"_s, u"This shortcut can’t be used because the menu item “%1” already uses it."_s},
          {u"nl"_s, u"Deze sneltoets kan niet worden gebruikt: het menu-onderdeel ‘%1’ gebruikt hem al."_s},
          {u"de"_s, u"Dieser Kurzbefehl kann nicht verwendet werden, weil der Menüeintrag „%1“ ihn schon verwendet."_s},
          {u"fr"_s,
           u"Ce raccourci ne peut pas être utilisé\u00A0: l’élément de menu «\u00A0%1\u00A0» l’utilise déjà."_s}}},
        {u"keyboard_shortcut_disallowed"_s,
         {{u"en"_s, u"Shortcuts made of Alt alone, or of Alt and Shift, can’t be used."_s},
          {u"nl"_s, u"Sneltoetsen met alleen Alt, of met Alt en Shift, kunnen niet worden gebruikt."_s},
          {u"de"_s, u"Kurzbefehle nur mit Alt, oder mit Alt und Umschalt, können nicht verwendet werden."_s},
          {u"fr"_s, u"Les raccourcis avec Alt seul, ou avec Alt et Maj, ne peuvent pas être utilisés."_s}}},
        {u"keyboard_shortcut_used_by_system"_s,
         {{u"en"_s, u"Another program or the desktop already uses this shortcut."_s},
          {u"nl"_s, u"Een ander programma of het bureaublad gebruikt deze sneltoets al."_s},
          {u"de"_s, u"Ein anderes Programm oder die Arbeitsumgebung verwendet diesen Kurzbefehl schon."_s},
          {u"fr"_s, u"Un autre programme ou le bureau utilise déjà ce raccourci."_s}}},
        {u"keyboard_shortcuts_can_be_changed"_s,
         {{u"en"_s, u"The desktop’s own shortcuts can be changed in its keyboard settings."_s},
          {u"nl"_s, u"De sneltoetsen van het bureaublad zijn te wijzigen in de toetsenbordinstellingen."_s},
          {u"de"_s, u"Die Kurzbefehle der Arbeitsumgebung lassen sich in ihren Tastatureinstellungen ändern."_s},
          {u"fr"_s, u"Les raccourcis du bureau se modifient dans ses réglages du clavier."_s}}},
        {u"ok"_s, {{u"en"_s, u"OK"_s}}},
        {u"force_use_shortcut"_s,
         {{u"en"_s, u"Use Anyway"_s},
          {u"nl"_s, u"Toch gebruiken"_s},
          {u"de"_s, u"Trotzdem verwenden"_s},
          {u"fr"_s, u"Utiliser quand même"_s}}},
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
