#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::hebrew() {
    static const ParserVocabulary table{
        .dateFunctionWords = {u"היום",    u"מחר",     u"מחרתיים", u"הערב",  u"הלילה",  u"הבוקר",   u"עכשיו", u"מיד",
                              u"בקרוב",   u"הבא",     u"הבאה",    u"הקרוב", u"הקרובה", u"הזה",     u"הזאת",  u"זה",
                              u"סוף",     u"בסוף",    u"סופש",    u"תחילת", u"בתחילת", u"אמצע",    u"עד",    u"לפני",
                              u"אחרי",    u"אחר",     u"של",      u"תוך",   u"בתוך",   u"במשך",    u"עוד",   u"יום",
                              u"ימים",    u"יומיים",  u"שבוע",    u"השבוע", u"שבועות", u"שבועיים", u"חודש",  u"החודש",
                              u"חודשים",  u"חודשיים", u"שנה",     u"השנה",  u"שנים",   u"בוקר",    u"בבוקר", u"צהריים",
                              u"הצהריים", u"בצהריים", u"ערב",     u"בערב",  u"לילה",   u"בלילה",   u"חצות",  u"שעה",
                              u"בשעה",    u"שעות",    u"דקה",     u"דקות",  u"חצי",    u"וחצי",    u"רבע",   u"ורבע",
                              u"ראשון",   u"שני",     u"שלישי",   u"רביעי", u"חמישי",  u"שישי",    u"שבת"},
        .pastMarkers = {u"אתמול", u"שלשום", u"אמש"},
        .timeWords = {u"בוקר", u"בבוקר", u"הבוקר", u"צהריים", u"הצהריים", u"בצהריים", u"ערב", u"בערב", u"הערב", u"לילה",
                      u"בלילה", u"הלילה", u"חצות", u"שעה", u"בשעה"},
        .connectors = {u"עד", u"לפני", u"אחרי", u"של", u"את", u"אל", u"ליד", u"אצל", u"בשעה", u"ביום", u"בתאריך"},
        .locationMarkers = {u"ליד", u"אצל", u"קרוב", u"בסביבת", u"מול"},
        .leaveWords = {u"עוזב", u"עוזבת", u"אעזוב", u"כשאעזוב", u"יוצא", u"יוצאת", u"אצא", u"כשאצא", u"בצאתי"},
        .locationLeadIns = {u"כאשר", u"כשאני", u"כשאנחנו", u"שאני", u"אני", u"אנחנו", u"בזמן", u"ברגע"},
        .articles = {u"את", u"של"},
        .priorityWords = {u"דחוף", u"דחופה", u"בדחיפות", u"חשוב", u"חשובה", u"עדיפות", u"גבוהה", u"בינונית", u"נמוכה",
                          u"קריטי", u"קריטית", u"מיידי"},
        .listGlue = {u"לרשימה", u"לרשימת", u"הרשימה", u"רשימה", u"רשימת", u"שלי", u"אל"},
        .radiusPrepositions = {u"בתוך", u"תוך", u"ברדיוס", u"במרחק"},
        .radiusUnitWords = {u"מטר", u"מטרים"},
        .partitiveWords = {},
        .homeSynonyms = {u"בית", u"הבית", u"בבית", u"ביתי", u"הביתה"},
        .workSynonyms = {u"עבודה", u"העבודה", u"בעבודה", u"משרד", u"המשרד", u"במשרד"},
        .purposeMarkers = {u"כדי", u"בשביל", u"כי", u"ואז", u"על מנת"},
        .taskWrappers = {},
        .durationMarkers = {u"בעוד", u"תוך", u"בתוך"},
        .minuteUnitWords = {u"דקה", u"דקות"},
        .hourUnitWords = {u"שעה", u"שעות"},
        .dayUnitWords = {u"יום", u"ימים"},
        .weekUnitWords = {u"שבוע", u"שבועות"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {u"בשעה"},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"כל", u"בכל"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"יום", u"ימים"},
                    .weekWords = {u"שבוע", u"שבועות"},
                    .monthWords = {u"חודש", u"חודשים"},
                    .yearWords = {u"שנה", u"שנים"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {},
        .weeklyWords = {},
        .monthlyWords = {},
        .yearlyWords = {},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"he"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
