// The line profile's FWHM against an independent integration: the star's
// image cut by the slit and swept over a pixel in closed form, the
// diffraction's sinc² by Simpson's rule, the half maximum by bisection.
#include <gtest/gtest.h>

#include "model/design/profile.h"
#include "tests/support/line_profile.h"

namespace kelvora::design {
namespace {

TEST(LineProfile, FwhmAgainstAnIndependentIntegration) {
    struct Case {
        double seeing, slit, diffraction;
    };
    const Case cases[] = {
        {3, 0, 0},              // the star's image on a pixel
        {0.5, 0, 0},            // a pixel-limited line
        {2.155, 2.556, 0.729},  // 2″ on a 23 µm slit at f/10, 2400 lines/mm, 9 µm pixels
        {4, 1, 0},              // a narrow slit cuts a wide star: nearly two boxes
        {1.5, 0, 2},            // diffraction-limited
    };
    for (const Case& c : cases) {
        const double expected =
            testprofile::fwhm(c.seeing, c.slit > 0 ? c.slit / 2 : 1e9, c.diffraction);
        ProfileParts p;
        p.seeing = c.seeing;
        p.slit = c.slit;
        p.diffraction = c.diffraction;
        EXPECT_NEAR(convolvedFwhm(p) / expected, 1, 2e-3)
            << c.seeing << " " << c.slit << " " << c.diffraction << ": " << expected;
    }
}

// The converging beam's blur alone: over the annulus ε ≤ ρ ≤ 1 a ray lands
// L ρ² (cos²θ + sin²θ/3) beyond the chief ray. The half maximum falls at
// s = 1/2 (θ₀ = 60°, as without obstruction) and, rising, at s = ε²/2 (the
// same arctan share for the inner edge): FWHM = L (1 − ε²)/2, 0.469 L at 25 %.
TEST(LineProfile, TheObstructionNarrowsTheComa) {
    for (double e : {0.0, 0.25, 0.35, 0.5}) {
        ProfileParts p;
        p.seeing = 0.01;
        p.coma = 200;  // pixels: the pixel's own width is lost in it
        p.obstruction = e;
        EXPECT_NEAR(convolvedFwhm(p) / 200 / ((1 - e * e) / 2), 1, 6e-3) << e;
    }
}

}  // namespace
}  // namespace kelvora::design
