// The number rules on any text, against plain re-statements of them. The
// track-number question takes only a whole number: blanks, then a signed
// decimal or an unsigned hexadecimal after "$", "x", "X", "0x" or "0X",
// nothing after the digits, within 32 bits. The magic text rule gives the
// same value for such a text and, for any other, the digits read before the
// first character that does not belong.
#include "FuzzSupport.h"
#include "IntegerRule.h"

#include <charconv>
#include <string_view>

namespace {

struct Reading {
    std::string_view digits; // as far as they go
    std::string_view rest;   // what follows them
    bool hex = false;
    bool negative = false;
};

Reading Read(std::string_view text) {
    Reading r;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.starts_with("0x") || text.starts_with("0X")) {
        r.hex = true;
        text.remove_prefix(2);
    } else if (!text.empty() &&
               (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        r.hex = true;
        text.remove_prefix(1);
    } else if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        r.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view allowed = r.hex ? "0123456789abcdefABCDEF" : "0123456789";
    const std::size_t n = std::min(text.find_first_not_of(allowed), text.size());
    r.digits = text.substr(0, n);
    r.rest = text.substr(n);
    return r;
}

std::optional<std::uint64_t> ValueOf(std::string_view digits, int base) {
    std::uint64_t v = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt; // beyond 64 bits is beyond 32 bits too
    return v;
}

std::optional<std::int32_t> ReferenceTrackNumber(std::string_view text) {
    const Reading r = Read(text);
    if (r.digits.empty() || !r.rest.empty())
        return std::nullopt;
    const std::optional<std::uint64_t> v = ValueOf(r.digits, r.hex ? 16 : 10);
    if (!v)
        return std::nullopt;
    const std::uint64_t limit = r.hex ? 0xFFFFFFFFu : (r.negative ? 0x80000000u : 0x7FFFFFFFu);
    if (*v > limit)
        return std::nullopt;
    const std::uint32_t bits =
        r.negative ? 0u - static_cast<std::uint32_t>(*v) : static_cast<std::uint32_t>(*v);
    return static_cast<std::int32_t>(bits);
}

// The magnitude of the longest run of leading digits that stays within range.
std::int32_t ReferenceMagicInteger(std::string_view text) {
    if (std::optional<std::int32_t> whole = ReferenceTrackNumber(text))
        return *whole;
    const Reading r = Read(text);
    const std::uint64_t limit = r.hex ? 0xFFFFFFFFu : (r.negative ? 0x80000000u : 0x7FFFFFFFu);
    std::string_view digits = r.digits;
    while (!digits.empty()) {
        const std::optional<std::uint64_t> v = ValueOf(digits, r.hex ? 16 : 10);
        if (v && *v <= limit)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
        digits.remove_suffix(1);
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> number = ParseTrackNumber(text);
    FUZZ_CHECK(number == ReferenceTrackNumber(text));
    FUZZ_CHECK(ParseMagicInteger(text) == ReferenceMagicInteger(text));
    if (number)
        FUZZ_CHECK(ParseMagicInteger(text) == *number);
    return 0;
}
