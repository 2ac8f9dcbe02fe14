#include "model/numbertext.h"

#include "model/floatconv.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kelvora {

namespace {

// 15 significant digits of |value| and the decimal exponent of the first.
struct Decimal15 {
    char digits[15];
    int exponent;
};

// Splits the scientific form "d[.ddd]e+XX" into digits and exponent.
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

Decimal15 decimal15(double magnitude) {
    const std::string text = floatconv::scientific(magnitude, 14);
    Decimal15 d{};
    splitScientific(text.data(), text.data() + text.size(), d.digits, d.exponent);
    return d;
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

}  // namespace

void appendPattern(std::string& out, double value, std::string_view pattern,
                   std::string_view separator) {
    const auto dot = pattern.find('.');
    const bool hasPoint = dot != std::string_view::npos;
    std::size_t places = 0;
    if (hasPoint)
        for (char ch : pattern.substr(dot + 1)) places += ch == '#';
    if (!std::isfinite(value)) return;
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

std::string plainNumberText(double value, std::string_view separator) {
    if (value == 0) value = 0;  // no "-0"
    std::string out;
    for (char c : floatconv::general(value, 15)) {
        if (c == '.')
            out.append(separator);
        else
            out.push_back(c == 'e' ? 'E' : c);
    }
    return out;
}

std::string shortestNumberText(double value) {
    return floatconv::shortest(value);
}

std::string signedNumberText(double value) {
    std::string digits = plainNumberText(value, ".");
    return digits.front() == '-' ? digits : " " + digits;
}

}  // namespace kelvora
