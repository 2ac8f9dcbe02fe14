#include <gtest/gtest.h>

#include "model/calculation.h"
#include "tests/model/run_helpers.h"

namespace kelvora {
namespace {

using C = Control;
using FK = FaultKind;
using testing::withTexts;

struct FaultCase {
    const char* name;
    RunInput input;
    FaultKind kind;
    Control at;
    std::size_t shownBefore;  // texts written before the stop
};

// clang-format off
std::vector<FaultCase> faultCases() {
    const DetectorModel none{}, kaf = testing::detector("KAF-0400");
    return {
        {"x = 1", withTexts({{C::txtTraits, "1000"}, {C::txtWavelength, "10000"}}), FK::DivisionByZero, C::txtAngle, 0},
        {"x > 1", withTexts({{C::txtOrdre, "2"}, {C::txtTraits, "1200"}}), FK::InvalidArgument, C::txtAngle, 0},
        {"order 0", withTexts({{C::txtOrdre, "0"}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"empty order", withTexts({{C::txtOrdre, ""}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"empty lines/mm", withTexts({{C::txtTraits, ""}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"empty camera", withTexts({{C::txtChambre, ""}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"empty X binning", withTexts({{C::txtBin1, ""}}), FK::Overflow, C::txtLambda1, 2},
        {"no detector", withTexts({}, none), FK::Overflow, C::txtSeparation, 4},
        {"empty collimator", withTexts({{C::txtCollimateur, ""}}), FK::DivisionByZero, C::txtSeparation, 4},
        {"empty focal", withTexts({{C::txtFocale, ""}}), FK::DivisionByZero, C::txtDCollimateur, 7},
        {"empty focal, aperture", withTexts({{C::txtFocale, ""}, {C::txtDiametre, ""}}), FK::Overflow, C::txtDCollimateur, 7},
        {"huge product", withTexts({{C::txtDiametre, "1e300"}, {C::txtFocale, "1e-300"}}), FK::Overflow, C::txtDCollimateur, 7},
        {"empty Y binning", withTexts({{C::txtBin2, ""}}), FK::DivisionByZero, C::txtSB, 11},
        {"no noise, no time", withTexts({{C::txtBruit, "0"}, {C::txtTi, "0"}}), FK::Overflow, C::txtSB, 11},
        {"negative time", withTexts({{C::txtTi, "-60"}}), FK::InvalidArgument, C::txtSB, 11},
        {"bright star", withTexts({{C::txtMagEtoile, "-800"}}), FK::Overflow, C::txtSB, 11},
        {"bright sky", withTexts({{C::txtMagCiel, "-800"}}), FK::Overflow, C::txtSB, 11},
        // An over-long number faults when its field is read, not before.
        {"long aperture", withTexts({{C::txtDiametre, "1e309"}}), FK::Overflow, C::txtDiametre, 0},
        {"long lines/mm", withTexts({{C::txtTraits, "9e999"}}), FK::Overflow, C::txtTraits, 0},
        {"long star", withTexts({{C::txtMagEtoile, "1e309"}}), FK::Overflow, C::txtMagEtoile, 11},
        {"long count", withTexts({{C::txtNexposure, "1e309"}}), FK::Overflow, C::txtNexposure, 11},
        {"long noise", withTexts({{C::txtBruit, "1e309"}}), FK::Overflow, C::txtBruit, 11},
        {"long slit", withTexts({{C::txtSlitWide, "1e309"}}, kaf, false), FK::Overflow, C::txtSlitWide, 11},
        {"long wavelength at max", withTexts({{C::txtWavelength, "1.79e308"}, {C::txtTraits, "5e-302"}}), FK::Overflow, C::txtLambda2, 3},
        // Two faults: the one met first in the formula's written order is named.
        {"read first: aperture", withTexts({{C::txtDiametre, "1e309"}, {C::txtFocale, "1e309"}}), FK::Overflow, C::txtDiametre, 0},
        {"read first: time", withTexts({{C::txtTi, "1e309"}, {C::txtNexposure, "1e309"}}), FK::Overflow, C::txtTi, 11},
        {"m = 0, N = 0: c/m", withTexts({{C::txtOrdre, "0"}, {C::txtTraits, "0"}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"λ = 0, m = 0: c/m", withTexts({{C::txtWavelength, ""}, {C::txtOrdre, ""}}), FK::DivisionByZero, C::txtDispersion, 1},
        {"bx = 0, Fcoll = 0: 0/0 in h", withTexts({{C::txtBin1, ""}, {C::txtCollimateur, ""}}), FK::Overflow, C::txtLambda1, 2},
        {"S = 0, Fcoll = 0: 0/Fcoll", withTexts({{C::txtSeeing, ""}, {C::txtCollimateur, ""}}), FK::Overflow, C::txtSeparation, 4},
        {"F = 0, Fcoll = 0: 0/Fcoll", withTexts({{C::txtFocale, ""}, {C::txtCollimateur, ""}}), FK::Overflow, C::txtSeparation, 4},
        {"σ = 0, by = 0: σ²n7/by is 0/0", withTexts({{C::txtBruit, "0"}, {C::txtBin2, ""}}), FK::Overflow, C::txtSB, 11},
        {"t = 0, by = 0: σ²n7/by first", withTexts({{C::txtTi, "0"}, {C::txtBin2, ""}}), FK::DivisionByZero, C::txtSB, 11},
        {"t < 0, by = 0: σ²n7/by first", withTexts({{C::txtTi, "-60"}, {C::txtBin2, ""}}), FK::DivisionByZero, C::txtSB, 11},
        {"n = 0, by = 0: 0/0", withTexts({{C::txtNexposure, "0"}, {C::txtBin2, ""}}), FK::Overflow, C::txtSB, 11},
        {"n = 0, t = 0: Sig/Noise", withTexts({{C::txtNexposure, "0"}, {C::txtTi, "0"}}), FK::Overflow, C::txtSB, 11},
        {"sky before by", withTexts({{C::txtMagCiel, "-800"}, {C::txtBin2, ""}}), FK::Overflow, C::txtSB, 11},
        {"star before by", withTexts({{C::txtMagEtoile, "-800"}, {C::txtBin2, ""}}), FK::Overflow, C::txtSB, 11},
    };
}
// clang-format on

TEST(CalculationFaults, StopAtTheirStepWithTheirKind) {
    for (const FaultCase& c : faultCases()) {
        const RunOutput out = runCalculation(c.input);
        ASSERT_TRUE(out.fault) << c.name;
        EXPECT_EQ(out.fault->kind, c.kind) << c.name;
        EXPECT_EQ(out.fault->at, c.at) << c.name << ": " << controlName(out.fault->at);
        EXPECT_EQ(out.shown.size(), c.shownBefore) << c.name;
    }
}

TEST(CalculationFaults, MessagesNameTheErrorAndThePlace) {
    EXPECT_EQ(faultMessage({FK::DivisionByZero, C::txtDispersion}),
              "Division par zéro au calcul de « Dispersion » (txtDispersion)");
    EXPECT_EQ(faultMessage({FK::Overflow, C::txtMagEtoile}),
              "Dépassement de capacité à la lecture de « Magnitude de l'étoile » (txtMagEtoile)");
    EXPECT_EQ(faultMessage({FK::InvalidArgument, C::txtSB}),
              "Argument incorrect au calcul de « Rapport signal/bruit » (txtSB)");
}

}  // namespace
}  // namespace kelvora
