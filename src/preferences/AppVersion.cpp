#include "preferences/AppVersion.h"

#include "preferences/BuildNumber.h"

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

std::optional<QString> configured(const char* value) {
    const QString text = QString::fromUtf8(value);
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

}  // namespace

QString appVersionString(const std::optional<QString>& version, const std::optional<QString>& buildNumber) {
    return version.value_or(u"?"_s) + u" ("_s + buildNumber.value_or(u"?"_s) + u')';
}

QString appVersionString() { return appVersionString(configured(TAVLIN_VERSION), configured(TAVLIN_BUILD_NUMBER)); }

}  // namespace tavlin::preferences
