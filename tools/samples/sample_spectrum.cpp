// Writes the example raw spectrum the manual calibrates on, and the design
// of the instrument that took it:
//   sample_spectrum OUTDIR → OUTDIR/spectre-exemple.fits, OUTDIR/instrument-exemple.kelvora
// Recipe: the design below observes an A0V star of V = 5 at airmass 1.3 for
// 60 s; its telescope, optics, grating and sensor deliver 0.75 of what the
// model assumes, with a dip of a quarter near 5200 Å (a tired coating);
// each binned pixel gets Poisson and read noise from a seeded generator.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "io/designfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/labels.h"

namespace {

using namespace kelvora;

double factor(double lambdaA) {
    return 0.75 * (1 - 0.25 * std::exp(-std::pow((lambdaA - 5200) / 300, 2)));
}

std::string card(const std::string& key, const std::string& value) {
    std::string c = key;
    c.resize(8, ' ');
    c += "= " + value;
    c.resize(80, ' ');
    return c;
}

std::string quoted(const std::string& s) {
    std::string v = "'" + s;
    if (v.size() < 9) v.resize(9, ' ');
    return v + "'";
}

std::string real(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%20.10G", v);
    return text;
}

// A FITS file: one axis of 32-bit floats, a linear wavelength axis in Å.
void writeFits(const std::string& path, const design::ObservedSpectrum& s) {
    const std::size_t n = s.flux.size();
    const double step = (s.lambda_a.back() - s.lambda_a.front()) / static_cast<double>(n - 1);
    std::string h;
    h += card("SIMPLE", real(1).replace(19, 1, "T").replace(0, 19, std::string(19, ' ')));
    h += card("BITPIX", "                 -32");
    h += card("NAXIS", "                   1");
    h += card("NAXIS1", real(static_cast<double>(n)));
    h += card("CTYPE1", quoted("WAVE"));
    h += card("CUNIT1", quoted("Angstrom"));
    h += card("CRVAL1", real(s.lambda_a.front()));
    h += card("CDELT1", real(step));
    h += card("CRPIX1", real(1));
    h += card("EXPTIME", real(s.exptime_s));
    h += card("GAIN", real(1));
    h += card("AIRMASS", real(s.airmass));
    h += card("OBJNAME", quoted("HD 000000 (synthetique)"));
    h += card("DATE-OBS", quoted("2026-11-30T21:04:00"));
    h += std::string("END").append(77, ' ');
    h.resize((h.size() + 2879) / 2880 * 2880, ' ');
    std::string data;
    for (double v : s.flux) {
        const float f = static_cast<float>(v);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        for (int k = 3; k >= 0; --k) data += static_cast<char>(bits >> (8 * k) & 0xff);
    }
    data.resize((data.size() + 2879) / 2880 * 2880, '\0');
    std::ofstream(path, std::ios::binary) << h << data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return std::cerr << "usage : sample_spectrum OUTDIR\n", 2;
    const std::vector<design::KeyValue> keys = {
        {"geometrie", "littrow"}, {"traits_mm", "600"},      {"lambda_a", "6000"},
        {"detecteur", "IMX533"},  {"collimateur_mm", "100"}, {"objectif_mm", "100"},
        {"mag_etoile", "5"},      {"masse_air", "1.3"},      {"pose_s", "60"}};
    const design::KeyedDesign read = design::designFromKeys(keys, DetectorCatalogue(), {});
    if (!read.errors.empty()) return std::cerr << design::describe(read.errors[0], ".") << '\n', 1;
    design::ObservedSpectrum s = design::syntheticSpectrum(read.input, factor, 60, 2026);
    // The file's axis is linear: resample the pixels' wavelengths onto it.
    const double first = s.lambda_a.front(), last = s.lambda_a.back();
    const std::size_t n = s.lambda_a.size();
    std::vector<double> flux(n);
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        const double l =
            first + (last - first) * static_cast<double>(i) / static_cast<double>(n - 1);
        while (j + 2 < n && s.lambda_a[j + 1] < l) ++j;
        const double t = (l - s.lambda_a[j]) / (s.lambda_a[j + 1] - s.lambda_a[j]);
        flux[i] = s.flux[j] + t * (s.flux[j + 1] - s.flux[j]);
        s.lambda_a[i] = l;
    }
    s.flux = flux;
    const std::string dir = argv[1];
    writeFits(dir + "/spectre-exemple.fits", s);
    io::DesignFile file;
    file.design = read.input;
    file.hasDesign = true;
    if (const std::string e = io::writeDesignFile(dir + "/instrument-exemple.kelvora", file);
        !e.empty())
        return std::cerr << e << '\n', 1;
    return 0;
}
