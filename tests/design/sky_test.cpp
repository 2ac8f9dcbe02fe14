// The sky on one pixel, with and without a slit (docs/physics.md).
#include <gtest/gtest.h>

#include <cmath>

#include "model/design/chain.h"
#include "model/design/design.h"
#include "model/design/design_internal.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

// With a slit the sky per pixel is the surface brightness × slit width ×
// pixel height × Å per pixel (docs/physics.md): divided by the Å per pixel
// and the instrument's efficiency there, every collimated geometry gives
// the same figure for the same slit and pixel, whatever its anamorphic factor.
TEST(SlitSky, NoAnamorphicFactorInAnyGeometry) {
    struct Case {
        const char* geometry;
        const char* angle;  // incidence or deviation
    };
    const Case cases[] = {{"normale", "0"}, {"incidence", "40"}, {"incidence", "-10"},
                          {"littrow", "0"}, {"deviation", "30"}, {"deviation", "60"}};
    double first = 0;
    for (const Case& c : cases) {
        const DesignInput in = testkeys::with({{"geometrie", c.geometry},
                                               {"incidence_deg", c.angle},
                                               {"deviation_deg", c.angle},
                                               {"traits_mm", "1200"},
                                               {"lambda_a", "6563"},
                                               {"collimateur_mm", "150"},
                                               {"objectif_mm", "100"},
                                               {"fente_um", "30"}});
        const DesignOutcome o = evaluate(in);
        ASSERT_TRUE(o.result) << c.geometry << testkeys::said(o);
        const double perAngstrom = skyPerPixel(in, o.grating) / o.result->dispersion_a_px /
                                   assumedInstrumentAt(in, o, in.lambda_a);
        if (first == 0) first = perAngstrom;
        // Binned by 2 across the dispersion, each pixel is twice as tall: twice the sky.
        const DesignInput tall = testkeys::designWith({{"bin_y", "2"}}, in);
        EXPECT_NEAR(skyPerPixel(tall, evaluate(tall).grating) / skyPerPixel(in, o.grating), 2,
                    1e-12);
        EXPECT_NEAR(perAngstrom / first, 1, 1e-12)
            << c.geometry << " " << c.angle << ", r = " << o.result->anamorphose;
    }
}

// Without a slit every pixel sees the sky of the whole band, whatever the
// wavelength it is read at, plus the zero order's share of the same band.
TEST(SlitlessSky, TheWholeBandOnEveryPixel) {
    const auto sky = [](std::initializer_list<std::pair<const char*, const char*>> keys) {
        const DesignInput in = testkeys::with(keys);
        return skyPerPixel(in, evaluate(in).grating);
    };
    // A flat chain: the zero order at 0.25 adds a quarter of the first order's sky.
    const double flat = sky({{"efficacite_reseau", "1"}, {"courbe_qe", "plate"}});
    EXPECT_NEAR(
        sky({{"efficacite_reseau", "1"}, {"courbe_qe", "plate"}, {"efficacite_ordre0", "0.25"}}) /
            flat,
        1.25, 1e-12);
    for (const char* lambda : {"4000", "6563", "8500"})
        EXPECT_NEAR(
            sky({{"efficacite_reseau", "1"}, {"courbe_qe", "plate"}, {"lambda_a", lambda}}) / flat,
            1, 1e-12)
            << lambda;
    // The convergent geometry too: its pixel's angle, the same band.
    EXPECT_GT(sky({{"geometrie", "convergent"}, {"traits_mm", "100"}}), 0);
}

// The zero order by the scalar blaze model at m = 0 (β = −α): 300 lines/mm
// blazed at 5000 Å, normal incidence, 6000 Å:
//   sin θ_B = 5000e-7 · 300 / 2 = 0.075, cos θ_B = 0.997184
//   ν = π d cos α / (λ cos(α − θ_B)) · (sin(−θ_B) + sin(−θ_B))
//     = −2π · 0.075 / (300 · 6000e-7 · 0.997184) = −2.625388
//   η₀ = 0.7 · (sin ν / ν)² = 0.7 · 0.0353454 = 0.0247418
TEST(SlitlessSky, TheZeroOrdersShare) {
    const DesignInput blazed = testkeys::with({{"traits_mm", "300"}, {"blaze_a", "5000"}});
    EXPECT_NEAR(chain::zeroOrder(blazed, 0, 6000), 0.0247418, 1e-7);
    EXPECT_EQ(
        chain::zeroOrder(testkeys::designWith({{"efficacite_ordre0", "0.2"}}, blazed), 0, 6000),
        0.2);
    EXPECT_EQ(chain::zeroOrder(testkeys::with({{"blaze_a", "0"}}), 0, 6000), 0);
}

}  // namespace
}  // namespace kelvora::design
