// Formatting any finite double with every pattern and separator: only
// digits, one separator where the pattern has one, a leading minus at most;
// read back, it is the value rounded to the pattern's places. The exact
// integer paths agree with the general conversions.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/numbertext.h"

namespace {

const char* const kPatterns[] = {"##.###", "#.###", "#.##", "#", "#.#"};
const int kPlaces[] = {3, 3, 2, 0, 1};
const char* const kSeparators[] = {".", ",", "\xd9\xab"};

void checkShape(const std::string& text, const std::string& sep, bool hasPoint, double value) {
    std::size_t i = 0;
    if (value < 0) {
        if (text.empty() || text[0] != '-') std::abort();
        i = 1;
    }
    int separators = 0;
    while (i < text.size()) {
        if (text.compare(i, sep.size(), sep) == 0) {
            ++separators;
            i += sep.size();
        } else if (text[i] >= '0' && text[i] <= '9') {
            ++i;
        } else {
            std::abort();
        }
    }
    if (separators != (hasPoint ? 1 : 0)) std::abort();
    if (hasPoint && text.back() == '0') std::abort();                           // no trailing zeros
    if (text.size() > 1 + (value < 0) && text[value < 0] == '0') std::abort();  // no leading zero
}

// The 15-digit form as to_chars gives it, plain texts as "%.15G", and the
// digit-string path (taken for separators over 16 bytes) for results.
void checkAgainstGeneralConversions(double value, const char* pattern, const std::string& text) {
    char buf[40];
    const auto end =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    if (kelvora::fifteenDigitForm(value) != std::string(buf, end)) std::abort();
    std::snprintf(buf, sizeof buf, "%.15G", value);
    if (value != 0 && kelvora::plainNumberText(value, ".") != buf) std::abort();  // no "-0"
    const std::string longSeparator(17, '~');
    std::string general = kelvora::formatPattern(value, pattern, longSeparator);
    if (auto at = general.find(longSeparator); at != std::string::npos)
        general.replace(at, 17, ".");
    std::string period = text;
    if (auto at = period.find(','); at != std::string::npos) period.replace(at, 1, ".");
    if (general != period) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double) + 2) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value)) return 0;
    const int p = data[8] % 5;
    const std::string sep = kSeparators[data[9] % 3];
    const std::string text = kelvora::formatPattern(value, kPatterns[p], sep);
    checkShape(text, sep, p != 3, value);
    if (sep.size() == 1) checkAgainstGeneralConversions(value, kPatterns[p], text);

    std::string period = text;
    if (const auto at = period.find(sep); at != std::string::npos)
        period.replace(at, sep.size(), ".");
    const kelvora::NumberReading back = kelvora::readNumber(period);
    // Near the largest double the 15-digit rounding itself exceeds it.
    if (back.overflow) {
        if (std::fabs(value) < 1.79769313486231e308) std::abort();
        return 0;
    }
    // Half a unit of the last place, plus the 15-significant-digit rounding.
    const double unit = std::pow(10.0, -kPlaces[p]);
    const double slack = 0.5 * unit * (1 + 1e-9) + std::fabs(value) * 1e-14;
    if (std::fabs(back.value - value) > slack) std::abort();
    return 0;
}
