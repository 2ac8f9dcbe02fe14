#include "model/numbertext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/floatconv.h"

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

// The number's characters without blanks: on the stack for ordinary
// fields, on the heap only for very long texts.
class NumberBuffer {
  public:
    void push(char c) {
        if (size_ < sizeof small_)
            small_[size_] = c;
        else
            spill(c);
        ++size_;
    }
    void truncate(std::size_t size) {
        size_ = size;
        if (size_ <= sizeof small_)
            big_.clear();
        else
            big_.resize(size_);
    }
    std::size_t size() const { return size_; }
    const char* data() const { return size_ <= sizeof small_ ? small_ : big_.data(); }
    std::string_view view() const { return {data(), size_}; }

  private:
    void spill(char c) {
        if (big_.empty()) big_.assign(small_, sizeof small_);
        big_.push_back(c);
    }
    char small_[64];
    std::string big_;
    std::size_t size_ = 0;
};

// Decimal exponent of the leading significant digit of "[-]int[.frac][e[-]exp]",
// saturated far beyond any double; decides overflow against underflow.
std::int64_t magnitude(std::string_view number) {
    if (!number.empty() && number.front() == '-') number.remove_prefix(1);
    const std::size_t e = std::min(number.find('e'), number.size());
    const std::string_view mantissa = number.substr(0, e);
    std::int64_t exponent = 0;
    std::string_view exp = e < number.size() ? number.substr(e + 1) : std::string_view();
    const bool negative = !exp.empty() && exp.front() == '-';
    if (negative) exp.remove_prefix(1);
    for (char d : exp) exponent = std::min<std::int64_t>(exponent * 10 + (d - '0'), 1000000000);
    if (negative) exponent = -exponent;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) return 0;
    const auto offset = static_cast<std::int64_t>(point) - static_cast<std::int64_t>(first);
    return (first < point ? offset - 1 : offset) + exponent;
}

void takeDigits(Cursor& c, NumberBuffer& b) {
    while (isDigit(c.peek())) {
        b.push(c.peek());
        c.next();
    }
}

NumberReading readDecimal(Cursor& c) {
    NumberBuffer b;
    if (c.take('-'))
        b.push('-');
    else
        c.take('+');
    const std::size_t signLen = b.size();
    takeDigits(c, b);
    std::size_t digits = b.size() - signLen;
    if (c.take('.')) {
        b.push('.');
        const std::size_t before = b.size();
        takeDigits(c, b);
        digits += b.size() - before;
    }
    if (digits == 0) return {0, false, false};
    const std::size_t mantissaLen = b.size();
    const auto beforeExponent = c.mark();
    if (c.takeEither('E', 'e')) {
        b.push('e');
        if (c.take('-'))
            b.push('-');
        else
            c.take('+');
        if (isDigit(c.peek())) {
            takeDigits(c, b);
        } else {
            b.truncate(mantissaLen);
            c.reset(beforeExponent);
        }
    }
    const floatconv::Read read = floatconv::readDecimal(b.view());
    double value = read.value;
    if (read.status == floatconv::ReadStatus::OutOfRange) {
        if (magnitude(b.view()) > 0) return {0, true, true};
        value = signLen ? -0.0 : 0.0;  // underflow is ignored
    }
    return {value, false, true};
}

// An unsigned binary integer (no leading zero), rounded to the nearest
// double, ties to even; infinity beyond the largest.
double binaryToDouble(const std::string& bits) {
    const std::size_t n = bits.size();
    std::uint64_t top = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(n, 53); ++i) top = top * 2 + (bits[i] == '1');
    if (n <= 53) return static_cast<double>(top);
    const bool half = bits[53] == '1';
    const bool beyond = bits.find('1', 54) != std::string::npos;
    if (half && (beyond || (top & 1))) ++top;  // 2^53 after a carry is still exact
    return std::ldexp(static_cast<double>(top), static_cast<int>(n - 53));
}

// &H and &O: the digits are an unsigned binary magnitude, rounded to the
// nearest double.
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
    const double value = binaryToDouble(bits);
    if (std::isinf(value)) return {0, true};
    return {value, false};
}

}  // namespace

NumberReading readNumber(std::string_view text) {
    Cursor c(text);
    NumberReading r;
    if (c.peek() == '&') {
        const auto start = c.mark();
        c.next();
        const int bits = c.takeEither('H', 'h') ? 4 : c.takeEither('O', 'o') ? 3 : 0;
        if (bits == 0) {
            c.reset(start);
            return r;
        }
        const auto digits = c.mark();
        r = readRadix(c, bits);
        r.number = c.mark() != digits;
    } else {
        const auto start = c.mark();
        r = readDecimal(c);
        r.number = c.mark() != start && r.number;
    }
    r.end = r.number ? c.mark() : 0;
    r.whole = r.number && c.atEnd();
    return r;
}

}  // namespace kelvora
