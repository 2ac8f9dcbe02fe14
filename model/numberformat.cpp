#include "model/numbertext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace kelvora {

namespace {

// 15 significant digits of |value| and the decimal exponent of the first.
struct Decimal15 {
    char digits[15];
    int exponent;
};

// Splits to_chars' scientific form "d[.ddd]e+XX" into digits and exponent.
int splitScientific(const char* buf, const char* end, char* digits, int& exponent) {
    int n = 0;
    const char* p = buf;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.') digits[n++] = *p;
    int exp = 0;
    std::from_chars(p + 2, end, exp);
    exponent = p[1] == '-' ? -exp : exp;
    return n;
}

Decimal15 exactDecimal15(double magnitude) {
    char buf[40];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14).ptr;
    Decimal15 d{};
    splitScientific(buf, end, d.digits, d.exponent);
    return d;
}

__extension__ typedef unsigned __int128 U128;

constexpr std::array<std::uint64_t, 21> kPow5 = [] {
    std::array<std::uint64_t, 21> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
    return p;
}();
constexpr std::uint64_t kE14 = 100000000000000ULL, kE15 = 1000000000000000ULL;

constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

// Powers of ten from 1e-3 to 1e15 as doubles: the decades results live in.
constexpr std::array<double, 19> kDecades{1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,  1e5, 1e6,
                                          1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// x / 10^k with a constant divisor in each case, which compiles to a
// multiplication instead of a slow 64-bit division.
template <std::size_t... K>
std::uint64_t divPow10(std::uint64_t x, std::size_t k, std::index_sequence<K...>) {
    std::uint64_t q = 0;
    ((k == K ? (q = x / kPow10[K], true) : false) || ...);
    return q;
}
std::uint64_t divPow10(std::uint64_t x, std::size_t k) {
    return divPow10(x, k, std::make_index_sequence<kPow10.size()>{});
}

// In those decades the exact binary value times a power of ten fits 128
// bits, so its 15-digit rounding (half to even, as to_chars does) is integer
// arithmetic: magnitude ~ digits * 10^(e - 14). False outside them.
bool integerFifteen(double magnitude, std::uint64_t& digits, int& e) {
    if (!(magnitude >= kDecades.front() && magnitude < kDecades.back())) return false;
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t m = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int q = static_cast<int>(bits >> 52) - 1075;  // magnitude = m * 2^q
    // log10(2) ~ 1233 / 4096 guesses the decade from the binary exponent,
    // at most one too low; the table settles it.
    int decade = (((q + 52) * 1233) >> 12) + 3;
    decade = std::clamp(decade, 0, static_cast<int>(kDecades.size()) - 2);
    while (decade > 0 && magnitude < kDecades[decade]) --decade;
    while (magnitude >= kDecades[decade + 1]) ++decade;
    e = decade - 3;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int s = 14 - e, shift = -(q + s);
        const U128 n = static_cast<U128>(m) * kPow5[s];
        U128 whole = n >> shift;
        if (whole >= kE15) return false;
        if (whole < kE14) {  // magnitude is just below the decimal power
            --e;
            continue;
        }
        const U128 rest = n - (whole << shift), half = static_cast<U128>(1) << (shift - 1);
        if (rest > half || (rest == half && (whole & 1))) ++whole;
        if (whole == kE15) {
            whole = kE14;
            ++e;
        }
        digits = static_cast<std::uint64_t>(whole);
        return true;
    }
    return false;
}

bool integerDecimal15(double magnitude, Decimal15& d) {
    std::uint64_t digits = 0;
    if (!integerFifteen(magnitude, digits, d.exponent)) return false;
    for (int i = 14; i >= 0; --i, digits /= 10) d.digits[i] = static_cast<char>('0' + digits % 10);
    return true;
}

Decimal15 decimal15(double magnitude) {
    Decimal15 d{};
    if (integerDecimal15(magnitude, d)) return d;
    return exactDecimal15(magnitude);
}

// Digits of round(|value| * 10^places), half away from zero, on the 15-digit
// form, without leading zeros (empty for zero). `buf` holds 400 chars.
std::string_view roundedDigits(const Decimal15& d, int places, char* buf) {
    const int keep = d.exponent + 1 + places;
    if (keep < 0) return {};
    buf[0] = '0';  // room for a carry
    for (int i = 0; i < keep; ++i) buf[i + 1] = i < 15 ? d.digits[i] : '0';
    if (keep < 15 && d.digits[keep] >= '5') {
        int i = keep;
        for (; buf[i] == '9'; --i) buf[i] = '0';
        ++buf[i];
    }
    int first = 0;
    while (first <= keep && buf[first] == '0') ++first;
    return {buf + first, static_cast<std::size_t>(keep + 1 - first)};
}

// The usual case: the rounded value fits 64 bits as round(|value| * 10^places).
// Writes into `buf` (64 chars) and returns the length, or -1 when the value
// or the pattern needs the general path.
int formatFast(double value, std::size_t places, bool hasPoint, std::string_view separator,
               char* buf) {
    std::uint64_t fifteen = 0;
    int e = 0;
    if (places > 15 || separator.size() > 16 || !integerFifteen(std::fabs(value), fifteen, e))
        return -1;
    const int keep = e + 1 + static_cast<int>(places);  // digits of the scaled value
    if (keep > 19) return -1;
    std::uint64_t scaled = 0;
    if (keep >= 15)
        scaled = fifteen * kPow10[keep - 15];
    else if (keep >= 0)
        scaled = divPow10(fifteen + 5 * kPow10[14 - keep], 15 - keep);

    char* p = buf;
    if (value < 0) *p++ = '-';
    const std::uint64_t whole = divPow10(scaled, places);
    std::uint64_t frac = scaled - whole * kPow10[places];
    if (whole) p = std::to_chars(p, buf + 24, whole).ptr;
    if (hasPoint) {
        for (char c : separator) *p++ = c;
        if (frac) {
            std::size_t len = places;
            for (; frac % 10 == 0; frac /= 10) --len;
            char* const end = p + len;
            for (char* d = end; d != p; frac /= 10) *--d = static_cast<char>('0' + frac % 10);
            p = end;
        }
    }
    return static_cast<int>(p - buf);
}

}  // namespace

void appendPattern(std::string& out, double value, std::string_view pattern,
                   std::string_view separator) {
    const auto dot = pattern.find('.');
    const bool hasPoint = dot != std::string_view::npos;
    std::size_t places = 0;
    if (hasPoint)
        for (char ch : pattern.substr(dot + 1)) places += ch == '#';
    if (!std::isfinite(value)) return;
    char fast[64];
    if (const int n = formatFast(value, places, hasPoint, separator, fast); n >= 0) {
        out.append(fast, static_cast<std::size_t>(n));
        return;
    }
    char buf[400];
    const std::string_view digits = roundedDigits(decimal15(std::fabs(value)), places, buf);
    const std::size_t intLen = digits.size() > places ? digits.size() - places : 0;
    std::string_view frac = digits.substr(intLen);
    while (!frac.empty() && frac.back() == '0') frac.remove_suffix(1);
    const std::size_t leadingZeros = places - (digits.size() - intLen);
    if (value < 0) out.push_back('-');  // even when it rounds to nothing: "-."
    out.append(digits.substr(0, intLen));
    if (hasPoint) {
        out.append(separator);
        if (!frac.empty()) out.append(leadingZeros, '0').append(frac);
    }
}

std::string formatPattern(double value, std::string_view pattern, std::string_view separator) {
    std::string out;
    appendPattern(out, value, pattern, separator);
    return out;
}

std::string fifteenDigitForm(double value) {
    const Decimal15 d = decimal15(std::fabs(value));
    char buf[32];
    char* p = buf;
    *p++ = d.digits[0];
    *p++ = '.';
    for (int i = 1; i < 15; ++i) *p++ = d.digits[i];
    *p++ = 'e';
    *p++ = d.exponent < 0 ? '-' : '+';
    const int e = std::abs(d.exponent);
    if (e < 10) *p++ = '0';
    p = std::to_chars(p, buf + sizeof buf, e).ptr;
    return std::string(buf, p);
}

namespace {

// Between 1e-3 and 1e15 "%.15g" is fixed notation: the 15-digit form
// without its trailing zeros, placed around the point by its exponent.
std::string plainFixed(bool negative, std::uint64_t digits, int e, std::string_view separator) {
    int count = 15;
    for (; digits % 10 == 0; digits /= 10) --count;
    char significant[16];
    std::to_chars(significant, significant + sizeof significant, digits);
    const std::string_view d(significant, static_cast<std::size_t>(count));
    std::string out = negative ? "-" : "";
    if (e < 0) {
        out.append("0").append(separator).append(static_cast<std::size_t>(-e - 1), '0').append(d);
    } else if (count <= e + 1) {
        out.append(d).append(static_cast<std::size_t>(e + 1 - count), '0');
    } else {
        out.append(d.substr(0, e + 1)).append(separator).append(d.substr(e + 1));
    }
    return out;
}

}  // namespace

std::string plainNumberText(double value, std::string_view separator) {
    if (value == 0) value = 0;  // no "-0"
    std::uint64_t digits = 0;
    int e = 0;
    if (integerFifteen(std::fabs(value), digits, e) && e < 15)  // 9.99...e14 may round to 1e15
        return plainFixed(value < 0, digits, e, separator);
    char buf[40];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15).ptr;
    std::string out;
    for (const char* p = buf; p != end; ++p) {
        if (*p == '.')
            out.append(separator);
        else
            out.push_back(*p == 'e' ? 'E' : *p);
    }
    return out;
}

std::string signedNumberText(double value) {
    std::string digits = plainNumberText(value, ".");
    return digits.front() == '-' ? digits : " " + digits;
}

}  // namespace kelvora
