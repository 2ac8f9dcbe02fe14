#include "model/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kelvora {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text as if blanks, tabs and line feeds were not there.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) { skipBlanks(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void next() {
        ++pos_;
        skipBlanks();
    }
    bool take(char c) {
        if (peek() != c) return false;
        next();
        return true;
    }
    bool takeEither(char a, char b) { return take(a) || take(b); }
    // A mark to come back to when what follows turns out not to continue the number.
    std::size_t mark() const { return pos_; }
    void reset(std::size_t mark) { pos_ = mark; }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Saturating exponent: anything beyond this decides overflow or underflow alone.
constexpr std::int64_t kExponentCap = 100000000;

NumberReading fromDecimal(bool negative, std::string_view intDigits, std::string_view fracDigits,
                          std::int64_t exponent) {
    const auto firstNonZero = [](std::string_view s) { return s.find_first_not_of('0'); };
    std::int64_t magnitude;  // decimal exponent of the leading significant digit
    if (auto i = firstNonZero(intDigits); i != std::string_view::npos) {
        magnitude = static_cast<std::int64_t>(intDigits.size() - i) - 1 + exponent;
    } else if (auto f = firstNonZero(fracDigits); f != std::string_view::npos) {
        magnitude = -static_cast<std::int64_t>(f) - 1 + exponent;
    } else {
        return {negative ? -0.0 : 0.0, false};
    }
    if (magnitude > 400) return {0, true};
    if (magnitude < -400) return {negative ? -0.0 : 0.0, false};

    // Typical fields fit the stack buffer; only very long texts allocate.
    char small[128];
    std::string big;
    const std::size_t need = intDigits.size() + fracDigits.size() + 24;
    char* const buf = need <= sizeof small ? small : (big.resize(need), big.data());
    char* end = buf;
    const auto put = [&end](std::string_view s) {
        for (char ch : s) *end++ = ch;
    };
    put(intDigits.empty() ? "0" : intDigits);
    if (!fracDigits.empty()) {
        put(".");
        put(fracDigits);
    }
    put("e");
    end = std::to_chars(end, buf + need, exponent).ptr;
    double value = 0;
    if (std::from_chars(buf, end, value).ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return {0, true};
        value = 0;  // underflow is ignored
    }
    return {negative ? -value : value, false};
}

NumberReading readDecimal(Cursor& c) {
    bool negative = false;
    if (c.take('-'))
        negative = true;
    else
        c.take('+');
    std::string intDigits, fracDigits;
    while (isDigit(c.peek())) {
        intDigits.push_back(c.peek());
        c.next();
    }
    if (c.peek() == '.') {
        c.next();
        while (isDigit(c.peek())) {
            fracDigits.push_back(c.peek());
            c.next();
        }
    }
    if (intDigits.empty() && fracDigits.empty()) return {0, false};
    std::int64_t exponent = 0;
    const auto beforeExponent = c.mark();
    if (c.takeEither('E', 'e')) {
        bool expNegative = false;
        if (c.take('-'))
            expNegative = true;
        else
            c.take('+');
        if (!isDigit(c.peek())) {
            c.reset(beforeExponent);
        } else {
            while (isDigit(c.peek())) {
                if (exponent < kExponentCap) exponent = exponent * 10 + (c.peek() - '0');
                c.next();
            }
            if (expNegative) exponent = -exponent;
        }
    }
    return fromDecimal(negative, intDigits, fracDigits, exponent);
}

// &H and &O: the digits are an unsigned binary magnitude, rounded to the
// nearest double by the hex-float reader; octal is regrouped to hex first.
NumberReading readRadix(Cursor& c, int bitsPerDigit) {
    const int radix = 1 << bitsPerDigit;
    std::string bits;
    while (!c.atEnd() && digitValue(c.peek()) < radix) {
        const int v = digitValue(c.peek());
        for (int b = bitsPerDigit - 1; b >= 0; --b) bits.push_back(((v >> b) & 1) ? '1' : '0');
        c.next();
    }
    const auto first = bits.find('1');
    if (first == std::string::npos) return {0, false};
    bits.erase(0, first);
    if (bits.size() > 1024) return {0, true};
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int v = 0;
        for (int k = 0; k < 4; ++k) v = v * 2 + (bits[i + k] - '0');
        hex.push_back("0123456789abcdef"[v]);
    }
    double value = 0;
    auto [ptr, ec] =
        std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    (void)ptr;
    if (ec != std::errc()) return {0, true};
    return {value, false};
}

// 15 significant digits of |value| and the decimal exponent of the first.
struct Decimal15 {
    char digits[15];
    int exponent;
};

Decimal15 decimal15(double magnitude) {
    char buf[40];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    (void)ec;
    Decimal15 d{};
    d.digits[0] = buf[0];
    for (int i = 1; i < 15; ++i) d.digits[i] = buf[i + 1];
    int exp = 0;
    std::from_chars(buf + 18, end, exp);  // after "d.dddddddddddddde" and the sign
    d.exponent = buf[17] == '-' ? -exp : exp;
    return d;
}

// Digits of round(|value| * 10^places), half away from zero, on the 15-digit form.
std::string scaledDigits(const Decimal15& d, int places) {
    const int keep = d.exponent + 1 + places;
    if (keep < 0) return "0";
    std::string out;
    out.reserve(static_cast<std::size_t>(keep) + 2);
    for (int i = 0; i < keep; ++i) out.push_back(i < 15 ? d.digits[i] : '0');
    if (keep < 15 && d.digits[keep] >= '5') {
        int i = keep - 1;
        for (; i >= 0 && out[i] == '9'; --i) out[i] = '0';
        if (i >= 0)
            ++out[i];
        else
            out.insert(out.begin(), '1');
    }
    return out.empty() ? "0" : out;
}

}  // namespace

NumberReading readNumber(std::string_view text) {
    Cursor c(text);
    if (c.peek() == '&') {
        const auto start = c.mark();
        c.next();
        if (c.takeEither('H', 'h')) return readRadix(c, 4);
        if (c.takeEither('O', 'o')) return readRadix(c, 3);
        c.reset(start);
        return {0, false};
    }
    return readDecimal(c);
}

std::string formatPattern(double value, std::string_view pattern, std::string_view separator) {
    const auto dot = pattern.find('.');
    const bool hasPoint = dot != std::string_view::npos;
    int places = 0;
    if (hasPoint)
        for (char ch : pattern.substr(dot + 1)) places += ch == '#';
    if (!std::isfinite(value)) return "";

    std::string digits = scaledDigits(decimal15(std::fabs(value)), places);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() < static_cast<std::size_t>(places))
        digits.insert(0, places - digits.size(), '0');
    const std::size_t intLen = digits.size() - places;

    std::string out;
    out.reserve(digits.size() + separator.size() + 1);
    if (value < 0) out.push_back('-');  // even when it rounds to nothing: "-."
    out.append(digits, 0, intLen);
    if (hasPoint) {
        std::string_view frac(digits.data() + intLen, places);
        while (!frac.empty() && frac.back() == '0') frac.remove_suffix(1);
        out.append(separator).append(frac);
    }
    return out;
}

std::string plainNumberText(double value, std::string_view separator) {
    if (value == 0) value = 0;  // no "-0"
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    (void)ec;
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
