#pragma once

#include <string>
#include <string_view>

namespace kelvora {

struct NumberReading {
    double value = 0;
    bool overflow = false;  // the number is too large for a double
    bool number = false;    // the text starts with a number
    bool whole = false;     // ... and holds nothing after it but blanks
    std::size_t end = 0;    // where the rest of the text starts
};

// Lenient leading-number rule: blanks, tabs and line feeds are ignored
// anywhere; the longest leading number is read (sign, digits, period,
// digits, exponent E/e; or &H / &O followed by hex or octal digits); the
// rest is ignored; no number reads as 0. Only the period is a decimal
// separator. Never fails on bad text.
NumberReading readNumber(std::string_view text);

// How a field's text is read when the rule does not read it whole, in
// French, e.g. "« 2,5 » est lu comme 2 (le séparateur décimal est le point)";
// empty when the text is one number.
std::string readingNote(std::string_view text);

// Result display: "#" digit placeholders with an optional "." for the
// decimal separator. Rounds the value's 15-significant-digit decimal form,
// halves away from zero; shows the integer part in full (nothing for 0),
// no trailing zeros, and the separator whenever the pattern has one.
std::string formatPattern(double value, std::string_view pattern, std::string_view separator);
// The same text appended to `out`, for callers that build their strings in place.
void appendPattern(std::string& out, double value, std::string_view pattern,
                   std::string_view separator);

// The 15-significant-digit decimal form that formatPattern rounds, in the
// layout of printf's "%.14e" ("3.22758120000000e+03"); for |value| only.
std::string fifteenDigitForm(double value);

// Shortest text of at most 15 significant digits, e.g. "200", "2.5".
std::string plainNumberText(double value, std::string_view separator);

// Shortest text that reads back to the same double, with a period: the
// numbers machine formats and design files carry.
std::string shortestNumberText(double value);

// As plainNumberText with a period, and one leading blank if not negative.
std::string signedNumberText(double value);

}  // namespace kelvora
