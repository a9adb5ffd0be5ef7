#include "platform/DateDetector.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// 100 UTF-16 units, with a date and a time written apart and some words
// that look like dates in other languages.
const QString kEnglishLine =
    u"Call the dentist about the crown next friday at 3pm, then pick up morgen's parcel @“Post Office” #home"_s;
const QString kGermanLine =
    u"Zahnärztin wegen der Krone anrufen, nächsten Freitag um 15 Uhr, danach Einkäufe im Café Ölmühle"_s;

const DateDetector& detector() {
    static const std::unique_ptr<DateDetector> made = DateDetector::create();
    return *made;
}

DetectionContext contextFor(QStringList languages) {
    const Calendar calendar = Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    return {.reference = Date::fromSecondsSince1970(1'787'126'400), .calendar = calendar, .languages = languages};
}

void Matches(benchmark::State& state, const QString& line, const QStringList& languages) {
    const DetectionContext context = contextFor(languages);
    for (auto _ : state) benchmark::DoNotOptimize(detector().matches(line, {0, line.size()}, context));
}

// Target: at most 0.1 ms per call.
BENCHMARK_CAPTURE(Matches, OneLanguage, kEnglishLine, QStringList{u"en"_s});
BENCHMARK_CAPTURE(Matches, ThreeLanguages, kGermanLine, (QStringList{u"de"_s, u"fr"_s, u"en"_s}));

// A line of each language, cut or padded to 100 UTF-16 units: a task, a
// day and a clock time as its speakers write them, and more words after.
// Target: at most 0.1 ms per call in every language, the line's language
// and English read.
const std::pair<const char*, QString> kLines[] = {
    {"en", u"Call the dentist about the crown next friday at 3pm, then pick up morgen's parcel @“Post Office” #home"_s},
    {"nl",
     u"Tandarts bellen over de kroon, volgende week vrijdag om kwart over 3, daarna pakket ophalen bij de buren"_s},
    {"de", u"Zahnärztin wegen der Krone anrufen, nächsten Freitag um 15 Uhr, danach Einkäufe im Café Ölmühle"_s},
    {"fr", u"Appeler le dentiste pour la couronne vendredi prochain à 15h, puis récupérer le colis chez la voisine"_s},
    {"es", u"Llamar al dentista por la corona el viernes a las 3 y cuarto, luego recoger el paquete en casa de Ana"_s},
    {"it", u"Chiamare il dentista per la corona venerdì prossimo alle 3 e un quarto, poi ritirare il pacco da Anna"_s},
    {"pt", u"Ligar para o dentista sobre a coroa na sexta às 3 e um quarto, depois buscar a encomenda na vizinha"_s},
    {"pl", u"Zadzwonić do dentysty w sprawie korony w piątek o 15:15, potem odebrać paczkę od sąsiadki z parteru"_s},
    {"da", u"Ring til tandlægen om kronen fredag kvart over 3, og hent bagefter pakken hos naboen på tredje sal"_s},
    {"sv", u"Ring tandläkaren om kronan på fredag kl. 15.15 och hämta sedan paketet hos grannen på tredje våningen"_s},
    {"nb", u"Ring tannlegen om kronen fredag kvart over 3, og hent deretter pakken hos naboen i tredje etasje nå"_s},
    {"cs", u"Zavolat zubaři kvůli korunce v pátek v 15:15, potom vyzvednout balík u sousedky ve třetím patře domu"_s},
    {"ro", u"Sună la dentist pentru coroană vineri la 3 și un sfert, apoi ridică coletul de la vecina de la etaj"_s},
    {"hr", u"Nazvati zubara zbog krunice u petak u 15:15, zatim pokupiti paket kod susjede na trećem katu zgrade"_s},
    {"el", u"Τηλέφωνο στον οδοντίατρο για τη θήκη την Παρασκευή στις 3 και τέταρτο, μετά το δέμα από τη γειτόνισσα"_s},
    {"tr", u"Kuron için dişçiyi cuma günü saat 3'ü çeyrek geçe ara, sonra kargoyu üst kattaki komşudan mutlaka al"_s},
    {"fi", u"Soita hammaslääkärille kruunusta perjantaina klo 15.15 ja hae sen jälkeen paketti naapurilta heti"_s},
    {"hu", u"Hívd fel a fogorvost a korona miatt pénteken 15:15-kor, utána hozd el a csomagot a szomszédtól is"_s},
    {"he", u"להתקשר לרופא השיניים בקשר לכתר ביום שישי ב-15:15 ואחר כך לאסוף את החבילה מהשכנה בקומה השלישית"_s},
    {"sw", u"Mpigie daktari wa meno kuhusu jino Ijumaa saa tisa na robo mchana, kisha chukua kifurushi kwa jirani"_s},
};

const bool kLinesRegistered = [] {
    for (const auto& [code, text] : kLines) {
        const QString line = text.leftJustified(100, u' ', true);
        const QStringList languages{QString::fromLatin1(code), u"en"_s};
        benchmark::RegisterBenchmark((std::string("MatchesALineOf/") + code).c_str(),
                                     [line, languages](benchmark::State& state) { Matches(state, line, languages); });
    }
    return true;
}();

void FirstMatchOfAShortText(benchmark::State& state) {
    const DetectionContext context = contextFor({u"de"_s, u"fr"_s, u"en"_s});
    const QString text = u"tomorrow"_s;
    for (auto _ : state) benchmark::DoNotOptimize(detector().firstMatch(text, {0, text.size()}, context));
}
BENCHMARK(FirstMatchOfAShortText);

}  // namespace
