#include "io/spectrumfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <variant>

#include "io/fitsheader.h"
#include "io/spectrum_internal.h"

namespace kelvora::io {

namespace detail {

double valueAt(std::string_view bytes, std::size_t at, const Column& c) {
    const std::size_t size = static_cast<std::size_t>(std::abs(c.code)) / 8;
    unsigned long long raw = 0;
    for (std::size_t i = 0; i < size; ++i)
        raw = raw << 8 | static_cast<unsigned char>(bytes[at + i]);
    double v = 0;
    long long whole = 0;
    switch (c.code) {
        case 8:
            whole = static_cast<long long>(raw);
            break;
        case 16:
            whole = static_cast<std::int16_t>(raw);
            break;
        case 32:
            whole = static_cast<std::int32_t>(raw);
            break;
        case 64:
            whole = static_cast<long long>(raw);
            break;
        case -32: {
            const auto bits = static_cast<std::uint32_t>(raw);
            float f;
            std::memcpy(&f, &bits, 4);
            v = f;
            return c.zero + c.scale * v;
        }
        default:
            std::memcpy(&v, &raw, 8);
            return c.zero + c.scale * v;
    }
    if (c.blank && whole == *c.blank) return NAN;
    return c.zero + c.scale * static_cast<double>(whole);
}

std::optional<long long> whole(const fits::Header& h, const std::string& key) {
    const auto v = h.number(key);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 9e15) return std::nullopt;
    return static_cast<long long>(*v);
}

double angstromsPer(std::string unit) {
    std::transform(unit.begin(), unit.end(), unit.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (unit.empty() || unit == "angstrom" || unit == "angstroms" || unit == "a" || unit == "å" ||
        unit == "0.1 nm" || unit == "aa")
        return 1;
    if (unit == "nm" || unit == "nanometer" || unit == "nanometre") return 10;
    if (unit == "um" || unit == "micron" || unit == "µm") return 1e4;
    if (unit == "m") return 1e10;
    return 0;
}

namespace {

// The first of the keys the header holds as a number.
double first(const fits::Header& h, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (const auto v = h.number(key)) return *v;
    return 0;
}

void fill(double& field, double value) {
    if (!(field > 0) && value > 0 && std::isfinite(value)) field = value;
}

}  // namespace

namespace {

// A key the header gives, but with a value no observation has.
void noteImpossible(const fits::Header& h, const char* key, bool (*possible)(double),
                    design::ObservedSpectrum& s) {
    const auto v = h.number(key);
    if (v && !possible(*v))
        s.impossible.push_back(std::string(key) + " = " + h.text(key).value_or(""));
}

}  // namespace

void readKeywords(const fits::Header& h, design::ObservedSpectrum& s) {
    fill(s.exptime_s, first(h, {"EXPTIME", "EXPOSURE"}));
    const auto positive = [](double v) { return v > 0 && std::isfinite(v); };
    if (const auto a = h.number("EXPTIME"), b = h.number("EXPOSURE");
        a && b && positive(*a) && positive(*b) && *a != *b)
        s.exposure_other_s = *b;
    noteImpossible(h, "EXPTIME", positive, s);
    noteImpossible(h, "EGAIN", positive, s);
    noteImpossible(
        h, "AIRMASS", [](double v) { return v >= 1 && std::isfinite(v); }, s);
    fill(s.egain, first(h, {"EGAIN"}));
    fill(s.gain, first(h, {"GAIN"}));
    if (const double x = first(h, {"AIRMASS"}); x >= 1) fill(s.airmass, x);
    if (!(s.altitude_deg > 0))
        if (const double alt = first(h, {"CENTALT", "OBJCTALT", "ALT-OBJ"}); alt > 0 && alt <= 90)
            s.altitude_deg = alt;
    fill(s.bin_x, first(h, {"XBINNING", "BINX"}));
    fill(s.bin_y, first(h, {"YBINNING", "BINY"}));
    if (s.unit.empty()) s.unit = h.text("BUNIT").value_or("");
    if (s.object.empty()) s.object = h.text("OBJNAME").value_or(h.text("OBJECT").value_or(""));
    if (s.date.empty()) s.date = h.text("DATE-OBS").value_or("");
    if (const auto mjd = h.number("MJD-OBS"); mjd && std::isnan(s.mjd)) s.mjd = *mjd;
}

std::string finish(design::ObservedSpectrum& s) {
    design::ObservedSpectrum kept = s;
    kept.lambda_a.clear();
    kept.flux.clear();
    for (std::size_t i = 0; i < s.lambda_a.size(); ++i) {
        if (!std::isfinite(s.lambda_a[i]) || !std::isfinite(s.flux[i])) {
            ++kept.missing;
            continue;
        }
        kept.lambda_a.push_back(s.lambda_a[i]);
        kept.flux.push_back(s.flux[i]);
    }
    if (kept.lambda_a.size() >= 2 && kept.lambda_a.front() > kept.lambda_a.back()) {
        std::reverse(kept.lambda_a.begin(), kept.lambda_a.end());
        std::reverse(kept.flux.begin(), kept.flux.end());
    }
    if (kept.lambda_a.size() < design::kMinSpectrumSamples)
        return "moins de " + std::to_string(design::kMinSpectrumSamples) + " points utilisables (" +
               std::to_string(kept.missing) + " sans valeur)";
    for (std::size_t i = 1; i < kept.lambda_a.size(); ++i)
        if (!(kept.lambda_a[i] > kept.lambda_a[i - 1]))
            return "les longueurs d'onde ne croissent pas";
    s = std::move(kept);
    return {};
}

}  // namespace detail

namespace {

using detail::Column;
using detail::whole;
using fits::Header;

std::size_t padded(std::size_t n) {
    return (n + fits::kBlock - 1) / fits::kBlock * fits::kBlock;
}

struct Hdu {
    Header header;
    std::size_t dataBytes = 0;
    std::string error;
};

// An HDU's header and the size of its data, every size checked against the file.
Hdu readHdu(std::string_view bytes, std::size_t start) {
    Hdu u;
    u.header = fits::readHeader(bytes, start, u.error);
    if (!u.error.empty()) return u;
    const auto bitpix = whole(u.header, "BITPIX"), naxis = whole(u.header, "NAXIS");
    constexpr long long kBitpix[] = {8, 16, 32, 64, -32, -64};
    if (!bitpix || std::find(std::begin(kBitpix), std::end(kBitpix), *bitpix) == std::end(kBitpix))
        return u.error = "BITPIX manquant ou invalide", u;
    if (!naxis || *naxis < 0 || *naxis > 999) return u.error = "NAXIS manquant ou invalide", u;
    std::size_t count = *naxis ? 1 : 0;
    for (long long i = 1; i <= *naxis; ++i) {
        const auto n = whole(u.header, "NAXIS" + std::to_string(i));
        if (!n || *n < 0) return u.error = "NAXIS" + std::to_string(i) + " manquant ou négatif", u;
        if (*n > static_cast<long long>(kMaxSpectrumSamples) * 64 ||
            count > kMaxSpectrumSamples * 64 / std::max<long long>(1, *n))
            return u.error =
                       "axe de " + std::to_string(*n) + " points : trop grand pour un spectre",
                   u;
        count *= static_cast<std::size_t>(*n);
    }
    const auto pcount = whole(u.header, "PCOUNT").value_or(0),
               gcount = whole(u.header, "GCOUNT").value_or(1);
    if (pcount < 0 || pcount > 1LL << 32 || gcount != 1)
        return u.error = "PCOUNT ou GCOUNT invalide", u;
    u.dataBytes =
        count * static_cast<std::size_t>(std::abs(*bitpix)) / 8 + static_cast<std::size_t>(pcount);
    if (u.header.dataStart + u.dataBytes > bytes.size())
        u.error = "fichier FITS tronqué : " + std::to_string(u.dataBytes) +
                  " octets de données annoncés, " +
                  std::to_string(bytes.size() - u.header.dataStart) + " présents";
    return u;
}

bool multispec(const Header& h) {
    return h.text("CTYPE1").value_or("").rfind("MULTISPE", 0) == 0;
}

// The image's samples along its one axis (NAXIS2…, if any, are 1; an
// IRAF multispec file may hold its bands along NAXIS3, the first the spectrum).
std::optional<std::size_t> imageLength(const Header& h) {
    const auto naxis = whole(h, "NAXIS");
    if (!naxis || *naxis < 1) return std::nullopt;
    for (long long i = 2; i <= *naxis; ++i)
        if (whole(h, "NAXIS" + std::to_string(i)) != 1 && !(multispec(h) && i == 3))
            return std::nullopt;
    return static_cast<std::size_t>(*whole(h, "NAXIS1"));
}

// WAT2_001, WAT2_002… joined: IRAF cuts the text in 68-character cards,
// whose trailing blanks the header reader trimmed.
std::string watText(const Header& h) {
    std::vector<std::string> parts;
    for (int i = 1; i < 1000; ++i) {
        char key[9];
        std::snprintf(key, sizeof key, "WAT2_%03d", i);
        const auto part = h.text(key);
        if (!part) break;
        parts.push_back(*part);
    }
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i + 1 < parts.size()) parts[i].resize(68, ' ');
        text += parts[i];
    }
    return text;
}

// An IRAF multispec axis: spec1 = "ap beam dtype w1 dw nw z …", linear
// (dtype 0) or log-linear (1).
std::string multispecAxis(const Header& h, std::size_t n, std::vector<double>& lambda) {
    const std::string wat = watText(h);
    const auto at = wat.find("spec1");
    const auto open = wat.find('"', at == std::string::npos ? wat.size() : at);
    if (open == std::string::npos) return "spectre multispec sans « spec1 » dans WAT2";
    double ap, beam, dtype, w1, dw, nw, z;
    if (std::sscanf(wat.c_str() + open + 1, "%lf %lf %lf %lf %lf %lf %lf", &ap, &beam, &dtype, &w1,
                    &dw, &nw, &z) != 7)
        return "« spec1 » du multispec illisible";
    if (dtype != 0 && dtype != 1)
        return "dispersion multispec non linéaire (type " +
               std::to_string(static_cast<int>(dtype)) + ") : linéarisez le spectre";
    lambda.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double w = w1 + dw * static_cast<double>(i);
        lambda[i] = (dtype == 1 ? std::pow(10.0, w) : w) / (1 + z);
    }
    return {};
}

// Several orders or apertures: which one is the star's is the user's to say.
bool manyOrders(const Header& h) {
    return whole(h, "NAXIS").value_or(0) >= 2 && whole(h, "NAXIS2").value_or(1) > 1 &&
           (multispec(h) || h.has("WAT2_001"));
}

// The axis's step per pixel as the standard defines it (Greisen & Calabretta
// 2002, §2.1.2): CD1_1 where given (CDELT1 is then ignored), otherwise
// PC1_1 (1 by default) × CDELT1.
std::optional<double> linearStep(const Header& h) {
    if (const auto cd = h.number("CD1_1")) return cd;
    const auto cdelt = h.number("CDELT1");
    if (!cdelt) return std::nullopt;
    return h.number("PC1_1").value_or(1) * *cdelt;
}

std::string wavelengthAxis(const Header& h, std::size_t n, std::vector<double>& lambda) {
    if (multispec(h)) return multispecAxis(h, n, lambda);
    const auto crval = h.number("CRVAL1");
    const auto step = linearStep(h);
    // The standard's default reference pixel is 0 (Greisen & Calabretta 2002, §2.1).
    const double crpix = h.number("CRPIX1").value_or(0);
    if (!crval || !step || *step == 0)
        return "axe des longueurs d'onde absent (CRVAL1, CDELT1 ou CD1_1)";
    std::string type = h.text("CTYPE1").value_or("");
    if (!type.empty() && type.rfind("WAVE", 0) != 0 && type.rfind("AWAV", 0) != 0 &&
        type.rfind("LAMBDA", 0) != 0 && type != "LINEAR")
        return "l'axe n'est pas une longueur d'onde (CTYPE1 = « " + type + " »)";
    const double unit = detail::angstromsPer(h.text("CUNIT1").value_or(""));
    if (unit == 0) return "unité des longueurs d'onde inconnue : « " + *h.text("CUNIT1") + " »";
    const bool logLinear = type.find("-LOG") != std::string::npos;
    const bool log10Iraf = h.number("DC-FLAG").value_or(0) == 1;
    lambda.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double p = static_cast<double>(i + 1) - crpix;
        const double v = log10Iraf   ? std::pow(10.0, *crval + *step * p)
                         : logLinear ? *crval * std::exp(*step * p / *crval)
                                     : *crval + *step * p;
        lambda[i] = v * unit;
    }
    return {};
}

std::string readImage(std::string_view bytes, const Hdu& u, design::ObservedSpectrum& s) {
    const std::size_t n = *imageLength(u.header);
    Column c;
    c.code = static_cast<int>(*whole(u.header, "BITPIX"));
    c.scale = u.header.number("BSCALE").value_or(1);
    c.zero = u.header.number("BZERO").value_or(0);
    if (c.code > 0) c.blank = whole(u.header, "BLANK");
    if (const std::string e = wavelengthAxis(u.header, n, s.lambda_a); !e.empty()) return e;
    s.flux.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        s.flux[i] = detail::valueAt(
            bytes, u.header.dataStart + i * static_cast<std::size_t>(std::abs(c.code)) / 8, c);
    return {};
}

}  // namespace

namespace {

// An HDU that may hold the star's spectrum.
struct Candidate {
    Hdu u;
    std::size_t index = 0;
    std::string name;  // EXTNAME, upper case
    enum class Kind { Spectrum, Table, Orders, Rows } kind = Kind::Spectrum;
};

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Named as the star's spectrum by the pipelines that write several HDUs.
bool namedSpectrum(const std::string& name) {
    for (const char* n : {"SPECTRUM", "SPEC", "SPEC1D", "SCI", "FLUX", "EXTRACTED", "OBJECT"})
        if (name == n) return true;
    return false;
}

// Named as something beside it (the sky, an error, a mask…), or as a
// separate wavelength axis.
bool namedAside(const std::string& name) {
    return detail::namesSomethingBeside(name) || name.find("WAVE") != std::string::npos;
}

std::optional<Candidate> candidateAt(const Hdu& u, std::size_t index) {
    const std::string xtension = u.header.text("XTENSION").value_or("");
    Candidate c{u, index, upper(u.header.text("EXTNAME").value_or(""))};
    const bool image = index == 0 || xtension == "IMAGE";
    if (manyOrders(u.header))
        c.kind = Candidate::Kind::Orders;
    else if (image && imageLength(u.header) > 1)
        c.kind = Candidate::Kind::Spectrum;
    else if (image && whole(u.header, "NAXIS") == 2 && whole(u.header, "NAXIS2") > 1)
        c.kind = Candidate::Kind::Rows;
    else if (xtension == "BINTABLE")
        c.kind = Candidate::Kind::Table;
    else
        return std::nullopt;
    return c;
}

std::string describeHdu(const Candidate& c) {
    return "HDU " + std::to_string(c.index) + (c.name.empty() ? "" : " « " + c.name + " »");
}

// The HDU to read: the one named as the spectrum, else the only one that
// may be; several are not chosen between, and a frame is not a spectrum.
std::variant<const Candidate*, std::string> choose(const std::vector<Candidate>& all) {
    using K = Candidate::Kind;
    for (const Candidate& c : all)
        if (c.kind != K::Rows && namedSpectrum(c.name)) return &c;
    std::vector<const Candidate*> usable;
    for (const Candidate& c : all)
        if (c.kind != K::Rows && !namedAside(c.name)) usable.push_back(&c);
    if (usable.size() == 1) return usable.front();
    if (usable.size() > 1) {
        std::string list;
        for (const Candidate* c : usable) list += (list.empty() ? "" : ", ") + describeHdu(*c);
        return "plusieurs spectres possibles (" + list +
               ") : aucun n'est choisi ; nommez celui de l'étoile SPECTRUM (EXTNAME)";
    }
    for (const Candidate& c : all)
        if (c.kind == K::Rows)
            return describeHdu(c) + " : image de " + std::to_string(*whole(c.u.header, "NAXIS2")) +
                   " rangées, pas un spectre extrait à une dimension";
    if (!all.empty())
        return "seul " + describeHdu(all.front()) +
               " a une dimension : ce n'est pas le spectre de "
               "l'étoile";
    return "aucun spectre à une dimension dans ce fichier FITS";
}

}  // namespace

SpectrumRead readFitsSpectrum(std::string_view bytes) {
    SpectrumRead r;
    Header primary;
    std::vector<Candidate> all;
    for (std::size_t start = 0, hdu = 0; start < bytes.size() && hdu < 64; ++hdu) {
        const Hdu u = readHdu(bytes, start);
        if (!u.error.empty()) return r.error = u.error, r;
        if (hdu == 0) primary = u.header;
        if (auto c = candidateAt(u, hdu)) all.push_back(std::move(*c));
        start = u.header.dataStart + padded(u.dataBytes);
    }
    const auto chosen = choose(all);
    if (const auto* why = std::get_if<std::string>(&chosen)) return r.error = *why, r;
    const Candidate& c = *std::get<const Candidate*>(chosen);
    std::string e;
    if (c.kind == Candidate::Kind::Orders)
        e = "spectre à " + std::to_string(*whole(c.u.header, "NAXIS2")) +
            " ordres ou ouvertures (échelle, multispec) : enregistrez-en un seul";
    else if (c.kind == Candidate::Kind::Spectrum)
        e = readImage(bytes, c.u, r.spectrum);
    else
        e = detail::readTable(bytes, c.u.header, r.spectrum);
    if (e.empty()) {
        detail::readKeywords(c.u.header, r.spectrum);
        detail::readKeywords(primary, r.spectrum);
        e = detail::finish(r.spectrum);
        if (all.size() > 1) r.spectrum.hdu = describeHdu(c);
    }
    if (!e.empty()) r.spectrum = {};
    return r.error = e, r;
}

std::string tooLarge() {
    return "fichier de plus de " + std::to_string(design::kMaxSpectrumBytes >> 20) +
           " Mo : trop grand pour un spectre";
}

SpectrumRead readSpectrum(std::string_view bytes) {
    if (bytes.size() > design::kMaxSpectrumBytes) return {{}, tooLarge()};
    if (bytes.substr(0, 9) == "SIMPLE  =") return readFitsSpectrum(bytes);
    return readTextSpectrum(bytes);
}

SpectrumRead readSpectrumFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {{}, "impossible d'ouvrir « " + path + " »"};
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > design::kMaxSpectrumBytes)
        return {{}, tooLarge()};
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    return readSpectrum(bytes);
}

}  // namespace kelvora::io
