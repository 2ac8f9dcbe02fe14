#include "model/floatconv.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

namespace kelvora::floatconv {

namespace {

// The shortest round-trip digits and the decimal exponent of the first.
struct Shortest {
    bool negative = false;
    std::string digits;  // no leading or trailing zeros; "0" for zero
    int exponent = 0;
};

// fmt writes the shortest digits as "ddd.ddd", "0.000ddd" or "d.ddde±XX".
Shortest shortestDigits(double value) {
    const std::string text = fmt::format("{}", value);
    Shortest s;
    std::size_t i = 0;
    if (text[i] == '-') {
        s.negative = true;
        ++i;
    }
    int pointAt = -1, exponent = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] == '.')
            pointAt = static_cast<int>(s.digits.size());
        else
            s.digits.push_back(text[i]);
    }
    if (i < text.size()) exponent = std::atoi(text.c_str() + i + 1);
    if (pointAt < 0) pointAt = static_cast<int>(s.digits.size());
    const std::size_t first = s.digits.find_first_not_of('0');
    if (first == std::string::npos) return {s.negative, "0", 0};
    s.exponent = pointAt - static_cast<int>(first) - 1 + exponent;
    s.digits.erase(0, first);
    s.digits.erase(s.digits.find_last_not_of('0') + 1);
    return s;
}

// An integer is spelled exactly, as printf("%.0f") does: beyond 2^53 its
// digits are not the shortest ones padded with zeros.
std::string asFixed(const Shortest& s, double value) {
    std::string out = s.negative ? "-" : "";
    const int n = static_cast<int>(s.digits.size());
    if (s.exponent < 0) return out + "0." + std::string(-s.exponent - 1, '0') + s.digits;
    if (s.exponent + 1 >= n) return fmt::format("{:.0f}", value);
    return out + s.digits.substr(0, s.exponent + 1) + "." + s.digits.substr(s.exponent + 1);
}

std::string asScientific(const Shortest& s) {
    std::string out = s.negative ? "-" : "";
    out += s.digits[0];
    if (s.digits.size() > 1) out += "." + s.digits.substr(1);
    const int e = std::abs(s.exponent);
    return out + (s.exponent < 0 ? "e-" : "e+") + (e < 10 ? "0" : "") + std::to_string(e);
}

bool special(double value, std::string& out) {
    if (std::isnan(value)) out = std::signbit(value) ? "-nan" : "nan";
    else if (std::isinf(value)) out = value < 0 ? "-inf" : "inf";
    else return false;
    return true;
}

}  // namespace

std::string scientific(double value, int precision) {
    return fmt::format("{:.{}e}", value, precision);
}

std::string general(double value, int precision) {
    return fmt::format("{:.{}g}", value, precision);
}

std::string shortest(double value) {
    std::string out;
    if (special(value, out)) return out;
    const Shortest s = shortestDigits(value);
    std::string fixed = asFixed(s, value), sci = asScientific(s);
    return sci.size() < fixed.size() ? sci : fixed;  // a tie goes to fixed
}

std::string shortestFixed(double value) {
    std::string out;
    if (special(value, out)) return out;
    return asFixed(shortestDigits(value), value);
}

Read readDecimal(std::string_view text) {
    Read r;
    double value = 0;
    const auto result = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc()) return r;
    r.length = static_cast<std::size_t>(result.ptr - text.data());
    const std::string_view read = text.substr(0, r.length);
    const bool spelled = read.find_first_of("iInN") != std::string_view::npos;  // inf, nan
    const bool nonZero = read.find_first_of("123456789") < read.find_first_of("eE");
    if ((std::isinf(value) && !spelled) || (value == 0 && nonZero)) {
        r.status = ReadStatus::OutOfRange;
        return r;
    }
    r.value = value;
    r.status = ReadStatus::Ok;
    return r;
}

}  // namespace kelvora::floatconv
