// Several calibrations combined, and what a changed instrument does with
// them: figures computed by hand from the weights in docs/physics.md.
#include <gtest/gtest.h>

#include <cmath>

#include "model/design/calibration.h"
#include "model/design/measured.h"
#include "model/design/nightdate.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

MeasuredRatio flatRatio(double from, double to, double r, double snr, const char* date) {
    return {{{from, r}, {(from + to) / 2, r}, {to, r}}, date, "étoile", "", snr, {}};
}

TEST(CombinedRatio, WeightsGoAsTheSquareOfTheSpectrumsSN) {
    const std::vector<MeasuredRatio> two = {flatRatio(5000, 7000, 0.8, 100, "2026-01-10"),
                                            flatRatio(5000, 6000, 0.5, 50, "2026-06-10")};
    struct Case {
        double lambda, value, scatter;
        bool measured;
    };
    const Case cases[] = {
        // Weights 100² and 50²: (10000·0.8 + 2500·0.5) / 12500 = 0.74; spread
        // √((10000·0.06² + 2500·0.24²) / 12500) = √0.0144 = 0.12.
        {5500, 0.74, 0.12, true},
        // Only the first covers 6500 Å.
        {6500, 0.8, 0, true},
        // Outside both: the median of the combined ratio at the five
        // measured wavelengths (0.74, 0.74, 0.74 at 5000, 5500, 6000 and
        // 0.8 at 6000, 7000 from the first): 0.74.
        {9000, 0.74, 0, false},
        {4000, 0.74, 0, false},
    };
    for (const Case& c : cases) {
        const CombinedRatio r = combinedRatio(two, c.lambda);
        EXPECT_NEAR(r.value, c.value, 1e-12) << c.lambda;
        EXPECT_NEAR(r.scatter, c.scatter, 1e-12) << c.lambda;
        EXPECT_EQ(r.measured, c.measured) << c.lambda;
    }
    EXPECT_EQ(combinedRatio({}, 5500).value, 1);
}

// After a calibration with one sensor, another sensor's prediction keeps
// the measured departure and takes its own QE curve; every face is told.
TEST(CombinedRatio, AnotherSensorKeepsTheRatioAndSaysSo) {
    DesignInput imx = testkeys::with(testkeys::kObserving);
    const auto factor = [](double) { return 0.7; };
    const Calibration c = calibrate(imx, syntheticSpectrum(imx, factor, 120, 4), "2026-12-01", "");
    ASSERT_EQ(c.error, "");
    imx.etalonnages = {c.ratio};
    DesignInput kaf = testkeys::designWith({{"detecteur", "KAF-0400"}}, imx);
    DesignInput kafAssumed = kaf;
    kafAssumed.etalonnages = {};
    const DesignOutcome oi = evaluate(imx), ok = evaluate(kaf), oa = evaluate(kafAssumed);
    ASSERT_TRUE(oi.result && ok.result && oa.result);
    for (double l : {5600.0, 6000.0, 6400.0}) {
        const SpectralPoint pi = *spectralPointAt(imx, oi, l), pk = *spectralPointAt(kaf, ok, l),
                            pa = *spectralPointAt(kafAssumed, oa, l);
        // The ratio measured with the IMX533 multiplies the KAF's assumed chain...
        EXPECT_NEAR(pk.signal_e_s_a / pa.signal_e_s_a, combinedRatio(imx.etalonnages, l).value,
                    1e-12);
        // ...so the prediction changes by the sensors' QE ratio.
        EXPECT_NEAR(pk.signal_e_s_a / pi.signal_e_s_a / (pk.qe / pi.qe), 1, 0.01) << l;
    }
    EXPECT_EQ(instrumentDifference(imx), "");
    const std::string changed = "instrument changé depuis l'étalonnage : ";
    EXPECT_EQ(instrumentDifference(kaf), changed + "Capteur IMX533 → KAF-0400");
    DesignInput grating = testkeys::designWith({{"traits_mm", "1200"}, {"blaze_a", "5000"}}, imx);
    EXPECT_EQ(instrumentDifference(grating),
              changed + "Blaze (Å) 0 → 5000, Traits par mm 600 → 1200");
    // What a sensor does not set (the lambda) is not the instrument.
    EXPECT_EQ(instrumentDifference(testkeys::designWith({{"lambda_a", "6200"}}, imx)), "");
    EXPECT_NE(calibrationNote(kaf, ".").find(changed + "Capteur IMX533"), std::string::npos);
}

TEST(CombinedRatio, OutsideTheMeasuredRangeTheMedianIsUsedAndSaid) {
    DesignInput in = testkeys::with(testkeys::kObserving);
    in.etalonnages = {{{{5093, 0.5}, {6000, 0.7}, {6851, 0.9}}, "2026-12-01", "Véga", "", 80, {}}};
    in.etalonnages[0].instrument = calibratedWith(in);
    in.lambda_a = 9000;
    EXPECT_EQ(outsideNote(in.etalonnages, 9000), "hors du domaine mesuré (5093–6851 Å)");
    EXPECT_EQ(outsideNote(in.etalonnages, 6000), "");
    EXPECT_EQ(combinedRatio(in.etalonnages, 9000).value, 0.7);
    EXPECT_NE(calibrationNote(in, ".").find("9000 Å hors du domaine mesuré (5093–6851 Å)"),
              std::string::npos)
        << calibrationNote(in, ".");
}

TEST(CalibrationHistory, TheMedianRatioAgainstTheDateInYears) {
    // The same night at S/N 50 and 100: (2500·0.6 + 10000·0.4) / 12500 = 0.44.
    const std::vector<MeasuredRatio> list = {flatRatio(5000, 7000, 0.6, 50, "2027-01-01"),
                                             flatRatio(5000, 7000, 0.8, 50, "2026-01-01"),
                                             flatRatio(5000, 7000, 0.4, 100, "2027-01-01"),
                                             flatRatio(5000, 7000, 0.7, 50, "pas une date")};
    const PlotDescription p = calibrationHistory(list);
    ASSERT_EQ(p.curves.size(), 1u);
    const Curve& points = p.curves[0].second;
    ASSERT_EQ(points.size(), 2u);  // the undated one has no place
    EXPECT_EQ(points[0], (std::pair<double, double>{2026, 0.8}));
    EXPECT_EQ(points[1].first, 2027);
    EXPECT_NEAR(points[1].second, 0.44, 1e-12);
}

// Several calibrations span their earliest night to their latest, whatever
// the order they were added in; an unknown date is counted apart and kept
// off the drift plot.
TEST(MeasuredRatio, TheSummarySpansTheEarliestToTheLatestNight) {
    DesignInput in;
    for (const char* date :
         {"2026-11-30", "2026-10-15", "2026-12-05", "2026-11-30", kUnknownDate}) {
        MeasuredRatio m;
        m.points = {{5000, 1}, {6000, 1}};
        m.date = date;
        m.snr = 100;
        in.etalonnages.push_back(m);
    }
    const std::string note = calibrationNote(in, ".");
    EXPECT_NE(note.find("sur 5 spectres, de 2026-10-15 à 2026-12-05 (1 de date inconnue)"),
              std::string::npos)
        << note;
    EXPECT_EQ(calibrationHistory(in.etalonnages).curves[0].second.size(), 3u) << "three nights";
    // The plot's date is the year and its fraction, a month 365.25/12 days:
    // 1 July is half a year in.
    in.etalonnages.resize(1);
    in.etalonnages[0].date = "2026-07-01";
    EXPECT_EQ(calibrationHistory(in.etalonnages).curves[0].second[0].first, 2026.5);
}

}  // namespace
}  // namespace kelvora::design
