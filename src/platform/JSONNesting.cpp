#include "platform/JSONNesting.h"

namespace tavlin::platform {

bool jsonNestsDeeperThan(QByteArrayView text, std::size_t levels) {
    std::size_t depth = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > levels) return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

}  // namespace tavlin::platform
