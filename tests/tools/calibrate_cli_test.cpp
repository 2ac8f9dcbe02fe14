// `kelvora-calc etalonner` on synthetic spectra written as text, as a user
// would give them: the measured efficiency within 3 % of the curve that
// made them, saved into a design that then predicts with it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <sstream>

#include "io/designfile.h"
#include "model/design/calibration.h"
#include "tests/support/keyed.h"
#include "tools/calc_cli.h"

namespace kelvora::cli {
namespace {

std::vector<std::string> keyArgs() {
    std::vector<std::string> out;
    for (const auto& [k, v] : testkeys::kObserving) out.push_back(std::string(k) + "=" + v);
    return out;
}

double sloped(double l) {
    return 0.4 + 0.5 * (l - 4500) / 3000;
}
double dipped(double l) {
    return 0.8 * (1 - 0.3 * std::exp(-std::pow((l - 5600) / 250, 2)));
}

// A text spectrum with the header lines capture software writes.
void writeText(const std::string& path, const design::ObservedSpectrum& s) {
    std::ofstream out(path);
    out << "# EXPTIME = " << s.exptime_s << "\n# GAIN = 1\nOBJNAME = 'synthetique'\n";
    out.precision(17);
    for (std::size_t i = 0; i < s.flux.size(); ++i)
        out << s.lambda_a[i] << "," << s.flux[i] << "\n";
}

TEST(CalibrateCli, TheMeasuredCurveIsWithinThreePercentAndSavesIntoTheDesign) {
    const design::DesignInput in = testkeys::with(testkeys::kObserving);
    const design::DesignOutcome o = design::evaluate(in);
    QTemporaryDir dir;
    struct Case {
        double (*factor)(double);
        double exptime;
    };
    for (const Case& c : {Case{sloped, 30}, Case{dipped, 300}}) {
        const std::string spectrum = dir.filePath("spectre.txt").toStdString();
        writeText(spectrum, design::syntheticSpectrum(in, c.factor, c.exptime, 11));
        const std::string saved = dir.filePath("moi.kelvora").toStdString();
        std::vector<std::string> args{"etalonner", spectrum};
        for (const std::string& a : keyArgs()) args.push_back(a);
        args.insert(args.end(), {"--enregistrer", saved});
        std::ostringstream out, err;
        ASSERT_EQ(runCalc(args, ".", DetectorCatalogue(), out, err), 0) << err.str();
        std::istringstream rows(out.str());
        std::string line;
        std::getline(rows, line);
        EXPECT_EQ(line, "lambda_a,observe_e_s_a,predit_e_s_a,rapport,snr,rendement_mesure,masque");
        int used = 0;
        while (std::getline(rows, line)) {
            if (line.ends_with(",oui")) continue;
            double l = 0, efficiency = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%*f,%*f,%*f,%*f,%lf", &l, &efficiency), 2)
                << line;
            EXPECT_NEAR(efficiency / (c.factor(l) * design::assumedInstrumentAt(in, o, l)), 1, 0.03)
                << l;
            ++used;
        }
        EXPECT_GT(used, 30);
        io::DesignFile file;
        ASSERT_EQ(io::readDesignFile(saved, DetectorCatalogue(), file), "");
        ASSERT_EQ(file.design.etalonnages.size(), 1u);
        const design::MeasuredRatio& m = file.design.etalonnages.front();
        EXPECT_EQ(m.star, "synthetique");
        EXPECT_EQ(m.file, "spectre.txt");
        // Every bin used, and the spectrum's two ends the edge bins cover.
        EXPECT_EQ(static_cast<int>(m.points.size()), used + 2);
        // The saved design predicts with its measured efficiency, and says so.
        std::ostringstream out2, err2;
        ASSERT_EQ(runCalc({"conception", saved, "--format", "json"}, ".", DetectorCatalogue(), out2,
                          err2),
                  0);
        EXPECT_NE(err2.str().find("rendement mesuré le " + m.date + ", synthetique (spectre.txt)"),
                  std::string::npos)
            << err2.str();
    }
}

TEST(CalibrateCli, ASpectrumThatCannotBeReadOrUsedSaysWhy) {
    QTemporaryDir dir;
    const std::string bad = dir.filePath("vide.txt").toStdString();
    std::ofstream(bad) << "6500 1\n6501 2\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {{"etalonner"}, 2, "« etalonner » attend le fichier du spectre"},
        {{"etalonner", bad}, 2, "moins de 50 points"},
        {{"etalonner", dir.filePath("absent.fits").toStdString()}, 2, "impossible d'ouvrir"},
        {{"conception", "--enregistrer", "x.kelvora"}, 2, "--enregistrer ne va qu'avec"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(runCalc(c.args, ".", DetectorCatalogue(), out, err), c.status) << c.said;
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
    }
}

// A design's calibrations listed, one removed into another file.
TEST(CalibrateCli, CalibrationsAreListedAndOneRemoved) {
    QTemporaryDir dir;
    const std::string design = KELVORA_SOURCE_DIR "/docs/exemple/instrument-exemple.kelvora";
    const std::string spectra = KELVORA_SOURCE_DIR "/tests/data/spectra/";
    const std::string one = dir.filePath("un.kelvora").toStdString(),
                      two = dir.filePath("deux.kelvora").toStdString(),
                      back = dir.filePath("retour.kelvora").toStdString();
    std::ostringstream out, err;
    ASSERT_EQ(runCalc({"etalonner", spectra + "table-vecteur.fits", design, "--enregistrer", one},
                      ".", DetectorCatalogue(), out, err),
              0)
        << err.str();
    ASSERT_EQ(runCalc({"etalonner", spectra + "lineaire.fits", one, "detecteur=KAF-0400",
                       "--enregistrer", two},
                      ".", DetectorCatalogue(), out, err),
              0)
        << err.str();
    std::ostringstream list, none;
    ASSERT_EQ(runCalc({"etalonnages", two}, ".", DetectorCatalogue(), list, none), 0) << none.str();
    std::istringstream rows(list.str());
    std::string header, first, second, extra;
    std::getline(rows, header);
    std::getline(rows, first);
    std::getline(rows, second);
    EXPECT_FALSE(std::getline(rows, extra));
    EXPECT_EQ(header,
              "numero,date,etoile,fichier,snr,rapport_median,lambda_min_a,lambda_max_a,capteur,"
              "difference");
    // The first was measured with the IMX533, the design now holds the KAF-0400.
    EXPECT_NE(first.find("table-vecteur.fits"), std::string::npos);
    EXPECT_NE(
        first.find(",IMX533,instrument changé depuis l'étalonnage : Capteur IMX533 → KAF-0400"),
        std::string::npos)
        << first;
    EXPECT_NE(second.find("lineaire.fits"), std::string::npos);
    EXPECT_NE(second.find(",KAF-0400,"), std::string::npos) << second;
    ASSERT_EQ(runCalc({"etalonnages", two, "--retirer", "2", "--enregistrer", back}, ".",
                      DetectorCatalogue(), out, err),
              0);
    io::DesignFile a, b;
    ASSERT_EQ(io::readDesignFile(one, DetectorCatalogue(), a), "");
    ASSERT_EQ(io::readDesignFile(back, DetectorCatalogue(), b), "");
    EXPECT_EQ(b.design.etalonnages, a.design.etalonnages);
    std::ostringstream out3, err3;
    EXPECT_EQ(runCalc({"etalonnages", two, "--retirer", "3", "--enregistrer", back}, ".",
                      DetectorCatalogue(), out3, err3),
              2);
    EXPECT_NE(err3.str().find("pas d'étalonnage n° 3 (2 dans ce fichier)"), std::string::npos);
}

// The header's GAIN = 139 is a camera setting: refused until the gain is
// given on the command line; its help needs no spectrum.
TEST(CalibrateCli, TheGainIsAskedForAndGivenOnTheCommandLine) {
    const std::string spectrum = KELVORA_SOURCE_DIR "/tests/data/spectra/table-gain139.fits";
    const std::string design = KELVORA_SOURCE_DIR "/docs/exemple/instrument-exemple.kelvora";
    std::ostringstream out, err, out2, err2, help, none;
    EXPECT_EQ(runCalc({"etalonner", spectrum, design}, ".", DetectorCatalogue(), out, err), 1);
    EXPECT_NE(err.str().find("donnez le gain en e⁻/ADU (gain_e_adu)"), std::string::npos);
    EXPECT_EQ(runCalc({"etalonner", spectrum, design, "gain_e_adu=1", "masse_air=1.3"}, ".",
                      DetectorCatalogue(), out2, err2),
              0)
        << err2.str();
    EXPECT_NE(err2.str().find("gain 1 e⁻/ADU, masse d'air 1.3"), std::string::npos) << err2.str();
    EXPECT_EQ(runCalc({"etalonner", "--help"}, ".", DetectorCatalogue(), help, none), 0);
    EXPECT_EQ(help.str().rfind("usage : kelvora-calc etalonner SPECTRE", 0), 0u) << help.str();
}

// Saving never destroys the user's files: not the spectrum being read, nor
// any file that is not a design; and the night's exposure, airmass and gain
// stay the night's, not the design's.
TEST(CalibrateCli, SavingKeepsTheSpectrumAndTheDesignsOwnObservation) {
    QTemporaryDir dir;
    const std::string design = KELVORA_SOURCE_DIR "/docs/exemple/instrument-exemple.kelvora";
    const std::string spectrum = dir.filePath("vecteur.fits").toStdString();
    ASSERT_TRUE(QFile::copy(KELVORA_SOURCE_DIR "/tests/data/spectra/table-vecteur.fits",
                            QString::fromStdString(spectrum)));
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = bytes(spectrum);
    std::ostringstream out, err;
    EXPECT_EQ(runCalc({"etalonner", spectrum, design, "--enregistrer", spectrum}, ".",
                      DetectorCatalogue(), out, err),
              2);
    EXPECT_NE(err.str().find("n'est pas une conception Kelvora : il n'est pas remplacé"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(bytes(spectrum), before);

    io::DesignFile original;
    ASSERT_EQ(io::readDesignFile(design, DetectorCatalogue(), original), "");
    const std::string saved = dir.filePath("moi.kelvora").toStdString();
    std::ostringstream out2, err2;
    ASSERT_EQ(runCalc({"etalonner", spectrum, design, "pose_s=300", "masse_air=1.5",
                       "gain_e_adu=0.8", "--enregistrer", saved},
                      ".", DetectorCatalogue(), out2, err2),
              0)
        << err2.str();
    io::DesignFile kept;
    ASSERT_EQ(io::readDesignFile(saved, DetectorCatalogue(), kept), "");
    EXPECT_EQ(kept.design.pose_s, original.design.pose_s);
    EXPECT_EQ(kept.design.masse_air, original.design.masse_air);
    EXPECT_EQ(kept.design.gain_e_adu, original.design.gain_e_adu);
    // The gain given at calibration time was used over the file's EGAIN, and said.
    EXPECT_NE(err2.str().find("remplacé par le gain donné, 0.8 e⁻/ADU"), std::string::npos)
        << err2.str();
}

}  // namespace
}  // namespace kelvora::cli
