#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace tavlin::mcp {

// What the AI tools server and its clients agree on, in mcp.json: the bearer
// token every request carries and, while the server listens, its port.
struct MCPConfiguration {
    QString token;
    std::optional<quint16> port;

    // $XDG_DATA_HOME/Tavlin/mcp.json, with ~/.local/share when the variable
    // is unset or not an absolute path, so that a client started with only
    // HOME in its environment finds the same file.
    static QString filePath();
    // The lock file beside mcp.json that a running Tavlin holds.
    static QString instanceLockPath();

    // Creates each missing folder of `path` with mode 0700.
    [[nodiscard]] static std::optional<QString> createPrivateFolder(const QString& path);

    // 64 lower-case hexadecimal digits of 32 random bytes.
    static QString makeToken();

    // The file's content; nothing when it is missing, is not JSON, or holds a
    // "token" that is no string or a "port" that is no integer 0 … 65535.
    static std::optional<MCPConfiguration> read(const QString& path);
    // The token of the file at `path`, or a new one when the file holds none
    // that a client could present (empty, or with blanks or control characters
    // at the ends or inside that a header cannot carry).
    static QString launchToken(const QString& path);

    // Writes the file so that no reader sees half of it and nobody but the
    // owner can ever read it: a temporary file created with mode 0600,
    // synced, then renamed over the old one; a folder we create is 0700.
    // Sorted keys, pretty-printed; "port" only when there is one. The error
    // says what failed.
    [[nodiscard]] std::optional<QString> save(const QString& path) const;

    // http://127.0.0.1:<port>/mcp; nothing without a port.
    static std::optional<QUrl> serverURL(std::optional<quint16> port);

    // The client configuration in the "mcpServers" form that AI clients
    // share: `executable` (an absolute path) started with "--mcp", as JSON
    // with sorted keys, indented by two, slashes as they are.
    static QString clientConfigSnippet(const QString& executable);
    // The setup prompt for an AI assistant: the standard input/output way
    // through `executable`, then the HTTP way through `serverURL` (the
    // default port's when there is none) with the token read from the file
    // at `configurationPath`. It never holds the token itself.
    static QString setupInstructions(const QString& executable, const std::optional<QUrl>& serverURL,
                                     const QString& configurationPath);

    bool operator==(const MCPConfiguration&) const = default;
};

}  // namespace tavlin::mcp
