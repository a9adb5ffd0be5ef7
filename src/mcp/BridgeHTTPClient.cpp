#include "mcp/BridgeHTTPClient.h"

#include "platform/Text.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUtf8StringView>

using namespace Qt::StringLiterals;

namespace tavlin::mcp {

using namespace MCPStdioBridge;

namespace {

// The errors that mean nothing listens, or the server went away.
bool meansUnreachable(QNetworkReply::NetworkError error) {
    return error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError ||
           error == QNetworkReply::RemoteHostClosedError;
}

Transfer interpret(QNetworkReply& reply) {
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (meansUnreachable(reply.error())) return Unreachable{};
        if (reply.error() == QNetworkReply::ProtocolFailure)
            return Failure{u"Tavlin answered with something other than HTTP."_s};
        return Failure{u"Couldn't reach Tavlin: "_s + reply.errorString()};
    }
    const QByteArray body = reply.readAll();
    switch (status.toInt()) {
    case 200: return Reply{body};
    case 202:
    case 204: return Silence{};
    case 401: return Failure{u"Tavlin refused the token in mcp.json. Quit and reopen Tavlin, then try again."_s};
    default: break;
    }
    QString message = u"Tavlin answered "_s + QString::number(status.toInt());
    const QString text = platform::trimmedWhitespaceAndNewlines(QString::fromUtf8(body));
    if (QUtf8StringView(body).isValidUtf8() && !text.isEmpty()) message += u": "_s + text;
    return Failure{message};
}

}  // namespace

BridgeHTTPClient::BridgeHTTPClient() {
    network_.setProxy(QNetworkProxy::NoProxy);
    network_.setTransferTimeout(timeoutMs);
}

Transfer BridgeHTTPClient::post(const QByteArray& body, const QUrl& url, const QString& token) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"application/json"_s);
    request.setRawHeader("Accept", "application/json");
    request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    QNetworkReply* reply = network_.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    const Transfer transfer = interpret(*reply);
    reply->deleteLater();
    return transfer;
}

}  // namespace tavlin::mcp
