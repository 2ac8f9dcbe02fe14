#include "model/calculation.h"

#include <gtest/gtest.h>

#include <sstream>

#include "model/numbertext.h"
#include "tests/model/run_helpers.h"

namespace kelvora {
namespace {

using C = Control;
using testing::shownTexts;
using testing::withTexts;

// The twelve shown texts, '|'-separated, with a period as separator.
std::vector<std::string> split(const std::string& joined, char sep) {
    std::vector<std::string> texts;
    std::istringstream in(joined);
    for (std::string t; std::getline(in, t, '|');) {
        if (t.rfind("à ", 0) != 0)  // the wavelength note always keeps the period
            for (char& ch : t) ch = ch == '.' ? sep : ch;
        texts.push_back(t);
    }
    if (!joined.empty() && joined.back() == '|') texts.emplace_back();
    return texts;
}

// clang-format off
const std::pair<RunInput, const char*> kWorked[] = {
    {{}, "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|214.7"},
    {withTexts({}, testing::detector("KAF-3200")),
     "9.497|4.471|617.45|10382.55|9.966|552|à  5500 angstroms|20.83|20.83|27.97|1.79|189.2"},
    {withTexts({}, testing::detector("KAF-1600")),
     "9.497|5.918|955.16|10044.84|12.921|426|à  5500 angstroms|20.83|20.83|27.46|1.82|214.7"},
    {withTexts({{C::txtBin1, "2"}}),
     "9.497|11.836|3227.58|7772.42|20.083|274|à  5500 angstroms|20.83|20.83|24.|2.08|306.2"},
    {withTexts({{C::txtWavelength, "0"}}),
     ".|6.|.|2304.|13.101||à  0 angstroms|20.83|20.83|24.29|2.06|216.4"},
    {withTexts({{C::txtWavelength, "1000"}}),  // the range starts below zero
     "1.719|5.997|.|3302.96|13.095|76|à  1000 angstroms|20.83|20.83|24.28|2.06|216.4"},
    {withTexts({}, testing::detector("KAF-0400"), false),  // slit model, 1 mm
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|231.6"},
    {withTexts({{C::txtSlitWide, "0.05"}}, testing::detector("KAF-0400"), false),
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|233.8"},
    {withTexts({{C::txtSlitWide, "10"}}, testing::detector("KAF-0400"), false),  // band limited to 2500
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|214.7"},
    {withTexts({{C::txtTraits, "1200"}}, testing::detector("KAF-0400"), false),  // slit over cos θ
     "41.3|1.127|5067.27|5932.73|2.461|2235|à  5500 angstroms|20.83|20.83|19.11|2.62|93.3"},
    {withTexts({{C::txtNexposure, "10"}}),
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|189."},
    {withTexts({{C::txtDiametre, ""}}),
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|.|.|3.46|14.47|."},
    {withTexts({{C::txtSlitWide, "1e999 not a number"}}),  // slitless: never read
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|214.7"},
    {withTexts({{C::txtDiametre, " 2 0 0mm"}, {C::txtWavelength, "5.5e3 A"}}),
     "9.497|5.918|3227.58|7772.42|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08|214.7"},
};
// clang-format on

TEST(Calculation, WorkedNumbersWithEitherSeparator) {
    for (char sep : {'.', ','}) {
        for (auto [input, expected] : kWorked) {
            input.decimalSeparator = std::string(1, sep);
            const RunOutput out = runCalculation(input);
            EXPECT_FALSE(out.fault) << expected;
            EXPECT_EQ(shownTexts(out), split(expected, sep)) << "separator " << sep;
            const char* const patterns[] = {"##.###", "#.###", "#.##", "#.##", "#.###", "#",
                                            nullptr,  "#.##",  "#.##", "#.##", "#.##",  "#.#"};
            for (std::size_t i = 0; i < out.shown.size(); ++i) {
                EXPECT_EQ(out.shown[i].control, shownAt(i));
                if (!patterns[i]) continue;  // the number behind each text gives that text
                EXPECT_EQ(formatPattern(out.values[i], patterns[i], input.decimalSeparator),
                          out.shown[i].text);
            }
        }
    }
}

TEST(Calculation, NegativeOrderSwapsTheRangeThenStops) {
    const RunOutput out = runCalculation(withTexts({{C::txtOrdre, "-1"}}));
    EXPECT_EQ(
        shownTexts(out),
        split("-9.497|-5.918|7772.42|3227.58|12.921|426|à  5500 angstroms|20.83|20.83|24.|2.08",
              '.'));
    ASSERT_TRUE(out.fault);
    EXPECT_EQ(out.fault->kind, FaultKind::InvalidArgument);
    EXPECT_EQ(out.fault->at, C::txtSB);
}

}  // namespace
}  // namespace kelvora
