#include "model/calculation.h"

#include <gtest/gtest.h>

#include "tests/model/run_helpers.h"

namespace kelvora {
namespace {

using C = Control;
using testing::shownTexts;
using testing::withTexts;

struct WorkedCase {
    const char* name;
    RunInput input;
    std::vector<std::string> expected;  // with a period as separator
};

std::vector<WorkedCase> workedCases() {
    return {
        {"defaults",
         {},
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "214.7"}},
        {"KAF-3200",
         withTexts({}, Detector::Kaf3200),
         {"9.497", "4.471", "617.45", "10382.55", "9.966", "552", "à  5500 angstroms", "20.83",
          "20.83", "27.97", "1.79", "189.2"}},
        {"KAF-1600",
         withTexts({}, Detector::Kaf1600),
         {"9.497", "5.918", "955.16", "10044.84", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "27.46", "1.82", "214.7"}},
        {"binning 2 along X",
         withTexts({{C::txtBin1, "2"}}),
         {"9.497", "11.836", "3227.58", "7772.42", "20.083", "274", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "306.2"}},
        {"central wavelength 0",
         withTexts({{C::txtWavelength, "0"}}),
         {".", "6.", ".", "2304.", "13.101", "", "à  0 angstroms", "20.83", "20.83", "24.29",
          "2.06", "216.4"}},
        {"slit 1 mm",
         withTexts({}, Detector::Kaf0400, false),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "231.6"}},
        {"slit 0.05 mm",
         withTexts({{C::txtSlitWide, "0.05"}}, Detector::Kaf0400, false),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "233.8"}},
        {"slit 10 mm is limited to the slitless band",
         withTexts({{C::txtSlitWide, "10"}}, Detector::Kaf0400, false),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "214.7"}},
        {"ten exposures",
         withTexts({{C::txtNexposure, "10"}}),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "189."}},
        {"empty aperture",
         withTexts({{C::txtDiametre, ""}}),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", ".", ".",
          "3.46", "14.47", "."}},
        {"slitless ignores the slit field",
         withTexts({{C::txtSlitWide, "1e999 not a number"}}),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "214.7"}},
        {"lenient texts",
         withTexts({{C::txtDiametre, " 2 0 0mm"}, {C::txtWavelength, "5.5e3 A"}}),
         {"9.497", "5.918", "3227.58", "7772.42", "12.921", "426", "à  5500 angstroms", "20.83",
          "20.83", "24.", "2.08", "214.7"}},
    };
}

std::string withSeparator(std::string text, char sep) {
    if (text.rfind("à ", 0) == 0) return text;  // the note always keeps the period
    for (char& ch : text)
        if (ch == '.') ch = sep;
    return text;
}

TEST(Calculation, WorkedNumbersWithEitherSeparator) {
    for (char sep : {'.', ','}) {
        for (WorkedCase c : workedCases()) {
            c.input.decimalSeparator = std::string(1, sep);
            const RunOutput out = runCalculation(c.input);
            std::vector<std::string> expected;
            for (const auto& t : c.expected) expected.push_back(withSeparator(t, sep));
            EXPECT_FALSE(out.fault) << c.name;
            EXPECT_EQ(shownTexts(out), expected) << c.name << " sep " << sep;
        }
    }
}

TEST(Calculation, ShowsEveryTextInWindowOrder) {
    const RunOutput out = runCalculation({});
    ASSERT_EQ(out.shown.size(), kShownCount);
    for (std::size_t i = 0; i < kShownCount; ++i) EXPECT_EQ(out.shown[i].control, shownAt(i));
}

TEST(Calculation, NegativeOrderSwapsTheRangeThenStops) {
    const RunOutput out = runCalculation(withTexts({{C::txtOrdre, "-1"}}));
    const std::vector<std::string> expected{
        "-9.497", "-5.918", "7772.42", "3227.58", "12.921", "426", "à  5500 angstroms",
        "20.83",  "20.83",  "24.",     "2.08"};
    EXPECT_EQ(shownTexts(out), expected);
    ASSERT_TRUE(out.fault);
    EXPECT_EQ(out.fault->kind, FaultKind::InvalidArgument);
    EXPECT_EQ(out.fault->at, C::txtSB);
}

TEST(Calculation, SameInputSameTexts) {
    const RunInput in = withTexts({{C::txtTraits, "600"}}, Detector::Kaf3200, false);
    EXPECT_EQ(shownTexts(runCalculation(in)), shownTexts(runCalculation(in)));
}

TEST(Calculation, ShortEndIsZeroWhenTheRangeStartsBelowZero) {
    const RunOutput out = runCalculation(withTexts({{C::txtWavelength, "1000"}}));
    EXPECT_EQ(out.shown[2].text, ".");
    EXPECT_EQ(out.shown[3].text, "3302.96");
}

}  // namespace
}  // namespace kelvora
