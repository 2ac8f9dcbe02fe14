#pragma once

// Exact, locale-independent conversions between doubles and decimal text,
// the same on every compiler and standard library (the browser's included):
// the shortest text that reads back (Dragonbox, through fmt), fixed-precision
// forms as printf writes them in the C locale, and correctly rounded reading
// (fast_float). Texts match std::to_chars and std::from_chars.

#include <string>
#include <string_view>

namespace kelvora::floatconv {

// printf("%.*e") and printf("%.*g") in the C locale.
std::string scientific(double value, int precision);
std::string general(double value, int precision);
// The shortest text that reads back to the same double, laid out as
// std::to_chars(value) does: fixed or scientific, whichever is shorter.
std::string shortest(double value);
// The same digits, always in fixed notation (std::to_chars(value, fixed));
// an integer is spelled exactly.
std::string shortestFixed(double value);

enum class ReadStatus { Ok, Invalid, OutOfRange };
struct Read {
    double value = 0;
    std::size_t length = 0;  // characters read
    ReadStatus status = ReadStatus::Invalid;
};
// A decimal number at the start of `text`, as std::from_chars(general) reads
// it: no leading space or '+'; out of range when it overflows, or when a
// non-zero number rounds to zero.
Read readDecimal(std::string_view text);

}  // namespace kelvora::floatconv
