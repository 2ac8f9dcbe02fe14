// The proposer and the reference lines through the companion: what a user
// types, what they read.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <sstream>

#include "tools/calc_cli.h"

namespace kelvora::cli {
namespace {

struct Result {
    int status;
    std::string out, err;
};

Result calc(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCalc(args, ".", DetectorCatalogue(), out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

// "KEY\tVALUE" lines of a single conception run.
std::string valueOf(const std::string& listing, const std::string& key) {
    for (const std::string& line : split(listing, '\n'))
        if (line.rfind(key + "\t", 0) == 0) return line.substr(key.size() + 1);
    return "(absent)";
}

// A Be-star observer's question: which design gives R ≈ 10,000 at Hα?
TEST(Proposer, EveryCandidateIsReproducedByConception) {
    const std::vector<std::string> fixed{"diametre_mm=200",  "focale_mm=2000", "seeing_arcsec=2.5",
                                         "detecteur=IMX533", "lambda_a=6563",  "mag_etoile=6"};
    std::vector<std::string> args{"proposer", "resolution_cible=10000"};
    args.insert(args.end(), fixed.begin(), fixed.end());
    const Result r = calc(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = split(r.out, '\n');
    ASSERT_GE(rows.size(), 4u) << "at least three candidates";
    const std::vector<std::string> columns = split(rows[0], ',');
    ASSERT_EQ(columns[0], "geometrie");
    double previous = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> cells = split(rows[i], ',');
        std::vector<std::string> conception{"conception"};
        conception.insert(conception.end(), fixed.begin(), fixed.end());
        std::size_t c = 0;
        for (; columns[c] != "resolution"; ++c) conception.push_back(columns[c] + "=" + cells[c]);
        const Result again = calc(conception);
        ASSERT_EQ(again.status, 0) << again.err;
        for (; c < columns.size(); ++c)
            EXPECT_EQ(valueOf(again.out, columns[c]), cells[c]) << columns[c];
        const auto r = std::find(columns.begin(), columns.end(), "resolution") - columns.begin();
        EXPECT_GE(std::stod(cells[static_cast<std::size_t>(r)]), 10000);
        const double exposure = std::stod(cells.back());
        EXPECT_GE(exposure, previous) << "shortest exposure first";
        previous = exposure;
    }
}

TEST(Proposer, ATargetNoDesignReachesSaysHowCloseAndExitsOne) {
    const Result r = calc({"proposer", "resolution_cible=200000", "detecteur=IMX533"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("aucune conception n'atteint R = 200000 ; la plus proche qui remplit les "
                          "autres conditions donne R = ",
                          0),
              0u)
        << r.err;
    EXPECT_NE(r.err.find("2400 traits/mm"), std::string::npos) << r.err;
    EXPECT_EQ(calc({"proposer", "detecteur=IMX533"}).status, 2) << "no target";
    EXPECT_EQ(calc({"proposer", "resolution_cible=1000", "reseaux=600,abc"}).status, 2);
    const Result narrow = calc({"proposer", "resolution_cible=1000", "reseaux=600",
                                "focales=100,200", "fentes=0", "binnings=1", "--format", "json"});
    EXPECT_EQ(narrow.status, 0) << narrow.err;
    EXPECT_NE(narrow.out.find("\"traits_mm\": 600"), std::string::npos);
}

// Will I see this line? The sodium doublet (5.97 Å) on two instruments.
TEST(ReferenceLines, PairsAreJudgedAgainstTheResolutionElement) {
    auto pairRow = [](const std::vector<std::string>& args, const std::string& pair) {
        for (const std::string& row : split(calc(args).out, '\n'))
            if (row.rfind("paire," + pair + ",", 0) == 0) return row;
        return std::string("(absent)");
    };
    EXPECT_NE(pairRow({"conception", "--raies"}, "Na D1/D2").find(",non séparé,"),
              std::string::npos);
    EXPECT_NE(pairRow({"conception", "traits_mm=1200", "lambda_a=5890", "--raies"}, "Na D1/D2")
                  .find(",séparé,"),
              std::string::npos);
    const Result neon = calc({"conception", "traits_mm=1200", "lambda_a=6400", "--raies"});
    EXPECT_NE(neon.out.find("raie,Ne 6402,6402.248,"), std::string::npos);
    EXPECT_NE(neon.out.find("lampe,lampe néon,,,,,,"), std::string::npos);
    EXPECT_EQ(calc({"conception", "traits_mm=2400", "lambda_a=6563", "--raies"}).status, 1);
}

// Slitless designs try the grating's distance; the S/N column is the one
// the target aims at.
TEST(Proposer, SlitlessDistancesAndTheTargetsSnr) {
    const Result r = calc({"proposer", "resolution_cible=40", "geometries=convergent",
                           "reseaux=100,200", "distances=20,60", "snr_par=element"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = split(r.out, '\n');
    const std::vector<std::string> columns = split(rows[0], ',');
    const auto at = [&](const char* name) {
        return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), name) -
                                        columns.begin());
    };
    ASSERT_LT(at("snr_element"), columns.size());
    EXPECT_EQ(at("snr"), columns.size()) << "per element, not per pixel";
    std::set<std::string> distances;
    for (std::size_t i = 1; i < rows.size(); ++i)
        distances.insert(split(rows[i], ',')[at("distance_capteur_mm")]);
    EXPECT_EQ(distances, (std::set<std::string>{"20", "60"}));
}

}  // namespace
}  // namespace kelvora::cli
