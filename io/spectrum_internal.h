#pragma once

// What the FITS image, FITS table and text readers of spectrumfile.h share.

#include <optional>
#include <string>
#include <string_view>

#include "io/fitsheader.h"
#include "model/design/calibration.h"

namespace kelvora::io::detail {

struct Column {              // a BINTABLE column, or the image itself
    int code = 0;            // the size and kind of a value, as BITPIX: 8, 16, 32, 64, -32, -64
    std::size_t offset = 0;  // in a row
    std::size_t repeat = 1;  // values a row
    double scale = 1, zero = 0;
    std::optional<long long> blank;
};

// One big-endian value at `at`, scaled; NaN where it is blank.
double valueAt(std::string_view bytes, std::size_t at, const Column& c);
// An integer keyword; nullopt if absent or not a whole number.
std::optional<long long> whole(const fits::Header& h, const std::string& key);
// Å per unit of a wavelength unit's name; 0 if unknown.
double angstromsPer(std::string unit);
// EXPTIME, GAIN, AIRMASS, OBJNAME and DATE-OBS where the spectrum lacks them.
void readKeywords(const fits::Header& h, design::ObservedSpectrum& s);
// Missing samples out, the axis increasing, enough left to be a spectrum;
// the French refusal otherwise.
std::string finish(design::ObservedSpectrum& s);

std::string readTable(std::string_view bytes, const fits::Header& h, design::ObservedSpectrum& s);

// Whether a column's or an HDU's name, in any case, marks something beside
// the spectrum: its error, variance or inverse variance, the sky, a mask, a
// quality flag, a normalisation, a background, a continuum.
bool namesSomethingBeside(std::string_view name);

}  // namespace kelvora::io::detail
