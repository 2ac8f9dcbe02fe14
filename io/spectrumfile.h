#pragma once

// A 1-D extracted spectrum as amateurs' software writes it, before any
// response correction (ADU or electrons): FITS (the primary HDU or an IMAGE
// extension with one axis, or a BINTABLE with wavelength and flux columns)
// or text (two columns). No Qt: the window, the companion and the page
// read it with this one reader. Every refusal is a French sentence and
// loads nothing.

#include <string>
#include <string_view>

#include "model/design/calibration.h"

namespace kelvora::io {

// The most samples a spectrum may have; more is not a 1-D spectrum.
inline constexpr std::size_t kMaxSpectrumSamples = 10'000'000;

struct SpectrumRead {
    design::ObservedSpectrum spectrum;
    std::string error;  // French; "" when read
};

// « fichier de plus de 32 Mo : trop grand pour un spectre »: every face
// refuses a larger file with it, before reading it.
std::string tooLarge();

// FITS when the bytes start with "SIMPLE  =", text otherwise.
SpectrumRead readSpectrum(std::string_view bytes);
SpectrumRead readFitsSpectrum(std::string_view bytes);
SpectrumRead readTextSpectrum(std::string_view text);

// Reads a file by its path (the companion and the window).
SpectrumRead readSpectrumFile(const std::string& path);

}  // namespace kelvora::io
