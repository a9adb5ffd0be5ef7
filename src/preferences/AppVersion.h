#pragma once

#include <QString>

#include <optional>

namespace tavlin::preferences {

// The text of the settings' "Version" row: the version, a blank and the
// build number in parentheses ("1.4 (27)"), each "?" when it is missing.
QString appVersionString(const std::optional<QString>& version, const std::optional<QString>& buildNumber);
// The project's version and the build number: the one given when the build
// was configured (TAVLIN_BUILD_NUMBER), else the commit count of the
// checkout it was built from.
QString appVersionString();

}  // namespace tavlin::preferences
