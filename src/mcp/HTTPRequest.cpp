#include "mcp/HTTPRequest.h"

#include "platform/Text.h"

namespace tavlin::mcp {

std::optional<QString> HTTPRequest::header(const QString& name) const {
    const auto found = headers.find(platform::lowercasedPosix(name));
    if (found == headers.end()) return std::nullopt;
    return found->second;
}

QString HTTPRequest::path() const {
    const qsizetype query = target.indexOf(u'?');
    return query < 0 ? target : target.first(query);
}

}  // namespace tavlin::mcp
