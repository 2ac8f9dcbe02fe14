// Writes the example raw spectrum the manual calibrates on, a copy of it
// resampled onto a linear axis as reduction software does, and the design
// of the instrument that took them:
//   sample_spectrum OUTDIR → OUTDIR/spectre-exemple.fits,
//   OUTDIR/spectre-exemple-reechantillonne.fits, OUTDIR/instrument-exemple.kelvora
// Recipe: the design below observes an A0V star of V = 5 at airmass 1.3 for
// 60 s; its telescope, optics, grating and sensor deliver 0.75 of what the
// model assumes, with a dip of a quarter near 5200 Å (a tired coating);
// each binned pixel gets Poisson and read noise from a seeded generator.
// The raw file keeps one sample per pixel with its wavelength (a binary
// table) and the header capture software writes (GAIN the camera's setting,
// EGAIN in e⁻/ADU).
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

std::string padded(std::string block, char fill) {
    block.resize((block.size() + 2879) / 2880 * 2880, fill);
    return block;
}

std::string observationCards(const design::ObservedSpectrum& s) {
    return card("EXPTIME", real(s.exptime_s)) + card("GAIN", real(100)) + card("EGAIN", real(1)) +
           card("XBINNING", real(1)) + card("YBINNING", real(1)) +
           card("AIRMASS", real(s.airmass)) + card("BUNIT", quoted("adu")) +
           card("OBJNAME", quoted("HD 000000 (synthetique)")) +
           card("DATE-OBS", quoted("2026-11-30T21:04:00"));
}

void append(std::string& data, std::uint64_t bits, int bytes) {
    for (int k = bytes - 1; k >= 0; --k) data += static_cast<char>(bits >> (8 * k) & 0xff);
}

void appendFloat(std::string& data, double v) {
    const float f = static_cast<float>(v);
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    append(data, bits, 4);
}

const std::string kSimple = card("SIMPLE", "                   T");
const std::string kEnd = std::string("END").append(77, ' ');

// One axis of 32-bit floats on a linear wavelength axis in Å.
void writeImage(const std::string& path, const design::ObservedSpectrum& s) {
    const std::size_t n = s.flux.size();
    const double step = (s.lambda_a.back() - s.lambda_a.front()) / static_cast<double>(n - 1);
    const std::string h =
        kSimple + card("BITPIX", "                 -32") + card("NAXIS", "                   1") +
        card("NAXIS1", real(static_cast<double>(n))) + card("CTYPE1", quoted("WAVE")) +
        card("CUNIT1", quoted("Angstrom")) + card("CRVAL1", real(s.lambda_a.front())) +
        card("CDELT1", real(step)) + card("CRPIX1", real(1)) + observationCards(s) + kEnd;
    std::string data;
    for (double v : s.flux) appendFloat(data, v);
    std::ofstream(path, std::ios::binary) << padded(h, ' ') << padded(data, '\0');
}

// Each pixel's wavelength (double) and counts (float), a row each.
void writeTable(const std::string& path, const design::ObservedSpectrum& s) {
    const std::string primary = kSimple + card("BITPIX", "                   8") +
                                card("NAXIS", "                   0") +
                                card("EXTEND", "                   T") + observationCards(s) + kEnd;
    const std::string table =
        card("XTENSION", quoted("BINTABLE")) + card("BITPIX", "                   8") +
        card("NAXIS", "                   2") + card("NAXIS1", real(12)) +
        card("NAXIS2", real(static_cast<double>(s.flux.size()))) + card("PCOUNT", real(0)) +
        card("GCOUNT", real(1)) + card("TFIELDS", real(2)) + card("TTYPE1", quoted("WAVE")) +
        card("TFORM1", quoted("1D")) + card("TUNIT1", quoted("Angstrom")) +
        card("TTYPE2", quoted("FLUX")) + card("TFORM2", quoted("1E")) +
        card("TUNIT2", quoted("adu")) + card("EXTNAME", quoted("SPECTRUM")) + kEnd;
    std::string data;
    for (std::size_t i = 0; i < s.flux.size(); ++i) {
        std::uint64_t bits;
        std::memcpy(&bits, &s.lambda_a[i], 8);
        append(data, bits, 8);
        appendFloat(data, s.flux[i]);
    }
    std::ofstream(path, std::ios::binary)
        << padded(primary, ' ') << padded(table, ' ') << padded(data, '\0');
}

// Linear interpolation onto a linear axis of as many samples: what most
// reduction software does before saving, and what correlates neighbours' noise.
design::ObservedSpectrum resampled(design::ObservedSpectrum s) {
    const double first = s.lambda_a.front(), last = s.lambda_a.back();
    const std::size_t n = s.lambda_a.size();
    std::vector<double> flux(n), lambda(n);
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        const double l =
            first + (last - first) * static_cast<double>(i) / static_cast<double>(n - 1);
        while (j + 2 < n && s.lambda_a[j + 1] < l) ++j;
        const double t = (l - s.lambda_a[j]) / (s.lambda_a[j + 1] - s.lambda_a[j]);
        flux[i] = s.flux[j] + t * (s.flux[j + 1] - s.flux[j]);
        lambda[i] = l;
    }
    s.flux = flux;
    s.lambda_a = lambda;
    return s;
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
    const design::ObservedSpectrum s = design::syntheticSpectrum(read.input, factor, 60, 2026);
    const std::string dir = argv[1];
    writeTable(dir + "/spectre-exemple.fits", s);
    writeImage(dir + "/spectre-exemple-reechantillonne.fits", resampled(s));
    io::DesignFile file;
    file.design = read.input;
    file.hasDesign = true;
    if (const std::string e = io::writeDesignFile(dir + "/instrument-exemple.kelvora", file);
        !e.empty())
        return std::cerr << e << '\n', 1;
    return 0;
}
