// The spectrum reader against cfitsio, the reference FITS library: files
// written by cfitsio in every BITPIX, scaled, with blanks, in an IMAGE
// extension and in binary tables, read the same by both; hostile files
// refused in French with nothing loaded; the text forms amateurs write.
#include <fitsio.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "io/spectrumfile.h"

namespace kelvora::io {
namespace {

namespace fs = std::filesystem;

// The files of one run, removed when it ends.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("kelvora-spectre-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
};

std::string tempPath(const std::string& name) {
    static const Folder folder;
    return (folder.path / name).string();
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Image {
    int bitpix;
    double scale, zero;
    bool blank;
    const char* unit;  // CUNIT1, "" for none
    const char* type;  // CTYPE1
    bool cd;           // CD1_1 in place of CDELT1
    bool extension;    // an IMAGE extension after an empty primary
};

// Values every BITPIX holds once scaled: 0…200, 8-bit safe.
std::vector<double> physical(const Image& im, int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(im.zero + im.scale * ((i * 37) % 200));
    return v;
}

void check(int status) {
    char text[FLEN_STATUS];
    fits_get_errstatus(status, text);
    ASSERT_EQ(status, 0) << text;
}

std::string writeImage(const Image& im, const std::string& path, int n) {
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_file(&f, ("!" + path).c_str(), &status);
    long axes[1] = {n};
    if (im.extension) fits_create_img(f, 8, 0, nullptr, &status);
    fits_create_img(f, im.bitpix, 1, axes, &status);
    double crval = 4000, step = 2.5, crpix = 3, exptime = 120, gain = 1.4, airmass = 1.3;
    if (std::string(im.unit) == "nm") crval = 400, step = 0.25;
    fits_write_key(f, TDOUBLE, "CRVAL1", &crval, "", &status);
    fits_write_key(f, TDOUBLE, im.cd ? "CD1_1" : "CDELT1", &step, "", &status);
    fits_write_key(f, TDOUBLE, "CRPIX1", &crpix, "", &status);
    fits_write_key_str(f, "CTYPE1", im.type, "", &status);
    if (*im.unit) fits_write_key_str(f, "CUNIT1", im.unit, "", &status);
    fits_write_key(f, TDOUBLE, "EXPTIME", &exptime, "", &status);
    fits_write_key(f, TDOUBLE, "GAIN", &gain, "", &status);
    fits_write_key(f, TDOUBLE, "AIRMASS", &airmass, "", &status);
    fits_write_key_str(f, "OBJNAME", "Vega's twin", "", &status);
    fits_write_key_str(f, "DATE-OBS", "2026-11-30T21:04:00", "", &status);
    if (im.scale != 1 || im.zero != 0) {
        fits_write_key(f, TDOUBLE, "BSCALE", const_cast<double*>(&im.scale), "", &status);
        fits_write_key(f, TDOUBLE, "BZERO", const_cast<double*>(&im.zero), "", &status);
        fits_set_bscale(f, im.scale, im.zero, &status);
    }
    std::vector<double> v = physical(im, n);
    double null = -1e30;
    if (im.blank) {
        long blank = im.bitpix == 8 ? 255 : -99;
        fits_write_key(f, TLONG, "BLANK", &blank, "", &status);
        fits_set_imgnull(f, blank, &status);
        v[5] = null;
        fits_write_imgnull(f, TDOUBLE, 1, n, v.data(), &null, &status);
    } else {
        fits_write_img(f, TDOUBLE, 1, n, v.data(), &status);
    }
    fits_close_file(f, &status);
    check(status);
    return path;
}

// What cfitsio reads: the values (NaN for blanks) and the axis keywords.
struct Oracle {
    std::vector<double> flux;
    double crval, step, crpix, exptime, gain, airmass;
    std::string object, date;
};

Oracle readWithCfitsio(const std::string& path, bool extension, int n, bool cd) {
    Oracle o;
    fitsfile* f = nullptr;
    int status = 0, type = 0, anynull = 0;
    fits_open_file(&f, path.c_str(), READONLY, &status);
    if (extension) fits_movabs_hdu(f, 2, &type, &status);
    o.flux.resize(static_cast<std::size_t>(n));
    double nan = NAN;
    fits_read_img(f, TDOUBLE, 1, n, &nan, o.flux.data(), &anynull, &status);
    fits_read_key(f, TDOUBLE, "CRVAL1", &o.crval, nullptr, &status);
    fits_read_key(f, TDOUBLE, cd ? "CD1_1" : "CDELT1", &o.step, nullptr, &status);
    fits_read_key(f, TDOUBLE, "CRPIX1", &o.crpix, nullptr, &status);
    fits_read_key(f, TDOUBLE, "EXPTIME", &o.exptime, nullptr, &status);
    fits_read_key(f, TDOUBLE, "GAIN", &o.gain, nullptr, &status);
    fits_read_key(f, TDOUBLE, "AIRMASS", &o.airmass, nullptr, &status);
    char text[FLEN_VALUE];
    fits_read_key(f, TSTRING, "OBJNAME", text, nullptr, &status);
    o.object = text;
    fits_read_key(f, TSTRING, "DATE-OBS", text, nullptr, &status);
    o.date = text;
    fits_close_file(f, &status);
    check(status);
    return o;
}

TEST(SpectrumFits, EveryImageFormReadsAsCfitsioReadsIt) {
    const Image cases[] = {
        {8, 1, 0, false, "", "WAVE", false, false},
        {16, 1, 0, false, "Angstrom", "WAVE", false, false},
        {16, 1, 32768, false, "", "AWAV", true, false},  // unsigned 16-bit, as cameras write
        {32, 0.5, 100, true, "nm", "WAVE", false, false},
        {16, 2, -50, true, "", "WAVE", false, true},
        {8, 1, 0, true, "", "WAVE", false, true},
        {64, 1, 0, false, "", "WAVE", false, false},
        {-32, 1, 0, false, "nm", "WAVE", true, true},
        {-64, 1, 0, false, "", "WAVE", false, false},
        {-64, 1, 0, false, "", "WAVE-LOG", false, false},
    };
    constexpr int n = 400;
    int k = 0;
    for (const Image& im : cases) {
        const std::string path =
            writeImage(im, tempPath("image" + std::to_string(k++) + ".fits"), n);
        const Oracle o = readWithCfitsio(path, im.extension, n, im.cd);
        const SpectrumRead r = readSpectrumFile(path);
        ASSERT_EQ(r.error, "") << path;
        const double unit = std::string(im.unit) == "nm" ? 10 : 1;
        std::size_t j = 0;
        for (int i = 0; i < n; ++i) {
            if (std::isnan(o.flux[static_cast<std::size_t>(i)])) continue;  // a blank
            const double p = i + 1 - o.crpix;
            const double lambda = std::string(im.type) == "WAVE-LOG"
                                      ? o.crval * std::exp(o.step * p / o.crval)
                                      : o.crval + o.step * p;
            ASSERT_LT(j, r.spectrum.flux.size());
            EXPECT_EQ(r.spectrum.flux[j], o.flux[static_cast<std::size_t>(i)]) << path << " " << i;
            EXPECT_DOUBLE_EQ(r.spectrum.lambda_a[j], lambda * unit) << path << " " << i;
            ++j;
        }
        EXPECT_EQ(j, r.spectrum.flux.size()) << path;
        EXPECT_EQ(r.spectrum.missing, im.blank ? 1u : 0u) << path;
        EXPECT_EQ(r.spectrum.exptime_s, o.exptime);
        EXPECT_EQ(r.spectrum.gain, o.gain);
        EXPECT_EQ(r.spectrum.airmass, o.airmass);
        EXPECT_EQ(r.spectrum.object, o.object);
        EXPECT_EQ(r.spectrum.date, o.date);
    }
}

std::string writeTable(const std::string& path, bool vectors, const char* unit) {
    fitsfile* f = nullptr;
    int status = 0;
    constexpr long n = 300;
    fits_create_file(&f, ("!" + path).c_str(), &status);
    fits_create_img(f, 8, 0, nullptr, &status);
    const std::string wform = vectors ? "300D" : "1D", fform = vectors ? "300E" : "1E";
    char* names[] = {const_cast<char*>("WAVELENGTH"), const_cast<char*>("FLUX")};
    char* forms[] = {const_cast<char*>(wform.c_str()), const_cast<char*>(fform.c_str())};
    char* units[] = {const_cast<char*>(unit), const_cast<char*>("adu")};
    fits_create_tbl(f, BINARY_TBL, vectors ? 1 : n, 2, names, forms, units, "SPECTRUM", &status);
    std::vector<double> w(n), v(n);
    for (long i = 0; i < n; ++i) w[i] = 5000 + 0.75 * i, v[i] = 1000 + std::sin(i * 0.1) * 50;
    if (std::string(unit) == "nm")
        for (double& x : w) x /= 10;
    fits_write_col(f, TDOUBLE, 1, 1, 1, n, w.data(), &status);
    fits_write_col(f, TDOUBLE, 2, 1, 1, n, v.data(), &status);
    double exptime = 300;
    fits_write_key(f, TDOUBLE, "EXPTIME", &exptime, "", &status);
    fits_close_file(f, &status);
    check(status);
    return path;
}

TEST(SpectrumFits, BinaryTablesReadAsCfitsioReadsThem) {
    for (bool vectors : {false, true}) {
        for (const char* unit : {"Angstrom", "nm"}) {
            const std::string path =
                writeTable(tempPath(std::string("table-") + unit + ".fits"), vectors, unit);
            fitsfile* f = nullptr;
            int status = 0, type = 0, anynull = 0;
            fits_open_file(&f, path.c_str(), READONLY, &status);
            fits_movabs_hdu(f, 2, &type, &status);
            std::vector<double> w(300), v(300);
            fits_read_col(f, TDOUBLE, 1, 1, 1, 300, nullptr, w.data(), &anynull, &status);
            fits_read_col(f, TDOUBLE, 2, 1, 1, 300, nullptr, v.data(), &anynull, &status);
            fits_close_file(f, &status);
            check(status);
            const SpectrumRead r = readSpectrumFile(path);
            ASSERT_EQ(r.error, "") << path;
            ASSERT_EQ(r.spectrum.flux.size(), 300u);
            const double scale = std::string(unit) == "nm" ? 10 : 1;
            for (std::size_t i = 0; i < 300; ++i) {
                EXPECT_EQ(r.spectrum.flux[i], v[i]);
                EXPECT_EQ(r.spectrum.lambda_a[i], w[i] * scale);
            }
            EXPECT_EQ(r.spectrum.exptime_s, 300);
        }
    }
}

// A header of cards, padded to its block, then `data` bytes.
std::string handMade(const std::vector<std::string>& cards, bool end, std::size_t data) {
    std::string h;
    for (const std::string& c : cards) h += (c + std::string(80, ' ')).substr(0, 80);
    if (end) h += (std::string("END") + std::string(80, ' ')).substr(0, 80);
    h.resize((h.size() + 2879) / 2880 * 2880, ' ');
    return h + std::string(data, '\0');
}

TEST(SpectrumFits, HostileFilesAreRefusedInFrenchAndLoadNothing) {
    const std::string good = bytesOf(
        writeImage({-32, 1, 0, false, "", "WAVE", false, false}, tempPath("good.fits"), 400));
    const std::vector<std::string> base = {"SIMPLE  =                    T",
                                           "BITPIX  =                  -32",
                                           "NAXIS   =                    1"};
    auto with = [&](std::vector<std::string> extra, bool end = true, std::size_t data = 2880) {
        std::vector<std::string> cards = base;
        cards.insert(cards.end(), extra.begin(), extra.end());
        return handMade(cards, end, data);
    };
    const std::pair<std::string, const char*> cases[] = {
        {good.substr(0, 2880 + 800), "tronqué"},  // half the data
        {with({"NAXIS1  =           1000000000", "CRVAL1  = 4000", "CDELT1  = 1"}), "trop grand"},
        {with({"NAXIS1  =                 -400", "CRVAL1  = 4000", "CDELT1  = 1"}), "négatif"},
        {with({"NAXIS1  =                  400", "CRVAL1  = 4000", "CDELT1  = NaN"}),
         "axe des longueurs"},
        {with({"NAXIS1  =                  400", "CRVAL1  = 4000", "CDELT1  = 1"}, false), "END"},
        {with({"NAXIS1  =                  400", "CRVAL1  = 4000", "CDELT1  = 1"}),
         "moins de 50"},  // every sample a NaN, below
        {"SIMPLE  =                    T" + std::string(50, ' '), "END"},
        // An image of five rows is no one-dimensional spectrum.
        {handMade({"SIMPLE  =                    T", "BITPIX  =                  -32",
                   "NAXIS   =                    2", "NAXIS1  =                  400",
                   "NAXIS2  =                    5", "CRVAL1  = 4000", "CDELT1  = 1"},
                  true, 400 * 5 * 4),
         "image de 5 rangées, pas un spectre extrait à une dimension"},
        // A column's form that disagrees with the row's width: cfitsio's
        // table with its flux column's form changed from 4-byte to 2-byte.
        {[] {
             std::string t = bytesOf(writeTable(tempPath("largeur.fits"), true, "Angstrom"));
             return t.replace(t.find("'300E"), 5, "'300I");
         }(),
         "NAXIS1 ne correspond pas"},
        // Each axis within bounds, their product not.
        {handMade({"SIMPLE  =                    T", "BITPIX  =                  -32",
                   "NAXIS   =                    2", "NAXIS1  =             10000000",
                   "NAXIS2  =                  100"},
                  true, 0),
         "trop grand"},
        // An empty axis before a huge one hides nothing.
        {handMade({"SIMPLE  =                    T", "BITPIX  =                  -32",
                   "NAXIS   =                    2", "NAXIS1  =                    0",
                   "NAXIS2  =           1000000000"},
                  true, 0),
         "trop grand"},
        // 1000 blocks of cards without END, END only in the next: never read.
        {"SIMPLE  =                    T" + std::string(1000 * 2880 - 30, ' ') + "END" +
             std::string(2877, ' '),
         "en-tête FITS sans END"},
    };
    // A header longer than one block is read to its END in the next.
    std::vector<std::string> long_(40, "COMMENT   a card that fills the first block");
    long_.insert(long_.end(), {"NAXIS1  =                  400", "CRVAL1  = 4000", "CDELT1  = 1"});
    const SpectrumRead two = readSpectrum(with(long_));
    EXPECT_EQ(two.error, "");
    EXPECT_EQ(two.spectrum.lambda_a.size(), 400u);
    for (const auto& [bytes, said] : cases) {
        std::string file = bytes;
        if (std::string(said) == "moins de 50")  // every sample a NaN
            for (std::size_t i = 2880; i + 4 <= file.size(); i += 4)
                file.replace(i, 4, "\x7f\xc0\x00\x00", 4);
        const SpectrumRead r = readSpectrum(file);
        EXPECT_NE(r.error.find(said), std::string::npos) << r.error;
        EXPECT_TRUE(r.spectrum.flux.empty() && r.spectrum.lambda_a.empty()) << said;
    }
}

// A file past the limit is refused before a byte is read (a sparse file:
// 33 MB on the disk's books, nothing written).
TEST(SpectrumFile, AFileBeyondTheLimitIsRefusedUnread) {
    const std::string path = tempPath("immense.fits");
    std::ofstream(path, std::ios::binary).put('S');
    std::filesystem::resize_file(path, 33u << 20);
    const SpectrumRead r = readSpectrumFile(path);
    EXPECT_NE(r.error.find(tooLarge()), std::string::npos) << r.error;
    // At the limit exactly it is read (and refused for what it holds).
    std::filesystem::resize_file(path, design::kMaxSpectrumBytes);
    EXPECT_EQ(readSpectrumFile(path).error.find(tooLarge()), std::string::npos);
    std::filesystem::remove(path);
}

TEST(SpectrumText, TheFormsAmateursWrite) {
    struct Case {
        const char* text;
        std::size_t samples;
        double first, exptime, gain;
        const char* object;
    };
    std::string many = "# λ flux\n";
    for (int i = 0; i < 60; ++i)
        many += std::to_string(6500 + i) + " " + std::to_string(100 + i) + "\n";
    std::string csv = "lambda,flux\n";
    for (int i = 0; i < 60; ++i)
        csv += std::to_string(6500 + i) + ".5," + std::to_string(100 + i) + "\n";
    // FITS writes a real with its sign when it likes: « +60 ».
    std::string nm =
        "EXPTIME = +60 / seconds\n# GAIN = 0.5D0\nOBJNAME = 'gam Cas'\n"
        "# EGAIN = 1.5\n# CENTALT = 40.5\n# XBINNING = 2\n# YBINNING = 1\n"
        "# BUNIT = 'adu'\n";
    for (int i = 0; i < 60; ++i)
        nm += std::to_string(650 + i) + "\t" + std::to_string(100 + i) + "\r\n";
    const Case cases[] = {
        {many.c_str(), 60, 6500, 0, 0, ""},
        {csv.c_str(), 60, 6500.5, 0, 0, ""},
        {nm.c_str(), 60, 6500, 60, 0.5, "gam Cas"},
    };
    for (const Case& c : cases) {
        const SpectrumRead r = readTextSpectrum(c.text);
        ASSERT_EQ(r.error, "") << c.text;
        EXPECT_EQ(r.spectrum.flux.size(), c.samples);
        EXPECT_EQ(r.spectrum.lambda_a.front(), c.first);
        EXPECT_EQ(r.spectrum.exptime_s, c.exptime);
        EXPECT_EQ(r.spectrum.gain, c.gain);
        EXPECT_EQ(r.spectrum.object, c.object);
    }
    // Capture software's other keywords, in comment lines as in a header.
    const design::ObservedSpectrum s = readTextSpectrum(nm).spectrum;
    EXPECT_EQ(s.egain, 1.5);
    EXPECT_EQ(s.altitude_deg, 40.5);
    EXPECT_EQ(s.bin_x, 2);
    EXPECT_EQ(s.bin_y, 1);
    EXPECT_EQ(s.unit, "adu");
    const std::pair<std::string, const char*> bad[] = {
        {many + "6600 abc\n", "ligne 62 : deux nombres attendus"},
        {many + "6600\n", "ligne 62 : deux nombres attendus"},  // a flux lost
        {"6500 1\n6501 2\n", "moins de 50 points"},
        {"", "fichier vide"},
        {" \n\n", "fichier vide"},
        {many + "6400 3\n", "ne croissent pas"},
        {many + "6559 3\n", "ne croissent pas"},  // the last wavelength twice
        {std::string("6500 1\0", 7), "pas un fichier texte"},
    };
    // A comment of 4096 characters is the longest line read; one more is refused.
    const std::string longest = "#" + std::string(4095, 'x') + "\n" + many;
    EXPECT_EQ(readTextSpectrum(longest).error, "");
    EXPECT_NE(readTextSpectrum("#" + longest).error.find("trop longue"), std::string::npos);
    for (const auto& [text, said] : bad) {
        const SpectrumRead r = readTextSpectrum(text);
        EXPECT_NE(r.error.find(said), std::string::npos) << r.error;
        EXPECT_TRUE(r.spectrum.flux.empty());
    }
}

}  // namespace
}  // namespace kelvora::io
