#include "mcp/HTTPResponse.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace tavlin::mcp {

namespace {

struct Reason {
    int status;
    QStringView phrase;
};

constexpr std::array reasons{
    Reason{200, u"OK"},
    Reason{202, u"Accepted"},
    Reason{204, u"No Content"},
    Reason{400, u"Bad Request"},
    Reason{401, u"Unauthorized"},
    Reason{403, u"Forbidden"},
    Reason{404, u"Not Found"},
    Reason{405, u"Method Not Allowed"},
    Reason{413, u"Content Too Large"},
    Reason{415, u"Unsupported Media Type"},
    Reason{431, u"Request Header Fields Too Large"},
    Reason{500, u"Internal Server Error"},
    Reason{501, u"Not Implemented"},
};

QString reasonPhrase(int status) {
    const auto found =
        std::find_if(reasons.begin(), reasons.end(), [status](const Reason& r) { return r.status == status; });
    if (found == reasons.end()) return u"Status "_s + QString::number(status);
    return found->phrase.toString();
}

}  // namespace

HTTPResponse HTTPResponse::text(int status, const QString& message, Headers extraHeaders) {
    Headers headers{{u"Content-Type"_s, u"text/plain; charset=utf-8"_s}};
    headers.insert(headers.end(), std::make_move_iterator(extraHeaders.begin()),
                   std::make_move_iterator(extraHeaders.end()));
    return {status, std::move(headers), (message + u'\n').toUtf8()};
}

QByteArray HTTPResponse::serialize() const {
    QString head = u"HTTP/1.1 "_s + QString::number(status) + u' ' + reasonPhrase(status) + u"\r\n"_s;
    for (const auto& [name, value] : headers) head += name + u": "_s + value + u"\r\n"_s;
    head += u"Content-Length: "_s + QString::number(body.size()) + u"\r\n"_s;
    head += u"Connection: keep-alive\r\n\r\n"_s;
    return head.toUtf8() + body;
}

}  // namespace tavlin::mcp
