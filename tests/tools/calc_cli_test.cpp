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

const char* const kDefaultListing =
    "txtAngle\t9.497\ntxtDispersion\t5.918\ntxtLambda1\t3227.58\ntxtLambda2\t7772.42\n"
    "txtSeparation\t12.921\ntxtResolution\t426\nlblLambda\tà  5500 angstroms\n"
    "txtDCollimateur\t20.83\ntxtDGrating\t20.83\ntxtDChambre\t24.\ntxtFD\t2.08\ntxtSB\t214.7\n";

TEST(KelvoraCalc, DefaultListing) {
    const Result r = calc({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kDefaultListing);
    EXPECT_EQ(r.err, "");
}

TEST(KelvoraCalc, SeparatorFromRegionOrOption) {
    EXPECT_EQ(calc({}, ",").out.substr(0, 15), "txtAngle\t9,497\n");
    EXPECT_EQ(calc({"--decimal-separator", ","}).out.substr(0, 15), "txtAngle\t9,497\n");
    EXPECT_EQ(calc({"--decimal-separator=."}, ",").out, kDefaultListing);
}

TEST(KelvoraCalc, OptionsAndFields) {
    EXPECT_NE(calc({"--detector", "KAF-3200"}).out.find("txtSB\t189.2\n"), std::string::npos);
    EXPECT_NE(calc({"--model", "fente"}).out.find("txtSB\t231.6\n"), std::string::npos);
    EXPECT_NE(calc({"--model=fente", "txtSlitWide=0.05"}).out.find("txtSB\t233.8\n"),
              std::string::npos);
    EXPECT_NE(calc({"txtBin1=2"}).out.find("txtDispersion\t11.836\n"), std::string::npos);
}

TEST(KelvoraCalc, FaultStopsAfterTheShownLines) {
    const Result r = calc({"txtCollimateur="});
    EXPECT_EQ(r.status, 1);
    const std::string listing = kDefaultListing;
    EXPECT_EQ(r.out, listing.substr(0, listing.find("txtSeparation")));
    EXPECT_EQ(r.err, "Division par zéro au calcul de « Pouvoir séparateur » (txtSeparation)\n");
}

TEST(KelvoraCalc, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"--frobnicate"},           {"txtNothing=1"},      {"txtAngle=1"}, {"txtDiametre"},
        {"--detector", "KAF-9999"}, {"--model", "prisme"}, {"--detector"}, {"--format", "xml"},
    };
    for (const auto& args : bad) {
        const Result r = calc(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("kelvora-calc : ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
    }
}

TEST(KelvoraCalc, HelpAndVersion) {
    const Result help = calc({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"--detector", "--model", "--decimal-separator", "txtBin2=1",
                             "Division par zéro", "code de sortie 2"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    EXPECT_EQ(calc({"--version"}).out, "Kelvora 1.00\n");
}

TEST(KelvoraCalcSweep, CsvTableQuotesCommas) {
    const Result r = calc({"txtTraits=150", "txtTraits=300", "--decimal-separator", ","});
    EXPECT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header,
              "txtTraits,txtAngle,txtDispersion,txtLambda1,txtLambda2,txtSeparation,"
              "txtResolution,lblLambda,txtDCollimateur,txtDGrating,txtDChambre,txtFD,txtSB,erreur");
    EXPECT_EQ(second.substr(0, 29), "300,\"9,497\",\"5,918\",\"3227,58\"");
    EXPECT_EQ(second.substr(second.size() - 8), "\"214,7\",");
    EXPECT_EQ(first.substr(0, 4), "150,");
}

TEST(KelvoraCalcSweep, CombinationsInOrderWithFaultColumn) {
    const Result r = calc({"--detector", "KAF-0400", "--detector", "KAF-3200", "txtOrdre=1",
                           "txtOrdre=2", "txtTraits=1200"});
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].substr(0, 18), "detector,txtOrdre,");
    EXPECT_EQ(rows[1].substr(0, 11), "KAF-0400,1,");
    EXPECT_EQ(rows[2],
              "KAF-0400,2,,,,,,,,,,,,,Argument incorrect au calcul de « Angle de "
              "diffraction » (txtAngle)");
    EXPECT_EQ(rows[3].substr(0, 11), "KAF-3200,1,");
    EXPECT_EQ(rows[4].substr(0, 11), "KAF-3200,2,");
}

TEST(KelvoraCalcSweep, JsonRows) {
    const Result r = calc({"--format", "json", "--model", "barlow", "--model", "fente"});
    EXPECT_EQ(r.out.substr(0, 43), "[\n  {\"model\": \"barlow\", \"txtAngle\": \"9.497\"");
    EXPECT_NE(r.out.find("\"txtSB\": \"231.6\", \"erreur\": null}\n]\n"), std::string::npos);
    const Result fault = calc({"--format", "json", "txtChambre="});
    EXPECT_NE(fault.out.find("\"txtDispersion\": null"), std::string::npos);
}

}  // namespace
}  // namespace kelvora::cli
