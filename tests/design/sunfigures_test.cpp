// The spectroheliograph's pictures: the line with the bandpass on it, and
// the disc drawn to scale on the slit and the sensor.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "model/design/sun.h"
#include "model/design/sunfigures.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

// The walk-through's build at the equinox (sun_test.cpp gives its figures).
DesignInput build(testkeys::Keys more = {}) {
    return testkeys::sunBuild("2026-03-20", more);
}

double attribute(const std::string& svg, const std::string& element, const char* name) {
    const std::regex re("<" + element + "[^>]*? " + name + "=\"([-0-9.]+)\"");
    std::smatch m;
    return std::regex_search(svg, m, re) ? std::stod(m[1]) : NAN;
}

TEST(SunFigures, OnlyForTheSun) {
    DesignInput star = build({{"source", "etoile"}});
    EXPECT_FALSE(describeSun(star, evaluate(star), "."));
}

// Hα at disc centre: residual 0.16, core 1.0 Å at half depth.
//   at the centre 0.16 of the continuum; 0.5 Å away (half the width)
//   1 − 0.84/2 = 0.58, times the template's slope (within 0.2 % over 1 Å).
// The box is 1 over the bandpass (sun_test: 0.157149 Å), 0 elsewhere.
TEST(SunFigures, TheLineAndTheBandpass) {
    const DesignInput in = build();
    const DesignOutcome o = evaluate(in);
    const auto f = describeSun(in, o, ".");
    ASSERT_TRUE(f);
    const Curve& sun = f->line.curves.at(0).second;
    const Curve& box = f->line.curves.at(1).second;
    ASSERT_EQ(sun.size(), box.size());
    double atCentre = NAN, atHalf = NAN, inside = 0, step = sun[1].first - sun[0].first;
    for (std::size_t i = 0; i < sun.size(); ++i) {
        const double d = sun[i].first - 6562.8;
        if (std::abs(d) < 1e-9) atCentre = sun[i].second;
        if (std::abs(d - 0.5) < step / 2) atHalf = sun[i].second;
        inside += box[i].second * step;
    }
    EXPECT_NEAR(atCentre, 0.16, 1e-9);
    EXPECT_NEAR(atHalf, 0.58, 0.58 * 0.002 + 0.84 * 0.1);  // within the grid's step
    EXPECT_NEAR(inside, o.result->bande_passante_a, 1.5 * step);
    // ±2.5 core widths: 6560.3 to 6565.3 Å.
    EXPECT_NEAR(sun.front().first, 6562.8 - 2.5, 1e-9);
    EXPECT_NEAR(sun.back().first, 6562.8 + 2.5, 1e-9);
    EXPECT_EQ(f->line.lineMarks.at(0).name, "Hα");
}

// Without a line no core widens the plot: ±max(2 × 0.157 Å, 1.5 Å).
TEST(SunFigures, WithoutALineTheBandpassAndAFloorSetTheSpan) {
    const DesignInput in = build({{"raie", "aucune"}, {"lambda_a", "6562.8"}});
    const auto f = describeSun(in, evaluate(in), ".");
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->line.curves.at(0).second.front().first, 6562.8 - 1.5, 1e-9);
    EXPECT_NEAR(f->line.curves.at(0).second.back().first, 6562.8 + 1.5, 1e-9);
    // A 100 µm slit: ten times the 10 µm slit's 0.157149 Å (sun_test); ±2 bandpasses.
    const DesignInput wide =
        build({{"raie", "aucune"}, {"lambda_a", "6562.8"}, {"fente_um", "100"}});
    const DesignOutcome o = evaluate(wide);
    const double band = o.result->bande_passante_a;
    EXPECT_NEAR(band, 1.57149, 1e-5);
    const auto f2 = describeSun(wide, o, ".");
    ASSERT_TRUE(f2);
    const Curve& sun = f2->line.curves.at(0).second;
    EXPECT_NEAR(sun.front().first, 6562.8 - 2 * band, 1e-9);
    EXPECT_NEAR(sun.back().first, 6562.8 + 2 * band, 1e-9);
}

// The sensor's side along the slit against the disc's image, as drawn, is
// the coverage the results give: 1936 px of 2013.7 (0.9614); the slit's
// image 4.5 · 125/80 = 7.03 mm against the disc's 3.7375 · 125/80 = 5.84 mm.
TEST(SunFigures, TheDiscIsDrawnToScale) {
    for (const char* sep : {".", ","}) {
        const DesignInput in = build();
        const DesignOutcome o = evaluate(in);
        const auto f = describeSun(in, o, sep);
        ASSERT_TRUE(f);
        const std::string& svg = f->drawing;
        const double diameter = 2 * attribute(svg, "circle", "r");
        const std::regex rects("<rect x=\"[-0-9.]+\" y=\"[-0-9.]+\" width=\"([-0-9.]+)\"");
        std::vector<double> widths;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), rects);
             it != std::sregex_iterator(); ++it)
            widths.push_back(std::stod((*it)[1]));
        ASSERT_GE(widths.size(), 3u);  // the sensor, the rows read, the slit
        EXPECT_NEAR(widths[0] / diameter, 0.9614, 0.001) << sep;
        EXPECT_NEAR(widths[2] / diameter, 4.5 / 3.737492, 0.001) << sep;
        EXPECT_NE(svg.find("disque : 2014 px"), std::string::npos) << svg;
    }
}

}  // namespace
}  // namespace kelvora::design
