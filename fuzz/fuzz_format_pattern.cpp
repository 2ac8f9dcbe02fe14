// Formatting any finite double with every pattern and separator: only
// digits, one separator where the pattern has one, a leading minus at most;
// read back, it is the value rounded to the pattern's places.
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

// The 15-digit form and plain texts agree with the C library's printf.
void checkAgainstPrintf(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    if (kelvora::fifteenDigitForm(value) != buf) std::abort();
    std::snprintf(buf, sizeof buf, "%.15G", value);
    if (value != 0 && kelvora::plainNumberText(value, ".") != buf) std::abort();  // no "-0"
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
    checkAgainstPrintf(value);

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
