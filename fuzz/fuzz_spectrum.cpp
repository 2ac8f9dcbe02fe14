// Hostile spectra, FITS or text: reading never crashes, and a spectrum that
// reads is one the calibration can take (increasing, finite, paired).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/spectrumfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvora::io::SpectrumRead r = kelvora::io::readSpectrum(bytes);
    const auto& s = r.spectrum;
    if (!r.error.empty()) {
        if (!s.flux.empty() || !s.lambda_a.empty()) std::abort();
        return 0;
    }
    if (s.flux.size() != s.lambda_a.size() || s.flux.size() < 20) std::abort();
    for (std::size_t i = 0; i < s.flux.size(); ++i) {
        if (!std::isfinite(s.flux[i]) || !std::isfinite(s.lambda_a[i])) std::abort();
        if (i && !(s.lambda_a[i] > s.lambda_a[i - 1])) std::abort();
    }
    return 0;
}
