// A whole run on arbitrary texts: either every text, or a prefix of them in
// the fixed order followed by exactly one fault at a place that fits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/calculation.h"
#include "model/numbertext.h"

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    RunInput in;
    // Any catalogue row, or none selected.
    const auto rows = builtInDetectors();
    const std::size_t row = data[0] % (rows.size() + 1);
    in.detector = row < rows.size() ? rows[row] : DetectorModel{};
    in.barlowSelected = data[1] % 2;
    const char* const separators[] = {".", ",", "\xd9\xab"};
    in.decimalSeparator = separators[data[2] % 3];
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const std::size_t cut = rest.find('|');
        in.texts[i] = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }

    const RunOutput out = runCalculation(in);
    const std::size_t n = out.shown.size();
    if (n > kShownCount) std::abort();
    for (std::size_t i = 0; i < n; ++i)
        if (out.shown[i].control != shownAt(i)) std::abort();
    if ((n == kShownCount) == out.fault.has_value()) std::abort();
    if (out.fault && !isInput(out.fault->at) && out.fault->at != shownAt(n)) std::abort();
    if (out.fault && out.fault->at == Control::txtSlitWide && in.barlowSelected) std::abort();
    // The number behind each shown text gives that text.
    if (n > 0 && formatPattern(out.values[0], "##.###", in.decimalSeparator) != out.shown[0].text)
        std::abort();
    return 0;
}
