#!/usr/bin/env python3
"""Writes the quick-add benchmark corpus: lines of realistic shape in twenty
languages, one "<language>\t<line>" a line.

A line is a title of one to six words and up to three markers (a date, a
time, a cadence, a place, possibly with a radius, a list tag, priority
marks). The words below are everyday ones; the output is the same for the
same seed.

    python3 bench/parsing/make_corpus.py > bench/parsing/quickadd-corpus.tsv
"""

import random
import sys

# Per language: title words, dates, times, cadences, place names, radius
# phrases (a place's), list tags.
LANGUAGES = {
    "en": dict(
        words="call mom buy milk dentist pay rent book flights water plants send invoice pick up kids "
              "review report renew passport clean garage fix bike email Sarah".split(),
        dates=["tomorrow", "today", "on friday", "next monday", "march 12", "in 3 days", "next week friday",
               "on the 5th", "june 3rd", "in 2 hours", "tonight", "day after tomorrow"],
        times=["at 5pm", "at 9:30", "at quarter past 3", "at noon", "at 10 to 6", "7am", "at 18:45",
               "at half past 4"],
        cadences=["every monday", "every 2 weeks", "every other day", "every month", "weekly", "daily"],
        places=["gym", "office", "home", "“Corner Shop”", "school", "the bakery"],
        radii=["200m", "within 500 m", "1km"],
        lists=["#work", "#home", "#groceries", "#errands"],
    ),
    "nl": dict(
        words="bel mama koop melk tandarts huur betalen vlucht boeken planten water geven factuur sturen "
              "kinderen ophalen rapport lezen fiets maken".split(),
        dates=["morgen", "vandaag", "vrijdag", "volgende week vrijdag", "12 maart", "over 3 dagen",
               "overmorgen", "op de 5e"],
        times=["om 17:00", "om 9 uur", "om half 5", "om kwart over 3", "om 18.45", "17u30"],
        cadences=["elke maandag", "elke 2 weken", "om de week", "wekelijks", "dagelijks"],
        places=["sportschool", "kantoor", "thuis", "“De Bakker”", "school"],
        radii=["200m", "binnen 500 m"],
        lists=["#werk", "#thuis", "#boodschappen"],
    ),
    "de": dict(
        words="Mama anrufen Milch kaufen Zahnarzt Miete zahlen Flug buchen Pflanzen gießen Rechnung "
              "schicken Kinder abholen Bericht lesen Fahrrad reparieren".split(),
        dates=["morgen", "heute", "am Freitag", "nächsten Montag", "12. März", "in 3 Tagen", "übermorgen",
               "nächste Woche Freitag"],
        times=["um 17 Uhr", "um 9:30", "um halb 5", "um Viertel nach 3", "um 18.45", "um Mittag"],
        cadences=["jeden Montag", "alle 2 Wochen", "jede Woche", "wöchentlich", "täglich"],
        places=["Fitnessstudio", "Büro", "zuhause", "„Bäckerei Müller“", "Schule"],
        radii=["200m", "innerhalb 500 m"],
        lists=["#arbeit", "#zuhause", "#einkauf"],
    ),
    "fr": dict(
        words="appeler maman acheter lait dentiste payer loyer réserver vol arroser plantes envoyer "
              "facture chercher enfants lire rapport réparer vélo".split(),
        dates=["demain", "aujourd'hui", "vendredi", "lundi prochain", "12 mars", "dans 3 jours",
               "après-demain", "le 5"],
        times=["à 17h", "à 9h30", "à 18:45", "à midi", "à 17 heures"],
        cadences=["chaque lundi", "toutes les 2 semaines", "chaque semaine", "quotidiennement"],
        places=["salle de sport", "bureau", "maison", "“Chez Paul”", "école"],
        radii=["200m", "dans 500 m"],
        lists=["#travail", "#maison", "#courses"],
    ),
    "es": dict(
        words="llamar mamá comprar leche dentista pagar alquiler reservar vuelo regar plantas enviar "
              "factura recoger niños leer informe arreglar bici".split(),
        dates=["mañana", "hoy", "el viernes", "el próximo lunes", "12 de marzo", "en 3 días", "pasado mañana"],
        times=["a las 5", "a las 17:00", "a las 9:30", "a mediodía", "a las 18h"],
        cadences=["cada lunes", "cada 2 semanas", "todos los días", "semanalmente", "a diario"],
        places=["gimnasio", "oficina", "casa", "“La Panadería”", "colegio"],
        radii=["200m", "dentro de 500 m"],
        lists=["#trabajo", "#casa", "#compras"],
    ),
    "it": dict(
        words="chiamare mamma comprare latte dentista pagare affitto prenotare volo annaffiare piante "
              "inviare fattura prendere bambini leggere rapporto".split(),
        dates=["domani", "oggi", "venerdì", "lunedì prossimo", "12 marzo", "tra 3 giorni", "dopodomani"],
        times=["alle 17", "alle 9:30", "alle ore 18", "a mezzogiorno", "alle 18:45"],
        cadences=["ogni lunedì", "ogni 2 settimane", "ogni giorno", "settimanalmente", "giornalmente"],
        places=["palestra", "ufficio", "casa", "“Il Forno”", "scuola"],
        radii=["200m", "entro 500 m"],
        lists=["#lavoro", "#casa", "#spesa"],
    ),
    "pt": dict(
        words="ligar mãe comprar leite dentista pagar aluguel reservar voo regar plantas enviar fatura "
              "buscar crianças ler relatório".split(),
        dates=["amanhã", "hoje", "sexta-feira", "na próxima segunda", "12 de março", "em 3 dias",
               "depois de amanhã"],
        times=["às 17h", "às 9:30", "às 18 horas", "ao meio-dia", "às 18:45"],
        cadences=["cada segunda", "a cada 2 semanas", "todos os dias", "semanalmente", "diariamente"],
        places=["academia", "escritório", "casa", "“A Padaria”", "escola"],
        radii=["200m", "dentro de 500 m"],
        lists=["#trabalho", "#casa", "#compras"],
    ),
    "pl": dict(
        words="zadzwonić mama kupić mleko dentysta zapłacić czynsz zarezerwować lot podlać kwiaty wysłać "
              "fakturę odebrać dzieci".split(),
        dates=["jutro", "dzisiaj", "w piątek", "w przyszły poniedziałek", "12 marca", "za 3 dni", "pojutrze"],
        times=["o 17:00", "o 9:30", "o godzinie 18", "o 18:45"],
        cadences=["co poniedziałek", "co 2 tygodnie", "każdego dnia", "codziennie"],
        places=["siłownia", "biuro", "dom", "„Piekarnia”", "szkoła"],
        radii=["200m", "w 500 m"],
        lists=["#praca", "#dom", "#zakupy"],
    ),
    "da": dict(
        words="ring mor køb mælk tandlæge betal husleje book fly vand planter send faktura hent børn "
              "læs rapport".split(),
        dates=["i morgen", "i dag", "på fredag", "næste mandag", "12. marts", "om 3 dage", "i overmorgen"],
        times=["kl. 17", "kl. 9:30", "klokken 18", "kl 18.45"],
        cadences=["hver mandag", "hver 2 uger", "hver dag", "ugentligt", "dagligt"],
        places=["fitness", "kontor", "hjemme", "“Bageriet”", "skole"],
        radii=["200m", "inden for 500 m"],
        lists=["#arbejde", "#hjem", "#indkøb"],
    ),
    "sv": dict(
        words="ring mamma köp mjölk tandläkare betala hyran boka flyg vattna blommor skicka faktura "
              "hämta barnen läs rapport".split(),
        dates=["i morgon", "idag", "på fredag", "nästa måndag", "12 mars", "om 3 dagar", "i övermorgon"],
        times=["kl. 17", "kl. 9:30", "klockan 18", "kl 18.45"],
        cadences=["varje måndag", "varje 2 veckor", "varje dag", "veckovis", "dagligen"],
        places=["gymmet", "kontoret", "hemma", "“Bageriet”", "skolan"],
        radii=["200m", "inom 500 m"],
        lists=["#jobb", "#hem", "#handla"],
    ),
    "nb": dict(
        words="ring mamma kjøp melk tannlege betal husleie bestill fly vann planter send faktura hent "
              "barna les rapport".split(),
        dates=["i morgen", "i dag", "på fredag", "neste mandag", "12. mars", "om 3 dager", "i overmorgen"],
        times=["kl. 17", "kl. 9:30", "klokka 18", "kl 18.45"],
        cadences=["hver mandag", "hver 2 uke", "hver dag", "ukentlig", "daglig"],
        places=["treningssenter", "kontoret", "hjemme", "“Bakeriet”", "skolen"],
        radii=["200m", "innenfor 500 m"],
        lists=["#jobb", "#hjem", "#handle"],
    ),
    "cs": dict(
        words="zavolat mámě koupit mléko zubař zaplatit nájem rezervovat let zalít květiny poslat "
              "fakturu vyzvednout děti".split(),
        dates=["zítra", "dnes", "v pátek", "příští pondělí", "12. března", "za 3 dny", "pozítří"],
        times=["v 17:00", "v 9:30", "v 17 hodin", "v 18:45"],
        cadences=["každý pondělí", "každé 2 týdny", "každý den", "denně", "týdně"],
        places=["posilovna", "kancelář", "doma", "„Pekárna“", "škola"],
        radii=["200m", "do 500 m"],
        lists=["#práce", "#doma", "#nákup"],
    ),
    "ro": dict(
        words="sună mama cumpără lapte dentist plătește chiria rezervă zbor udă plantele trimite "
              "factura ia copiii".split(),
        dates=["mâine", "azi", "vineri", "lunea viitoare", "12 martie", "peste 3 zile", "poimâine"],
        times=["la 17:00", "la ora 9", "la 18:45", "la ora 17"],
        cadences=["în fiecare luni", "la fiecare 2 săptămâni", "în fiecare zi", "zilnic", "săptămânal"],
        places=["sală", "birou", "acasă", "„Brutăria”", "școală"],
        radii=["200m", "în 500 m"],
        lists=["#muncă", "#acasă", "#cumpărături"],
    ),
    "hr": dict(
        words="nazvati mamu kupiti mlijeko zubar platiti najam rezervirati let zaliti biljke poslati "
              "račun pokupiti djecu".split(),
        dates=["sutra", "danas", "u petak", "sljedeći ponedjeljak", "12. ožujka", "za 3 dana", "prekosutra"],
        times=["u 17:00", "u 9:30", "u 17 sati", "u 18:45"],
        cadences=["svaki ponedjeljak", "svaka 2 tjedna", "svaki dan", "dnevno", "tjedno"],
        places=["teretana", "ured", "kuća", "„Pekara”", "škola"],
        radii=["200m", "unutar 500 m"],
        lists=["#posao", "#kuća", "#kupovina"],
    ),
    "el": dict(
        words="τηλεφώνημα μαμά αγορά γάλα οδοντίατρος πληρωμή ενοίκιο κράτηση πτήση πότισμα φυτά "
              "τιμολόγιο παιδιά".split(),
        dates=["αύριο", "σήμερα", "την Παρασκευή", "την επόμενη Δευτέρα", "12 Μαρτίου", "σε 3 ημέρες",
               "μεθαύριο"],
        times=["στις 17:00", "στις 9:30", "στις 18:45", "το μεσημέρι"],
        cadences=["κάθε Δευτέρα", "κάθε 2 εβδομάδες", "κάθε μέρα", "καθημερινά"],
        places=["γυμναστήριο", "γραφείο", "σπίτι", "“Φούρνος”", "σχολείο"],
        radii=["200m", "εντός 500 m"],
        lists=["#δουλειά", "#σπίτι", "#ψώνια"],
    ),
    "tr": dict(
        words="annemi ara süt al dişçi kira öde uçuş ayırt çiçekleri sula fatura gönder çocukları "
              "al rapor oku".split(),
        dates=["yarın", "bugün", "cuma", "gelecek pazartesi", "12 mart", "3 gün sonra", "öbür gün"],
        times=["saat 17:00", "saat 9:30", "saat 18:45", "öğlen"],
        cadences=["her pazartesi", "her 2 hafta", "her gün"],
        places=["spor salonu", "ofis", "ev", "“Fırın”", "okul"],
        radii=["200m", "500 m içinde"],
        lists=["#iş", "#ev", "#alışveriş"],
    ),
    "fi": dict(
        words="soita äidille osta maitoa hammaslääkäri maksa vuokra varaa lento kastele kukat lähetä "
              "lasku hae lapset".split(),
        dates=["huomenna", "tänään", "perjantaina", "ensi maanantaina", "12. maaliskuuta", "3 päivän päästä",
               "ylihuomenna"],
        times=["klo 17", "klo 9.30", "kello 18", "klo 18:45"],
        cadences=["joka maanantai", "joka 2 viikko", "joka päivä", "päivittäin", "viikoittain"],
        places=["kuntosali", "toimisto", "koti", "“Leipomo”", "koulu"],
        radii=["200m", "500 m sisällä"],
        lists=["#työ", "#koti", "#ostokset"],
    ),
    "hu": dict(
        words="hívd anyát vegyél tejet fogorvos fizesd lakbért foglalj repülőt locsold virágokat küldd "
              "számlát hozd gyerekeket".split(),
        dates=["holnap", "ma", "pénteken", "jövő hétfőn", "március 12", "3 nap múlva", "holnapután"],
        times=["17:00", "9:30-kor", "17 órakor", "délben"],
        cadences=["minden hétfőn", "minden 2 héten", "minden nap", "naponta", "hetente"],
        places=["edzőterem", "iroda", "otthon", "„Pékség”", "iskola"],
        radii=["200m", "500 m belül"],
        lists=["#munka", "#otthon", "#bevásárlás"],
    ),
    "he": dict(
        words="להתקשר לאמא לקנות חלב רופא שיניים לשלם שכירות להזמין טיסה להשקות עציצים לשלוח חשבונית "
              "לאסוף ילדים".split(),
        dates=["מחר", "היום", "ביום שישי", "ביום שני הבא", "12 במרץ", "בעוד 3 ימים", "מחרתיים"],
        times=["בשעה 17:00", "בשעה 9:30", "ב-18:45", "בצהריים"],
        cadences=["כל יום שני", "כל 2 שבועות", "כל יום"],
        places=["חדר כושר", "משרד", "בית", "“המאפייה”", "בית ספר"],
        radii=["200m", "בתוך 500 m"],
        lists=["#עבודה", "#בית", "#קניות"],
    ),
    "sw": dict(
        words="mpigie mama nunua maziwa daktari lipa kodi agiza ndege mwagilia mimea tuma ankara "
              "chukua watoto".split(),
        dates=["kesho", "leo", "Ijumaa", "Jumatatu ijayo", "12 Machi", "baada ya siku 3", "kesho kutwa"],
        times=["17:00", "saa 9:30", "18:45", "adhuhuri"],
        cadences=["kila Jumatatu", "kila wiki 2", "kila siku"],
        places=["gym", "ofisi", "nyumbani", "“Duka la Mikate”", "shule"],
        radii=["200m", "ndani ya 500 m"],
        lists=["#kazi", "#nyumbani", "#manunuzi"],
    ),
}

# English is read by every user, so it gets more lines: enough for a
# steady 99th percentile of its own.
LINES_PER_LANGUAGE = {"en": 400}
DEFAULT_LINES = 100


def marker(kind, table, rng):
    if kind == "priority":
        return rng.choice(["!", "!!", "!!!"])
    if kind == "place":
        place = "@" + rng.choice(table["places"])
        return place + " " + rng.choice(table["radii"]) if rng.random() < 0.4 else place
    return rng.choice(table[kind])


def line(table, rng):
    # The word lists run as short tasks ("call mom buy milk"): a title is a
    # stretch of them from the start of a task.
    words = table["words"]
    start = rng.randrange(0, len(words) - 1, 2)
    title = " ".join(words[start:start + rng.randint(1, 6)])
    kinds = rng.sample(["dates", "times", "cadences", "place", "lists", "priority"], rng.randint(0, 3))
    # An unquoted place takes the rest of the line, so it goes last.
    kinds.sort(key=lambda kind: kind == "place")
    return " ".join([title] + [marker(kind, table, rng) for kind in kinds])


def main():
    rng = random.Random(12)
    for code, table in LANGUAGES.items():
        for _ in range(LINES_PER_LANGUAGE.get(code, DEFAULT_LINES)):
            sys.stdout.write(f"{code}\t{line(table, rng)}\n")


if __name__ == "__main__":
    main()
