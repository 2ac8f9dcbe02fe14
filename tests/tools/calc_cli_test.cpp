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
    const int status = runCalc(args, regional, out, err);
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
    const std::string help = calc({"--help"}).out;
    for (const char* word : {"--detector", "--model", "--decimal-separator", "txtBin2=1",
                             "Division par zéro", "code de sortie 2"})
        EXPECT_TRUE(has(help, word)) << word;
}

TEST(KelvoraCalc, FaultStopsAfterTheShownLines) {
    const Result r = calc({"txtCollimateur="});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kDefaultListing.substr(0, kDefaultListing.find("txtSeparation")));
    EXPECT_EQ(r.err, "Division par zéro au calcul de « Pouvoir séparateur » (txtSeparation)\n");
}

TEST(KelvoraCalc, UsageErrorsAreOneLineAndStatus2) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--frobnicate"},
                                               {"txtNothing=1"},
                                               {"txtAngle=1"},
                                               {"txtDiametre"},
                                               {"--detector", "KAF-9999"},
                                               {"--model", "prisme"},
                                               {"--detector"},
                                               {"--format", "xml"}}) {
        const Result r = calc(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("kelvora-calc : ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
    }
}

TEST(KelvoraCalcSweep, CsvRowsInOrderQuotedWithTheFaultColumn) {
    const Result r = calc({"--detector", "KAF-0400", "--detector", "KAF-3200", "txtOrdre=1",
                           "txtOrdre=2", "txtTraits=1200", "--decimal-separator", ","});
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0],
              "detector,txtOrdre,txtAngle,txtDispersion,txtLambda1,txtLambda2,txtSeparation,"
              "txtResolution,lblLambda,txtDCollimateur,txtDGrating,txtDChambre,txtFD,txtSB,erreur");
    EXPECT_EQ(rows[1].substr(0, 19), "KAF-0400,1,\"41,3\",\"");
    EXPECT_EQ(rows[2],
              "KAF-0400,2,,,,,,,,,,,,,Argument incorrect au calcul de « Angle de "
              "diffraction » (txtAngle)");
    EXPECT_EQ(rows[3].substr(0, 11), "KAF-3200,1,");
    EXPECT_EQ(rows[4].substr(0, 12), "KAF-3200,2,,");
}

TEST(KelvoraCalcSweep, JsonRows) {
    const Result r = calc({"--format", "json", "--model", "barlow", "--model", "fente"});
    EXPECT_EQ(r.out.substr(0, 43), "[\n  {\"model\": \"barlow\", \"txtAngle\": \"9.497\"");
    EXPECT_TRUE(has(r.out, "\"txtSB\": \"231.6\", \"erreur\": null}\n]\n"));
    EXPECT_TRUE(has(calc({"--format", "json", "txtChambre="}).out, "\"txtDispersion\": null"));
}

}  // namespace
}  // namespace kelvora::cli
