#pragma once

#include <QString>

namespace tavlin::platform {

// The shortest decimal text that reads back as exactly `value`, with a
// point even when whole: "52.37", "100.0", "-0.5", "0.0". Below 1e-4 and
// above 2^53 (where whole numbers stop being exact) in exponent form:
// "1e-05", "1.5e+300". Infinities and NaN as "inf", "-inf" and "nan".
QString decimalText(double value);

}  // namespace tavlin::platform
