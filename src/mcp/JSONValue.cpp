#include "mcp/JSONValue.h"

#include <cmath>
#include <limits>

namespace tavlin::mcp::JSONValue {

const nlohmann::json* member(const nlohmann::json& object, const std::string& key) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::int64_t integer(const nlohmann::json& number) {
    using Limits = std::numeric_limits<std::int64_t>;
    if (number.is_number_unsigned()) {
        const auto value = number.get<std::uint64_t>();
        return value > static_cast<std::uint64_t>(Limits::max()) ? Limits::max() : static_cast<std::int64_t>(value);
    }
    if (number.is_number_integer()) return number.get<std::int64_t>();
    const double value = number.get<double>();
    // 2^63 is exact as a double; every double below it (and at or above -2^63)
    // converts without overflow.
    constexpr double twoTo63 = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= twoTo63) return Limits::max();
    if (value < -twoTo63) return Limits::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace tavlin::mcp::JSONValue
