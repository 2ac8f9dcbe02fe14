// The portable number conversions against the standard library's, on any
// bytes: the same texts for the double they spell, the same double for the
// text they hold.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "model/floatconv.h"

namespace {

std::string stdText(double v, std::chars_format f, int precision) {
    char buf[1100];
    const auto end = precision < 0 ? std::to_chars(buf, buf + sizeof buf, v, f).ptr
                                   : std::to_chars(buf, buf + sizeof buf, v, f, precision).ptr;
    return std::string(buf, end);
}

void checkDouble(double v) {
    using namespace kelvora::floatconv;
    char buf[64];
    if (shortest(v) != std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr)) std::abort();
    if (shortestFixed(v) != stdText(v, std::chars_format::fixed, -1)) std::abort();
    if (scientific(v, 14) != stdText(v, std::chars_format::scientific, 14)) std::abort();
    if (general(v, 15) != stdText(v, std::chars_format::general, 15)) std::abort();
}

void checkText(std::string_view text) {
    double expected = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), expected);
    const kelvora::floatconv::Read mine = kelvora::floatconv::readDecimal(text);
    using S = kelvora::floatconv::ReadStatus;
    if (r.ec == std::errc::invalid_argument) {
        if (mine.status != S::Invalid) std::abort();
        return;
    }
    if (mine.length != static_cast<std::size_t>(r.ptr - text.data())) std::abort();
    if ((r.ec == std::errc::result_out_of_range) != (mine.status == S::OutOfRange)) std::abort();
    if (r.ec == std::errc() && std::bit_cast<std::uint64_t>(mine.value) !=
                                   std::bit_cast<std::uint64_t>(expected))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 8) {
        double v = 0;
        std::memcpy(&v, data, 8);
        if (std::isfinite(v)) checkDouble(v);
    }
    checkText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
