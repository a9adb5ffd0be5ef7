#include "parsing/ParserVocabulary.h"

namespace tavlin::parsing {

using namespace Qt::StringLiterals;

const ParserVocabulary& ParserVocabulary::greek() {
    static const ParserVocabulary table{
        .dateFunctionWords = {
            u"σήμερα", u"αύριο", u"μεθαύριο", u"απόψε", u"τώρα", u"αμέσως", u"επόμενη", u"επόμενο",
            u"επόμενος", u"ερχόμενη", u"αυτή", u"αυτό", u"αυτόν", u"τέλος", u"τέλους", u"αρχή", u"αρχές",
            u"στο", u"στη", u"στην", u"στον", u"στις", u"στα", u"σε", u"πριν", u"μετά", u"μέχρι", u"ως",
            u"έως", u"από", u"εντός", u"μέρα", u"μέρες", u"ημέρα", u"ημέρες", u"εβδομάδα", u"εβδομάδες",
            u"σαββατοκύριακο", u"μήνα", u"μήνας", u"χρόνο", u"χρόνος", u"έτος", u"βράδυ", u"πρωί", u"απόγευμα",
            u"μεσημέρι", u"μεσάνυχτα", u"νύχτα", u"ώρα", u"ώρες", u"μισή", u"τέταρτο", u"λεπτά", u"λεπτό",
            u"του", u"της", u"το", u"τη", u"την", u"τον", u"οι", u"ο", u"η"
        },
        .pastMarkers = {u"χθες", u"χτες", u"εχθές", u"προχθές", u"προχτές"},
        .timeWords = {u"βράδυ", u"πρωί", u"απόγευμα", u"μεσημέρι", u"μεσάνυχτα", u"νύχτα", u"ώρα", u"ώρες"},
        .connectors = {
            u"στο", u"στη", u"στην", u"στον", u"στις", u"στα", u"σε", u"πριν", u"μετά", u"μέχρι", u"από",
            u"το", u"τη", u"την", u"του", u"της"
        },
        .locationMarkers = {u"στο", u"στη", u"στην", u"στον", u"στα", u"στις", u"σε", u"κοντά", u"δίπλα"},
        .leaveWords = {u"φεύγω", u"φύγω", u"αφήνω", u"αποχωρώ"},
        .locationLeadIns = {u"όταν", u"ενώ", u"μόλις", u"εγώ", u"είμαι", u"εμείς"},
        .articles = {
            u"ο", u"η", u"το", u"τη", u"οι", u"τα", u"του", u"της", u"των", u"τον", u"την", u"ένα", u"μια",
            u"έναν", u"από"
        },
        .priorityWords = {
            u"επείγον", u"επείγουσα", u"σημαντικό", u"σημαντική", u"προτεραιότητα", u"υψηλή", u"μεσαία",
            u"χαμηλή", u"κρίσιμο"
        },
        .listGlue = {u"στη", u"στο", u"λίστα", u"μου"},
        .radiusPrepositions = {u"εντός", u"μέσα"},
        .radiusUnitWords = {u"μέτρα", u"μέτρο", u"μέτρων"},
        .partitiveWords = {},
        .homeSynonyms = {u"σπίτι", u"σπιτι"},
        .workSynonyms = {u"δουλειά", u"γραφείο"},
        .purposeMarkers = {u"για να", u"επειδή", u"και μετά"},
        .taskWrappers = {},
        .durationMarkers = {u"σε", u"μέσα σε"},
        .minuteUnitWords = {u"λεπτό", u"λεπτά", u"λεπτο", u"λεπτα"},
        .hourUnitWords = {u"ώρα", u"ώρες", u"ωρα", u"ωρες"},
        .dayUnitWords = {u"μέρα", u"μέρες", u"μερα", u"μερες", u"ημέρα", u"ημέρες", u"ημερα", u"ημερες"},
        .weekUnitWords = {u"εβδομάδα", u"εβδομάδες", u"εβδομαδα", u"εβδομαδες"},
        .halfWords = {},
        .oneAndAHalfWords = {},
        .halfHourUnitWords = {},
        .oneWords = {},
        .clockMarkers = {},
        .ordinalSuffixes = {},
        .quarterWords = {},
        .pastDirectionWords = {},
        .toDirectionWords = {},
        .clockHourWords = {},
        .halfHourDirection = std::nullopt,
        .recurrenceGrammars =
            {
                RecurrenceGrammar{
                    .everyWords = {u"κάθε"},
                    .alternateWords = {},
                    .defaultInterval = 1,
                    .nextWords = {},
                    .dayWords = {u"μέρα", u"μέρες", u"ημέρα", u"ημέρες"},
                    .weekWords = {u"εβδομάδα", u"εβδομάδες"},
                    .monthWords = {u"μήνα", u"μήνες"},
                    .yearWords = {u"χρόνο", u"χρόνια", u"έτος", u"έτη"},
                    .weekdayNames = {},
                    .weekdayIndex = {},
                    .everyPhraseRegex = {},
                },
            },
        .dailyWords = {u"καθημερινά"},
        .weeklyWords = {u"εβδομαδιαίως"},
        .monthlyWords = {u"μηνιαίως"},
        .yearlyWords = {u"ετησίως"},
        .cadenceAdverbRegex = {},
        .languageCodes = {u"el"_s},
    };
    return table;
}

}  // namespace tavlin::parsing
