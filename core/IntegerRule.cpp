#include "IntegerRule.h"

namespace {

struct Scan {
    std::uint32_t magnitude = 0; // the digits read, as an unsigned number
    bool negative = false;
    bool digits = false;   // at least one digit was read
    bool complete = false; // the whole text was the number, nothing beyond 32 bits
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Scan ScanInteger(std::string_view text) {
    Scan s;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    } else if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        s.negative = text[i] == '-';
        ++i;
    }

    // Decimal numbers may reach 2147483647, or 2147483648 with a minus sign;
    // hexadecimal ones use all 32 bits.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (s.negative ? 0x80000000ull : 0x7FFFFFFFull);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int d = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0)
            break;
        std::uint64_t next = value * base + static_cast<unsigned>(d);
        if (next > limit)
            break;
        value = next;
        s.digits = true;
    }
    s.magnitude = static_cast<std::uint32_t>(value);
    s.complete = s.digits && i == text.size();
    return s;
}

std::int32_t ValueOf(const Scan& s) {
    std::uint32_t bits = s.negative ? 0u - s.magnitude : s.magnitude;
    return static_cast<std::int32_t>(bits);
}

} // namespace

std::int32_t ParseMagicInteger(std::string_view text) {
    Scan s = ScanInteger(text);
    if (s.complete)
        return ValueOf(s);
    return static_cast<std::int32_t>(s.magnitude);
}

std::optional<std::int32_t> ParseTrackNumber(std::string_view text) {
    Scan s = ScanInteger(text);
    if (!s.complete)
        return std::nullopt;
    return ValueOf(s);
}
