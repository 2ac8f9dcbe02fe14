// Calibrating on a spectrum: DER_SNR by hand, and synthetic spectra made
// with known efficiency curves recovered by the fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/design/calibration.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

TEST(DerSnr, HandCases) {
    struct Case {
        std::vector<double> flux;
        double snr;
    };
    const Case cases[] = {
        // |2f−f₋₂−f₊₂| at i = 2, 3, 4: 5, 0, 10 → median 5; noise 1.482602/√6 × 5
        // = 3.026349; signal median(1,2,3,4,10,6,7) = 4.
        {{1, 2, 3, 4, 10, 6, 7}, 4 / (1.482602 / std::sqrt(6.0) * 5)},
        {{5, 5, 5, 5, 5, 5}, 0},  // no noise: no figure
        {{1, 2, 3, 4}, 0},        // too few samples
        // Zeros are gaps, left out: the same as the first case.
        {{1, 0, 2, 3, 4, 0, 10, 6, 7}, 4 / (1.482602 / std::sqrt(6.0) * 5)},
    };
    for (const Case& c : cases) EXPECT_NEAR(derSnr(c.flux), c.snr, 1e-12) << c.flux.size();
}

TEST(CalibrationMask, LinesAndBandsAreLeftOut) {
    for (double l : {6563.0, 4861.0, 3933.7, 5890.0, 7600.0, 6870.0, 7200.0, 8200.0})
        EXPECT_TRUE(maskedForCalibration(l)) << l;
    for (double l : {5000.0, 5500.0, 6000.0, 6700.0, 7000.0, 8000.0})
        EXPECT_FALSE(maskedForCalibration(l)) << l;
}

DesignInput observing() {
    return testkeys::with(testkeys::kObserving);
}

double flat(double) {
    return 0.6;
}
double sloped(double l) {
    return 0.4 + 0.5 * (l - 4500) / 3000;
}
double dipped(double l) {
    return 0.8 * (1 - 0.3 * std::exp(-std::pow((l - 5600) / 250, 2)));
}

// The exposure giving a S/N of `snr` per sample at the spectrum's middle.
double exposureFor(const DesignInput& in, double (*factor)(double), double snr) {
    // At 1000 s the noise is small beside the signal; 100 samples average it out.
    const ObservedSpectrum probe = syntheticSpectrum(in, factor, 1000, 1);
    double sum = 0;
    const std::size_t mid = probe.flux.size() / 2;
    for (std::size_t i = mid - 50; i < mid + 50; ++i) sum += probe.flux[i];
    const double perSecond = sum / 100 / 1000;
    return snr * snr / perSecond;
}

TEST(Calibration, SyntheticCurvesAreRecoveredWithinThreePercent) {
    const DesignInput in = observing();
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result) << testkeys::said(o);
    for (auto factor : {flat, sloped, dipped}) {
        for (double snr : {20.0, 50.0, 200.0}) {
            const double t = exposureFor(in, factor, snr);
            const ObservedSpectrum s = syntheticSpectrum(in, factor, t, 7);
            ASSERT_GT(s.flux.size(), 2000u);
            const Calibration c = calibrate(in, s, "2026-12-07", "synthetique.fits");
            ASSERT_EQ(c.error, "");
            std::size_t used = 0;
            for (const CalibrationBin& b : c.bins) {
                if (b.masked) continue;
                ++used;
                const double truth = factor(b.lambda_a) * assumedInstrumentAt(in, o, b.lambda_a);
                EXPECT_NEAR(b.efficiency / truth, 1, 0.03) << b.lambda_a << " Å, S/N " << snr;
            }
            EXPECT_GT(used, 30u);
            // DER_SNR against the truth it estimates: the median expected
            // electrons over the median noise √(N + read²) of the samples.
            const ObservedSpectrum clean = syntheticSpectrum(in, factor, t, 0);
            std::vector<double> noise;
            const double read2 = in.bruit_e * in.bruit_e * o.result->rangees_extraites;
            for (double e : clean.flux) noise.push_back(std::sqrt(e + read2));
            std::sort(noise.begin(), noise.end());
            std::vector<double> signal = clean.flux;
            std::sort(signal.begin(), signal.end());
            const double truth = signal[signal.size() / 2] / noise[noise.size() / 2];
            EXPECT_NEAR(c.snr / truth, 1, 0.10) << "S/N " << snr;
        }
    }
}

// Once stored, the measured efficiency is what the design predicts with: the
// star's signal at each bin falls to the flat curve's 0.6 of the assumed one.
TEST(Calibration, AMeasuredEfficiencyTakesThePlaceOfTheAssumedOne) {
    const DesignInput in = observing();
    const Calibration c = calibrate(in, syntheticSpectrum(in, flat, 120, 9), "2026-12-07", "");
    ASSERT_EQ(c.error, "");
    DesignInput measured = in;
    measured.etalonnages = {c.ratio};
    const DesignOutcome assumed = evaluate(in), used = evaluate(measured);
    for (const auto& [l, e] : c.ratio.points) {
        const double ratio = spectralPointAt(measured, used, l)->signal_e_s_a /
                             spectralPointAt(in, assumed, l)->signal_e_s_a;
        EXPECT_NEAR(ratio, 0.6, 0.6 * 0.03) << l;
    }
}

}  // namespace
}  // namespace kelvora::design
