// The converging beam's coma against a ray trace: rays from a uniformly lit
// pupil, diffracted by the exact three-dimensional grating equation (the
// groove-normal direction cosine gains m N λ, the others are kept), land on
// the sensor; the FWHM of where they land is the blur the model adds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/design/design_internal.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

// Where each ray lands on the sensor (mm from the chief ray). The beam of
// focal ratio F would focus D sec³β beyond the grating: focused at λ.
std::vector<double> landings(double F, double D, double mNlambda, int rays) {
    const double beta = std::asin(mNlambda), focus = D / std::pow(std::cos(beta), 3);
    const double R = 1 / (2 * F);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> pupil(-R, R);
    std::vector<double> x;
    while (static_cast<int>(x.size()) < rays) {
        const double px = pupil(random), py = pupil(random);
        if (px * px + py * py > R * R) continue;
        const double n = std::sqrt(px * px + py * py + 1);
        const double ox = px / n + mNlambda, oy = py / n, oz = std::sqrt(1 - ox * ox - oy * oy);
        x.push_back(-focus * px + D * ox / oz - D * std::tan(beta));
    }
    return x;
}

// Full width at half maximum of a histogram of the landings.
double fwhm(const std::vector<double>& x) {
    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    const int bins = 200;
    const double width = (*hi - *lo) / bins;
    std::vector<int> count(bins);
    for (double v : x) ++count[std::min(bins - 1, static_cast<int>((v - *lo) / width))];
    const int half = *std::max_element(count.begin(), count.end()) / 2;
    const auto first = std::find_if(count.begin(), count.end(), [&](int c) { return c >= half; });
    const auto last = std::find_if(count.rbegin(), count.rend(), [&](int c) { return c >= half; });
    return static_cast<double>(count.rend() - last - (first - count.begin())) * width;
}

TEST(DesignRayTrace, TheComaIsTheFwhmOfItsLineSpread) {
    struct Case {
        const char* focale;  // 200 mm aperture: F = focale / 200
        const char* distance;
        const char* traits;
    };
    for (const Case& c : {Case{"2000", "25", "100"}, Case{"1000", "25", "200"},
                          Case{"800", "40", "200"}, Case{"2000", "60", "100"}}) {
        const DesignInput in = testkeys::with({{"geometrie", "convergent"},
                                               {"focale_mm", c.focale},
                                               {"distance_capteur_mm", c.distance},
                                               {"traits_mm", c.traits},
                                               {"lambda_a", "5000"}});
        const DesignOutcome o = evaluate(in);
        ASSERT_TRUE(o.result) << c.focale;
        const double F = in.focale_mm / in.diametre_mm;
        const double traced =
            fwhm(landings(F, in.distance_capteur_mm, in.traits_mm * in.lambda_a * 1e-7, 400000));
        EXPECT_NEAR(convergentComa(in, o.grating, o.grating.beta) / traced, 1, 0.12)
            << "f/" << F << " at " << c.distance << " mm, " << c.traits << " lines/mm";
    }
}

}  // namespace
}  // namespace kelvora::design
