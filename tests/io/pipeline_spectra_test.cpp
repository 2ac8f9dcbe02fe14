// Spectra as pipelines and capture software write them, made by astropy
// (tests/data/spectra/make_spectra.py) from the manual's raw example: each
// is read and calibrated to the example's curve, or refused in one French
// sentence that names the reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "io/designfile.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/chain.h"
#include "model/design/measured.h"

namespace kelvora::io {
namespace {

const std::string kExample = KELVORA_SOURCE_DIR "/docs/exemple/";
const std::string kSpectra = KELVORA_SOURCE_DIR "/tests/data/spectra/";

design::DesignInput exampleInstrument() {
    std::ifstream in(kExample + "instrument-exemple.kelvora");
    std::stringstream bytes;
    bytes << in.rdbuf();
    DesignFile file;
    EXPECT_EQ(parseDesignFile(bytes.str(), DetectorCatalogue(), file), "");
    return file.design;
}

struct Outcome {
    design::Calibration calibration;
    std::string error;  // the reader's or the calibration's
};

Outcome calibrated(const std::string& path, design::CalibrationOverrides user = {}) {
    const SpectrumRead r = readSpectrumFile(path);
    if (!r.error.empty()) return {{}, r.error};
    design::Calibration c = design::calibrate(exampleInstrument(), r.spectrum, "", "", user);
    return {c, c.error};
}

// The largest departure of a calibration's ratio from the raw example's.
double departure(const design::Calibration& c, const design::Calibration& reference) {
    double worst = 0;
    for (const auto& [l, r] : c.ratio.points)
        if (l >= reference.ratio.points.front().first && l <= reference.ratio.points.back().first)
            worst = std::max(
                worst, std::fabs(r / design::chain::interpolate(reference.ratio.points, l) - 1));
    return worst;
}

TEST(PipelineSpectra, EachFormCalibratesToTheExamplesCurveOrIsRefusedWithItsReason) {
    const Outcome raw = calibrated(kExample + "spectre-exemple.fits");
    ASSERT_EQ(raw.error, "");
    ASSERT_GT(raw.calibration.ratio.points.size(), 30u);
    struct Case {
        const char* file;
        double tolerance;  // on the ratio; 0: refused
        const char* said;  // in the notes, or the refusal
    };
    const Case cases[] = {
        {"table-gain120-egain1.fits", 0.01, "GAIN = 120 ignoré (réglage de la caméra)"},
        {"table-vecteur.fits", 0.01, ""},
        {"table-colonnes-diverses.fits", 0.01, ""},
        {"table-altitude.fits", 0.01, "tirée de la hauteur 50.28°"},
        {"table-binning2.fits", 0.01, "binning du fichier 2×2, de la conception 1×1"},
        // Resampled, keeping the counts per Å: interpolation smooths the noise.
        {"lineaire.fits", 0.03, "bruit corrélé entre points voisins"},
        {"log-lineaire.fits", 0.03, "bruit corrélé entre points voisins"},
        {"iraf-log10.fits", 0.03, "bruit corrélé entre points voisins"},
        {"multispec.fits", 0.03, ""},
        {"multispec-log.fits", 0.03, ""},
        // FLUX_ERR, FLUXERR, FLUX_SKY and FLUX_NORM come first: FLUX is read, and said.
        {"table-erreurs-avant.fits", 0.01, "colonnes lues : wavelength et flux"},
        {"table-deux-flux.fits", 0,
         "plusieurs colonnes de flux possibles (« flux_a », « flux_b »)"},
        // A frame, the sky, the spectrum: the one named SPECTRUM is read, and said.
        {"images-ciel-spectre.fits", 0.03, "spectre lu : HDU 2 « SPECTRUM »"},
        {"images-deux-spectres.fits", 0, "plusieurs spectres possibles (HDU 1 « A », HDU 2 « B »)"},
        {"images-trois-rangees.fits", 0, "HDU 0 : image de 3 rangées"},
        // Wavelengths rounded to 0.1 Å: within 0.5 % (+2.7 % from the rounded steps).
        {"table-arrondie.fits", 0.005, ""},
        {"table-deux-ordres.fits", 0, "table de 2 rangées qui se chevauchent en longueur d'onde"},
        {"table-gain139.fits", 0, "GAIN = 139 n'est pas un gain en e⁻/ADU"},
        {"echelle.fits", 0, "spectre à 3 ordres ou ouvertures (échelle, multispec)"},
        {"flux-erg.fits", 0, "le spectre est en « erg/cm2/s/A » : un spectre calibré en flux"},
        {"flux-sans-unite.fits", 0, "rendement médian mesuré de"},
        {"normalise.fits", 0, "le spectre semble normalisé"},
        {"vitesse.fits", 0, "l'axe n'est pas une longueur d'onde (CTYPE1 = « VRAD »)"},
        {"negatif.fits", 0, "la médiane du spectre n'est pas positive"},
    };
    for (const Case& c : cases) {
        const Outcome o = calibrated(kSpectra + c.file);
        std::string said = o.error;
        for (const std::string& n : o.calibration.notes) said += " | " + n;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.file << ": " << said;
        // A file that gives no binning is not said to differ from the design.
        if (std::string_view(c.said).find("binning du") == std::string_view::npos) {
            EXPECT_EQ(said.find("binning du"), std::string::npos) << c.file << ": " << said;
        }
        if (c.tolerance == 0) {
            EXPECT_NE(o.error, "") << c.file;
            EXPECT_TRUE(o.calibration.ratio.points.empty()) << c.file;
        } else {
            EXPECT_EQ(o.error, "") << c.file;
            if (o.error.empty()) {
                EXPECT_LT(departure(o.calibration, raw.calibration), c.tolerance) << c.file;
            }
        }
    }
    // A declared redshift moves the multispec axis: λ = w / (1 + z).
    const SpectrumRead z = readSpectrumFile(kSpectra + "multispec-z.fits");
    const SpectrumRead rest = readSpectrumFile(kSpectra + "multispec.fits");
    ASSERT_EQ(z.error + rest.error, "");
    EXPECT_NEAR(z.spectrum.lambda_a.front(), rest.spectrum.lambda_a.front() / 1.0005, 1e-9);
    // Log-linear multispec (dtype 1): w is log10 λ, from the first sample to the last.
    const SpectrumRead log = readSpectrumFile(kSpectra + "multispec-log.fits");
    const SpectrumRead example = readSpectrumFile(kExample + "spectre-exemple.fits");
    ASSERT_EQ(log.error + example.error, "");
    EXPECT_NEAR(log.spectrum.lambda_a.front() / example.spectrum.lambda_a.front(), 1, 1e-9);
    EXPECT_NEAR(log.spectrum.lambda_a.back() / example.spectrum.lambda_a.back(), 1, 1e-9);
    // Told the gain, the camera's setting no longer matters.
    const Outcome told = calibrated(kSpectra + "table-gain139.fits", {1, 0, 0});
    ASSERT_EQ(told.error, "");
    EXPECT_LT(departure(told.calibration, raw.calibration), 1e-12);
}

// Whatever a calibration stores, a design file holds and reads back: no
// face writes a file it would refuse to open.
TEST(PipelineSpectra, EveryCalibrationSavesAndOpensUnchanged) {
    DesignFile file;
    file.design = exampleInstrument();
    file.hasDesign = true;
    for (const char* name : {"table-gain120-egain1.fits", "table-altitude.fits", "lineaire.fits",
                             "log-lineaire.fits", "iraf-log10.fits", "multispec.fits"}) {
        const Outcome o = calibrated(kSpectra + name);
        ASSERT_EQ(o.error, "") << name;
        file.design.etalonnages.push_back(o.calibration.ratio);
    }
    // An instrument three times better than assumed: bins above 1 left out.
    const auto better = [](double) { return 3.0; };
    const design::Calibration high = design::calibrate(
        file.design, design::syntheticSpectrum(file.design, better, 60, 9), "2026-12-08", "x");
    ASSERT_EQ(high.error, "");
    ASSERT_TRUE(std::any_of(high.bins.begin(), high.bins.end(),
                            [](const design::CalibrationBin& b) { return b.outOfBounds; }));
    file.design.etalonnages.push_back(high.ratio);
    DesignFile read;
    ASSERT_EQ(parseDesignFile(serializeDesignFile(file), DetectorCatalogue(), read), "");
    EXPECT_EQ(read.design.etalonnages, file.design.etalonnages);
    EXPECT_EQ(serializeDesignFile(read), serializeDesignFile(file));
}

// The example's recipe (tools/samples/sample_spectrum.cpp), typed again.
double tiredCoating(double l) {
    return 0.75 * (1 - 0.25 * std::exp(-std::pow((l - 5200) / 300, 2)));
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The true S/N per pixel: the expected electrons over √(electrons + the
// read noise of the rows summed), at the median.
TEST(PipelineSpectra, TheSNOfRawAndResampledSpectra) {
    const design::DesignInput in = exampleInstrument();
    const design::DesignOutcome o = design::evaluate(in);
    ASSERT_TRUE(o.result);
    const design::ObservedSpectrum clean = design::syntheticSpectrum(in, tiredCoating, 60, 0);
    std::vector<double> noise;
    const double read2 = in.bruit_e * in.bruit_e * o.result->rangees_extraites;
    for (double e : clean.flux) noise.push_back(std::sqrt(e + read2));
    const double truth = medianOf(clean.flux) / medianOf(noise);
    const Outcome raw = calibrated(kExample + "spectre-exemple.fits");
    const Outcome resampled = calibrated(kExample + "spectre-exemple-reechantillonne.fits");
    ASSERT_EQ(raw.error + resampled.error, "");
    EXPECT_NEAR(raw.calibration.snr / truth, 1, 0.05) << truth;
    EXPECT_EQ(raw.calibration.snr, raw.calibration.derSnr);
    EXPECT_NEAR(resampled.calibration.snr / truth, 1, 0.10) << truth;
    EXPECT_GT(resampled.calibration.derSnr / truth, 1.1);  // uncorrected, it flatters
}

}  // namespace
// A vector table of two rows is one spectrum, the rows end to end.
TEST(PipelineSpectra, VectorRowsReadEndToEnd) {
    const SpectrumRead one = readSpectrumFile(kExample + "spectre-exemple.fits");
    const SpectrumRead two = readSpectrumFile(kSpectra + "table-vecteur-2-rangs.fits");
    ASSERT_EQ(two.error, "");
    const std::size_t n = one.spectrum.lambda_a.size() / 2 * 2;
    ASSERT_EQ(two.spectrum.lambda_a.size(), n);
    EXPECT_EQ(two.spectrum.lambda_a.back(), one.spectrum.lambda_a[n - 1]);
    EXPECT_EQ(two.spectrum.flux[n / 2], one.spectrum.flux[n / 2]);
}

// The table's own header stands over the primary one, which fills in what
// it lacks (FITS's inheritance convention; astropy wrote EXPTIME 60, EGAIN 1
// and AIRMASS 1.3 in the primary header, EXPTIME 30 and EGAIN 2 in the table's).
TEST(PipelineSpectra, TheTablesOwnHeaderStands) {
    const SpectrumRead r = readSpectrumFile(kSpectra + "table-deux-entetes.fits");
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.spectrum.exptime_s, 30);
    EXPECT_EQ(r.spectrum.egain, 2);
    EXPECT_EQ(r.spectrum.airmass, 1.3);
}

}  // namespace kelvora::io

namespace kelvora::io {
namespace {

// The header as pipelines write it (make_spectra.py, astropy): each file
// holds the raw example's electrons, so read as the standard says it
// calibrates to the raw example's curve; what was set aside is said.
TEST(PipelineSpectra, TheHeadersGainUnitAndExposureAreReadOrSaid) {
    const Outcome raw = calibrated(kExample + "spectre-exemple.fits");
    ASSERT_EQ(raw.error, "");
    struct Case {
        const char* file;
        double designGain;                  // the design's gain_e_adu; 0: none
        design::CalibrationOverrides user;  // what the user says at calibration time
        const char* said;                   // in the notes, or the refusal
        bool refused;
    };
    const Case cases[] = {
        // EGAIN 0.25 on counts ×4: the file's gain, not the design's 0.8.
        {"table-egain025.fits",
         0.8,
         {},
         "gain de la conception 0.8 e⁻/ADU ignoré : EGAIN = 0.25",
         false},
        // The user's gain at calibration time wins over EGAIN, and is said.
        {"table-egain025.fits", 0, {0.25, 0, 0}, "", false},
        // ADU per second over 60 s: multiplied by the exposure.
        {"table-adu-s.fits", 0, {}, "un débit, multiplié par la pose de 60 s", false},
        // Electrons: gain 1 whatever EGAIN (2) says.
        {"table-electrons.fits",
         0,
         {},
         "spectre en électrons : gain 1, EGAIN = 2 du fichier ignoré",
         false},
        // EXPTIME 30, EXPOSURE 60: not guessed; the user's 60 s settles it.
        {"table-exptime-conflict.fits", 0, {}, "le fichier donne deux durées de pose", true},
        {"table-exptime-conflict.fits", 0, {0, 60, 0}, "", false},
    };
    for (const Case& c : cases) {
        design::DesignInput in = exampleInstrument();
        in.gain_e_adu = c.designGain;
        const SpectrumRead r = readSpectrumFile(kSpectra + c.file);
        ASSERT_EQ(r.error, "") << c.file;
        const design::Calibration cal = design::calibrate(in, r.spectrum, "", "", c.user);
        std::string said = cal.error;
        for (const std::string& n : cal.notes) said += " | " + n;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.file << ": " << said;
        if (c.refused) {
            EXPECT_NE(cal.error, "") << c.file;
            continue;
        }
        ASSERT_EQ(cal.error, "") << c.file;
        EXPECT_LT(departure(cal, raw.calibration), 1e-6) << c.file << ": " << said;
    }
    // An impossible exposure is named as such, never taken for an absent one.
    const Outcome zero = calibrated(kSpectra + "table-exptime-zero.fits");
    std::string notes;
    for (const std::string& n : zero.calibration.notes) notes += n + " | ";
    EXPECT_NE(notes.find("EXPTIME = 0.0 impossible dans le fichier"), std::string::npos) << notes;
}

// Text as spreadsheets and capture software write it: a byte-order mark
// before the first line, a decimal comma between semicolons or tabs; a
// comma that could be either is refused, naming the line.
TEST(PipelineSpectra, TextSpectraWithTheirMarkAndDecimalComma) {
    std::string semicolons = "\xEF\xBB\xBF", tabs, spaces;
    for (int i = 0; i < 60; ++i) {
        const std::string l = std::to_string(5070 + i), f = std::to_string(46716 + i);
        semicolons += l + ",25;" + f + ",5\n";
        tabs += l + ",25\t" + f + ",5\n";
        spaces += l + ",25 " + f + ",5\n";
    }
    for (const std::string& text : {semicolons, tabs}) {
        const SpectrumRead r = readTextSpectrum(text);
        ASSERT_EQ(r.error, "");
        ASSERT_EQ(r.spectrum.lambda_a.size(), 60u) << "the first line is kept";
        EXPECT_EQ(r.spectrum.lambda_a.front(), 5070.25);
        EXPECT_EQ(r.spectrum.flux.front(), 46716.5);
    }
    const SpectrumRead ambiguous = readTextSpectrum(spaces);
    EXPECT_NE(ambiguous.error.find("ligne 1 : « 5070,25 46716,5 »"), std::string::npos)
        << ambiguous.error;
}

// Every pixel's wavelength as astropy's WCS gives it (wcs-attendu.txt, from
// make_spectra.py): CD1_1 over CDELT1, PC1_1 × CDELT1, CRPIX1 0 by default,
// a log-linear axis.
TEST(PipelineSpectra, EveryPixelsWavelengthIsAstropysWcs) {
    std::ifstream expected(kSpectra + "wcs-attendu.txt");
    std::string line, current;
    SpectrumRead read;
    std::size_t checked = 0;
    while (std::getline(expected, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        std::size_t pixel = 0;
        double lambda = 0;
        fields >> name >> pixel >> lambda;
        if (name != current) {
            current = name;
            read = readSpectrumFile(kSpectra + name);
            ASSERT_EQ(read.error, "") << name;
        }
        ASSERT_LT(pixel, read.spectrum.lambda_a.size()) << name;
        EXPECT_NEAR(read.spectrum.lambda_a[pixel], lambda, 1e-9) << name << " pixel " << pixel;
        ++checked;
    }
    EXPECT_GT(checked, 5u * 1000);
}

// The measured range is the spectrum's, 5069.9–6920.5 Å, not its bins'
// centres: at its blue end the calibrated design predicts what the
// calibrating spectrum itself shows (its observed over predicted there).
TEST(PipelineSpectra, TheMeasuredRangeIsTheSpectrums) {
    const SpectrumRead r = readSpectrumFile(kExample + "spectre-exemple.fits");
    ASSERT_EQ(r.error, "");
    const Outcome raw = calibrated(kExample + "spectre-exemple.fits");
    ASSERT_EQ(raw.error, "");
    const auto& points = raw.calibration.ratio.points;
    EXPECT_EQ(points.front().first, r.spectrum.lambda_a.front());
    EXPECT_EQ(points.back().first, r.spectrum.lambda_a.back());
    design::DesignInput in = exampleInstrument();
    in.etalonnages = {raw.calibration.ratio};
    EXPECT_NE(design::calibrationNote(in, ".").find("domaine 5070–6921 Å"), std::string::npos)
        << design::calibrationNote(in, ".");
    // Between the first sample and the first bin's centre, the ratio is the
    // first bin's: no median ratio 1.27 times higher.
    for (double l : {5072.0, 5080.0, 5090.0})
        EXPECT_NEAR(design::chain::interpolate(points, l) / points[1].second, 1, 1e-12) << l;
}

}  // namespace
}  // namespace kelvora::io
