// Reading any text: never a NaN or an infinity, never past the text, and
// whatever follows the leading number does not change the value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/numbertext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\x1f');
    const std::string_view text = all.substr(0, cut);
    const std::string_view tail = cut == std::string_view::npos ? "" : all.substr(cut + 1);

    const kelvora::NumberReading r = kelvora::readNumber(text);
    if (!std::isfinite(r.value)) std::abort();
    if (r.overflow && r.value != 0) std::abort();

    // '#' never continues a number, so anything after it is ignored.
    const kelvora::NumberReading longer =
        kelvora::readNumber(std::string(text) + "#" + std::string(tail));
    if (longer.overflow != r.overflow) std::abort();
    if (!(longer.value == r.value && std::signbit(longer.value) == std::signbit(r.value)))
        std::abort();
    return 0;
}
