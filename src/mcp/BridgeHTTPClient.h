#pragma once

#include "mcp/MCPStdioBridge.h"

#include <QNetworkAccessManager>

namespace tavlin::mcp {

// The bridge's HTTP client: one POST at a time, waited for on a local event
// loop, straight to the loopback address (no proxy), 60 s at most.
class BridgeHTTPClient {
public:
    static constexpr int timeoutMs = 60000;

    BridgeHTTPClient();
    MCPStdioBridge::Transfer post(const QByteArray& body, const QUrl& url, const QString& token);

private:
    QNetworkAccessManager network_;
};

}  // namespace tavlin::mcp
