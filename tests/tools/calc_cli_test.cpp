#include "tools/calc_cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvora::cli {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result calc(std::vector<std::string> args, const std::string& regional = ".") {
    std::ostringstream out, err;
    const int status = runCalc(args, regional, DetectorCatalogue(), out, err);
    return {status, out.str(), err.str()};
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kDefaultListing =
    "txtAngle\t9.497\ntxtDispersion\t5.918\ntxtLambda1\t3227.58\ntxtLambda2\t7772.42\n"
    "txtSeparation\t12.921\ntxtResolution\t426\nlblLambda\tà  5500 angstroms\n"
    "txtDCollimateur\t20.83\ntxtDGrating\t20.83\ntxtDChambre\t24.\ntxtFD\t2.08\ntxtSB\t214.7\n";

TEST(KelvoraCalc, ListingOptionsAndSeparator) {
    EXPECT_EQ(calc({}).out, kDefaultListing);
    EXPECT_EQ(calc({}, ",").out.substr(0, 15), "txtAngle\t9,497\n");
    EXPECT_EQ(calc({"--decimal-separator", ","}).out.substr(0, 15), "txtAngle\t9,497\n");
    EXPECT_EQ(calc({"--decimal-separator=."}, ",").out, kDefaultListing);
    EXPECT_TRUE(has(calc({"--detector", "KAF-3200"}).out, "txtSB\t189.2\n"));
    EXPECT_TRUE(has(calc({"--model=fente", "txtSlitWide=0.05"}).out, "txtSB\t233.8\n"));
    EXPECT_EQ(calc({"--version"}).out, "Kelvora 1.00\n");
    EXPECT_EQ(calc({"-h"}).out, calc({"--help"}).out);
    const std::string help = calc({"--help"}).out;
    for (const char* word : {"--detector", "--model", "--decimal-separator", "txtBin2=1",
                             "Division par zéro", "code de sortie 2", "KAF-3200, KAF-8300"})
        EXPECT_TRUE(has(help, word)) << word;
}

TEST(KelvoraCalc, NotesOnFieldsNotReadWhole) {
    const Result r = calc({"txtDiametre=2,5", "txtFocale=1200"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "kelvora-calc : txtDiametre : « 2,5 » est lu comme 2 (le séparateur décimal est le "
              "point)\n");
    EXPECT_TRUE(has(r.out, "txtDCollimateur\t.21\n")) << "the output is as without the note";
}

TEST(KelvoraCalc, FaultStopsAfterTheShownLines) {
    const Result r = calc({"txtCollimateur="});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kDefaultListing.substr(0, kDefaultListing.find("txtSeparation")));
    EXPECT_EQ(r.err,
              "kelvora-calc : txtCollimateur : champ vide, lu comme 0\n"
              "Division par zéro au calcul de « Pouvoir séparateur » (txtSeparation)\n");
}

TEST(KelvoraCalc, UsageErrorsAreOneLineAndStatus2) {
    // clang-format off
    const std::vector<std::vector<std::string>> cases{
        {"--frobnicate"}, {"txtNothing=1"}, {"txtAngle=1"}, {"txtDiametre"},
        {"--detector", "KAF-9999"}, {"--model", "prisme"}, {"--detector"}, {"--detector", ""},
        {"--decimal-separator", ""}, {"--format", "xml"}, {"conception", "qe=2,5"},
        {"conception", "qe="}, {"conception", "lambda=1"}, {"conception", "geometrie=prisme"},
        {"conception", "--detector", "IMX183"}};
    // clang-format on
    for (const std::vector<std::string>& args : cases) {
        const Result r = calc(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("kelvora-calc : ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) rows.push_back(line);
    return rows;
}

TEST(KelvoraCalcSweep, CsvHasNumbersWhateverTheSeparator) {
    const Result r = calc({"--detector", "KAF-0400", "--detector", "KAF-3200", "txtOrdre=1",
                           "txtOrdre=2", "txtTraits=1200"},
                          ",");
    EXPECT_EQ(r.status, 1);
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0],
              "detector,txtOrdre,txtAngle,txtDispersion,txtLambda1,txtLambda2,txtSeparation,"
              "txtResolution,lblLambda,txtDCollimateur,txtDGrating,txtDChambre,txtFD,txtSB,erreur");
    EXPECT_EQ(rows[1].substr(0, 30), "KAF-0400,1,41.299872786313216,");
    EXPECT_EQ(rows[2],
              "KAF-0400,2,,,,,,,,,,,,,Argument incorrect au calcul de « Angle de "
              "diffraction » (txtAngle)");
    EXPECT_EQ(rows[4].substr(0, 12), "KAF-3200,2,,");
    // The window's texts on request, quoted where they hold a comma or a quote.
    const auto texts = lines(calc({"--textes", "txtTraits=150", "txtTraits=3\"00"}, ",").out);
    EXPECT_EQ(texts[1].substr(0, 14), "150,\"4,732\",\"1");
    EXPECT_EQ(texts[2].substr(0, 8), "\"3\"\"00\",");
}

TEST(KelvoraCalcSweep, JsonAndTextRows) {
    const Result r = calc({"--format", "json", "--model", "barlow", "--model", "fente"});
    EXPECT_EQ(r.out.substr(0, 54), "[\n  {\"model\": \"barlow\", \"txtAngle\": 9.497234467276968,");
    EXPECT_TRUE(has(r.out, "\"txtSB\": 231.5761563065151"));
    EXPECT_TRUE(has(calc({"--format", "json", "txtChambre="}).out, "\"txtDispersion\": null"));
    const Result tab = calc({"--format", "json", "--textes", "txtTraits=3\t00", "txtTraits=150"});
    EXPECT_TRUE(has(tab.out, "{\"txtTraits\": \"3\\u000900\", \"txtAngle\": \"9.497\""));
    EXPECT_EQ(calc({"--format", "text", "txtOrdre=1", "txtOrdre=2", "txtTraits=1200"}).out,
              "txtOrdre\t1\ntxtAngle\t41.3\ntxtDispersion\t1.127\ntxtLambda1\t5067.27\n"
              "txtLambda2\t5932.73\ntxtSeparation\t2.461\ntxtResolution\t2235\n"
              "lblLambda\tà  5500 angstroms\ntxtDCollimateur\t20.83\ntxtDGrating\t20.83\n"
              "txtDChambre\t19.11\ntxtFD\t2.62\ntxtSB\t69.6\n\n"
              "txtOrdre\t2\nerreur\tArgument incorrect au calcul de « Angle de diffraction » "
              "(txtAngle)\n");
}

TEST(KelvoraCalcDesign, SingleRunSweepAndImpossibleRows) {
    const Result one = calc({"conception", "mag_etoile=6", "cible_snr=100"});
    EXPECT_EQ(one.status, 0);
    EXPECT_TRUE(has(one.out, "beta_deg\t9.49723446851705\n"));
    EXPECT_TRUE(has(one.out, "echantillonnage\tsous-échantillonné\nfaisceau_mm"));
    EXPECT_TRUE(has(one.out, "saturation\tfalse\n"));
    EXPECT_TRUE(has(one.out, "pose_cible_s\t"));
    EXPECT_TRUE(has(one.out, "saturation_cible\tfalse\n"));
    const Result none = calc({"conception", "traits_mm=2400", "lambda_a=6563"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err,
              "pas de diffraction : m·N·λ = 1.58 > 1 ; longueur d'onde maximale 4167 Å\n");
    const auto rows = lines(calc({"conception", "traits_mm=1200", "traits_mm=2400", "lambda_a=6563",
                                  "geometrie=convergent", "--format", "csv"})
                                .out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].substr(0, 30), "traits_mm,alpha_deg,beta_deg,a");
    EXPECT_TRUE(rows[0].ends_with(
        "transmission_fente,recouvrement_ordre2_a,rangees_extraites,fraction_extraite,erreur"))
        << rows[0];
    EXPECT_EQ(rows[2].substr(0, 7), "2400,,,");
    EXPECT_EQ(calc({"conception", "traits_mm=1200", "traits_mm=2400", "lambda_a=6563"}).status, 1);
    // A sensor swept with a key that overrides its values keeps the key's value.
    const auto sensors = lines(
        calc({"conception", "detecteur=IMX183", "detecteur=IMX533", "bruit_e=3", "--format", "csv"})
            .out);
    const Result own = calc({"conception", "detecteur=IMX533", "bruit_e=3"});
    const auto snr = own.out.substr(own.out.find("snr\t") + 4, 10);
    EXPECT_TRUE(has(sensors[2], "," + snr)) << sensors[2];
}

}  // namespace
}  // namespace kelvora::cli
