// Feeds arbitrary bytes to the request parser. Besides not crashing, the
// parser must always make progress: it asks for more bytes, returns a request
// that consumes some, or refuses them; and bytes arriving later never change
// an outcome already decided.

#include "FuzzSupport.h"
#include "mcp/HTTPRequestParser.h"

#include <cstdint>

using namespace tavlin::mcp;
using HTTPRequestParser::Incomplete;
using HTTPRequestParser::Malformed;
using HTTPRequestParser::Outcome;
using HTTPRequestParser::Request;
using tavlin::fuzz::require;

namespace {

bool isIncomplete(const Outcome& outcome) { return std::holds_alternative<Incomplete>(outcome); }

void checkRequest(QByteArrayView buffer, const Outcome& outcome, const Request& request) {
    require(request.consumed > 0 && request.consumed <= buffer.size(), "a request consumes bytes of the buffer");
    require(request.request.body.size() <= HTTPRequestParser::maxBodyBytes, "a body within the limit");
    require(HTTPRequestParser::parse(buffer.first(request.consumed)) == outcome,
            "a request is read from the bytes it consumed alone");
    require(isIncomplete(HTTPRequestParser::parse(buffer.first(request.consumed - 1))),
            "a request short of its last byte waits");
}

void checkMalformed(const Malformed& malformed) {
    const int status = malformed.status;
    require(status == 400 || status == 413 || status == 431 || status == 501, "a refusal has a status of its own");
    require(!malformed.reason.isEmpty(), "a refusal has a reason");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView buffer(data, static_cast<qsizetype>(size));
    const Outcome outcome = HTTPRequestParser::parse(buffer);
    if (const auto* request = std::get_if<Request>(&outcome)) checkRequest(buffer, outcome, *request);
    if (const auto* malformed = std::get_if<Malformed>(&outcome)) checkMalformed(*malformed);

    // The last bytes, which complete terminators, and half of the buffer.
    for (const qsizetype missing : {qsizetype{1}, qsizetype{2}, qsizetype{3}, buffer.size() / 2}) {
        if (missing > buffer.size()) continue;
        const Outcome early = HTTPRequestParser::parse(buffer.first(buffer.size() - missing));
        require(isIncomplete(early) || early == outcome, "more bytes never change a decided outcome");
    }
    return 0;
}
