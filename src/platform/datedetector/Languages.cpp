#include "platform/datedetector/Languages.h"

namespace tavlin::platform::datedetector {

const std::vector<const DetectorLanguage*>& detectorLanguages() {
    static const std::vector<const DetectorLanguage*> languages{
        &englishDates(),   &dutchDates(),      &germanDates(),    &frenchDates(),   &spanishDates(),
        &italianDates(),   &portugueseDates(), &polishDates(),    &danishDates(),   &swedishDates(),
        &norwegianDates(), &czechDates(),      &romanianDates(),  &croatianDates(), &greekDates(),
        &turkishDates(),   &finnishDates(),    &hungarianDates(), &hebrewDates(),   &swahiliDates(),
    };
    return languages;
}

}  // namespace tavlin::platform::datedetector
