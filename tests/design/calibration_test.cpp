// Calibrating on a spectrum: DER_SNR by hand, and synthetic spectra made
// with known efficiency curves recovered by the fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/design/calibration.h"
#include "model/design/measured.h"
#include "model/design/nightdate.h"
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
        // Five are enough: |2·13 − 10 − 10| = 6 at i = 2 alone; 11 / (1.482602/√6 · 6).
        {{10, 11, 13, 11, 10}, 11 / (1.482602 / std::sqrt(6.0) * 6)},
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

// The design's own noiseless spectrum is its prediction: every bin's ratio
// observed/predicted is 1, the extracted share of the star included.
TEST(Calibration, ADesignsOwnNoiselessSpectrumIsItsPrediction) {
    const DesignInput in = observing();
    const auto same = [](double) { return 1.0; };
    const ObservedSpectrum s = syntheticSpectrum(in, same, 600, 0);
    const Calibration c = calibrate(in, s, "2026-12-07", "x.fits");
    ASSERT_EQ(c.error, "");
    std::size_t used = 0;
    for (const CalibrationBin& b : c.bins) {
        if (b.masked) continue;
        ++used;
        EXPECT_NEAR(b.ratio, 1, 2e-3) << b.lambda_a;
        // Observed: the spectrum's own electrons per second per Å near the bin's centre.
        const auto at = std::lower_bound(s.lambda_a.begin(), s.lambda_a.end(), b.lambda_a);
        const std::size_t i = static_cast<std::size_t>(at - s.lambda_a.begin());
        const double perA = s.flux[i] / 600 / ((s.lambda_a[i + 1] - s.lambda_a[i - 1]) / 2);
        EXPECT_NEAR(b.observed / perA, 1, 5e-3) << b.lambda_a;
    }
    EXPECT_GT(used, 30u);
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

namespace kelvora::design {
namespace {

double sixTenths(double) {
    return 0.6;
}

double medianRatioOf(const Calibration& k) {
    return medianRatio(k.ratio);
}

double gaussian(std::mt19937& g) {  // Box–Muller
    const double u1 = (static_cast<double>(g()) + 1) / 4294967297.0;
    const double u2 = static_cast<double>(g()) / 4294967296.0;
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * M_PI * u2);
}

// The header's gain, exposure and airmass against the user's: which wins,
// what is said, and what is refused. The spectrum is in electrons, so the
// right gain is 1 and a wrong one scales the ratio.
TEST(CalibrationHeader, TheGainTheExposureAndTheAirmassUsed) {
    const DesignInput in = observing();
    const ObservedSpectrum base = syntheticSpectrum(in, sixTenths, 120, 21);
    struct Case {
        double egain, gain, userGain, designGain;
        double used;       // the gain used; 0: refused
        const char* said;  // in the notes or the refusal
    };
    const Case cases[] = {
        {1, 120, 0, 0, 1, "GAIN = 120 ignoré (réglage de la caméra) : EGAIN = 1 e⁻/ADU"},
        {0, 139, 0, 0, 0, "GAIN = 139 n'est pas un gain en e⁻/ADU"},
        {0, 139, 1, 0, 1, ""},                          // the user's gain wins
        {0, 139, 0, 1, 1, ""},                          // so does the design's
        {2, 0, 1, 0, 1, ""},                            // even over EGAIN
        {0, 1, 0, 0, 1, ""},                            // a plausible GAIN alone is e⁻/ADU
        {0, 5, 0, 0, 0, "GAIN = 5 n'est pas un gain"},  // efficiencies above 1: a setting
        {0, 0, 0, 0, 1, "gain absent du fichier : 1 e⁻/ADU supposé"},
    };
    // GAIN = 25 alone, on counts that are ADU at 25 e⁻/ADU: the efficiencies
    // would be plausible, but no camera gives 25 e⁻/ADU: a setting.
    ObservedSpectrum adu = base;
    for (double& f : adu.flux) f /= 25;
    adu.gain = 25;
    adu.egain = 0;
    EXPECT_NE(calibrate(in, adu, "", "").error.find("GAIN = 25 n'est pas un gain"),
              std::string::npos);
    for (const Case& c : cases) {
        ObservedSpectrum s = base;
        s.egain = c.egain;
        s.gain = c.gain;
        DesignInput design = in;
        design.gain_e_adu = c.designGain;
        const Calibration k = calibrate(design, s, "2026-12-08", "", {c.userGain, 0, 0});
        std::string text = k.error;
        for (const std::string& n : k.notes) text += n;
        EXPECT_NE(text.find(c.said), std::string::npos) << text;
        if (c.used == 0) {
            EXPECT_NE(k.error, "") << c.gain;
            continue;
        }
        ASSERT_EQ(k.error, "") << c.gain;
        EXPECT_EQ(k.gain_e_adu, c.used);
        EXPECT_NEAR(medianRatioOf(k), 0.6, 0.02) << c.gain;
    }
    // The user's exposure and airmass over the file's: twice the exposure, half the ratio.
    ObservedSpectrum s = base;
    s.egain = 1;
    s.airmass = 2;
    const Calibration k = calibrate(in, s, "", "", {0, 240, 1.2});
    ASSERT_EQ(k.error, "");
    EXPECT_EQ(k.exptime_s, 240);
    EXPECT_EQ(k.airmass, 1.2);
    EXPECT_NEAR(medianRatioOf(k), 0.3, 0.01);
    EXPECT_EQ(calibrate(in, s, "", "", {0, 0, 1}).airmass, 1);        // the zenith is an airmass
    EXPECT_EQ(calibrate(in, s, "", "", {0, 0.5, 0}).exptime_s, 0.5);  // so is half a second
}

// The synthetic spectra's noise is normal: N(0, 1) once scaled by the
// expected σ = √(N + read²) of each sample; wavelengths out of order are refused.
TEST(CalibrationHeader, SyntheticNoiseAndWavelengthOrder) {
    const DesignInput in = observing();
    const DesignOutcome o = evaluate(in);
    const ObservedSpectrum noisy = syntheticSpectrum(in, sixTenths, 60, 41),
                           clean = syntheticSpectrum(in, sixTenths, 60, 0);
    const double read2 = in.bruit_e * in.bruit_e * o.result->rangees_extraites;
    double sum = 0, sum2 = 0;
    for (std::size_t i = 0; i < clean.flux.size(); ++i) {
        const double z = (noisy.flux[i] - clean.flux[i]) / std::sqrt(clean.flux[i] + read2);
        sum += z, sum2 += z * z;
    }
    const double n = static_cast<double>(clean.flux.size());
    EXPECT_NEAR(sum / n, 0, 0.06);
    EXPECT_NEAR(sum2 / n, 1, 0.06);
    ObservedSpectrum back = clean;
    std::swap(back.lambda_a[100], back.lambda_a[101]);
    EXPECT_EQ(calibrate(in, back, "", "").error,
              "les longueurs d'onde du spectre ne croissent pas");
}

// The night of the observation, noon to noon UT: DATE-OBS in its ISO or
// old form, else MJD-OBS (MJD 0 is 1858-11-17, 0 h UT: MJD 61009.25 is
// 2025-11-30 at 6 h UT, the night of the 29th), else « date inconnue ».
TEST(CalibrationHeader, TheObservationsNight) {
    const struct {
        const char* dateObs;
        double mjd;
        const char* night;
        const char* note;  // "" when nothing needs saying
    } cases[] = {
        {"2026-11-30T21:04:00.123", NAN, "2026-11-30", ""},
        {"2026-11-30", NAN, "2026-11-30", ""},
        // After midnight UT: still the night that began on the 30th.
        {"2026-12-01T02:10:00", NAN, "2026-11-30", "nuit du 2026-11-30"},
        {"2026-12-31T23:59", NAN, "2026-12-31", ""},
        {"2027-01-01T00:30", NAN, "2026-12-31", "nuit du 2026-12-31"},
        {"2024-03-01T03:00", NAN, "2024-02-29", "nuit du 2024-02-29"},
        {"01/03/26", NAN, "1926-03-01", "ancienne forme FITS JJ/MM/AA"},
        {"", 61009.25, "2025-11-29", "date tirée de MJD-OBS"},
        {"", 61009.75, "2025-11-30", "date tirée de MJD-OBS"},
        {"2026-13-45", NAN, "date inconnue", "DATE-OBS « 2026-13-45 » illisible"},
        {"hier soir", NAN, "date inconnue", "illisible"},
        {"2026-02-29", NAN, "date inconnue", "illisible"},
        // Gregorian leap years: 2000 was one, 1900 and 2100 are not.
        {"2000-02-29", NAN, "2000-02-29", ""},
        {"2100-02-29", NAN, "date inconnue", "illisible"},
        {"29/02/00", NAN, "date inconnue", "illisible"},
        {"", NAN, "date inconnue", "date d'observation absente"},
    };
    for (const auto& c : cases) {
        const ObservationNight n = observationNight(c.dateObs, c.mjd);
        EXPECT_EQ(n.date, c.night) << c.dateObs << " " << c.mjd;
        if (*c.note == 0) {
            EXPECT_EQ(n.note, "") << c.dateObs;
        } else {
            EXPECT_NE(n.note.find(c.note), std::string::npos) << c.dateObs << " : " << n.note;
        }
    }
}

// Kasten & Young (1989): X = 1 / (sin h + 0.50572 (h + 6.07995°)^−1.6364).
TEST(CalibrationHeader, TheAirmassFromTheAltitude) {
    const std::pair<double, double> cases[] = {
        {90, 0.99971199},  // 96.07995^−1.6364 = 5.695e−4; 1 / (1 + 2.880e−4)
        {30, 1.99429285},  // 36.07995^−1.6364 = 2.8283e−3; 1 / (0.5 + 1.4303e−3)
        {10, 5.58603588},  // 16.07995^−1.6364 = 0.010629; 1 / (0.173648 + 0.005375)
    };
    for (const auto& [h, x] : cases) EXPECT_NEAR(airmassAtAltitude(h), x, 1e-7) << h;
    ObservedSpectrum s = syntheticSpectrum(observing(), sixTenths, 120, 2);
    s.airmass = 0;
    s.altitude_deg = 30;
    const Calibration k = calibrate(observing(), s, "", "");
    EXPECT_NEAR(k.airmass, 1.99429285, 1e-7);
}

// Only counts calibrate: a flux, a normalised spectrum, no signal.
TEST(CalibrationRefusals, WhatIsNotRawCountsIsRefusedWithTheReason) {
    const DesignInput in = observing();
    const ObservedSpectrum base = syntheticSpectrum(in, sixTenths, 120, 23);
    const auto scaled = [&](double by, double offset, const char* unit) {
        ObservedSpectrum s = base;
        for (double& f : s.flux) f = f * by + offset;
        s.unit = unit;
        return s;
    };
    double median = 0;
    {
        std::vector<double> f = base.flux;
        std::nth_element(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(f.size() / 2), f.end());
        median = f[f.size() / 2];
    }
    const std::pair<ObservedSpectrum, const char*> cases[] = {
        {scaled(1, 0, "erg/cm2/s/A"), "un spectre calibré en flux ou relatif"},
        {scaled(1, 0, "W m-2 nm-1"), "un spectre calibré en flux ou relatif"},
        {scaled(1, 0, "Jy"), "un spectre calibré en flux ou relatif"},
        {scaled(1, 0, "Normalized"), "un spectre calibré en flux ou relatif"},
        {scaled(1 / median, 0, ""), "semble normalisé"},
        {scaled(1, -2 * median, "adu"), "la médiane du spectre n'est pas positive"},
        {scaled(1e-16, 0, ""), "rendement médian mesuré de"},  // flux-calibrated, unit lost
        {scaled(1e-3, 0, "adu"), "un instrument donne entre 0,2 et 100 %"},
        {scaled(6e-3, 0, "adu"), "un instrument donne entre 0,2 et 100 %"},  // about 0.1 %
    };
    for (const auto& [s, said] : cases) {
        const Calibration k = calibrate(in, s, "", "");
        EXPECT_NE(k.error.find(said), std::string::npos) << k.error;
        EXPECT_TRUE(k.ratio.points.empty());
    }
    for (const char* counts : {"adu", "ADU", "counts", "e-", "electrons", ""})
        EXPECT_EQ(calibrate(in, scaled(1, 0, counts), "", "").error, "") << counts;
}

// An instrument three times better than assumed gives efficiencies above 1
// at some wavelengths: those bins are shown, never stored.
TEST(CalibrationRefusals, NoStoredEfficiencyLeavesZeroToOne) {
    const DesignInput in = observing();
    const DesignOutcome o = evaluate(in);
    const auto triple = [](double) { return 3.0; };
    const Calibration k = calibrate(in, syntheticSpectrum(in, triple, 120, 5), "", "");
    ASSERT_EQ(k.error, "") << k.error;
    std::size_t out = 0;
    for (const CalibrationBin& b : k.bins) {
        if (b.masked) continue;
        out += b.outOfBounds;
        EXPECT_EQ(b.outOfBounds, !(b.efficiency <= 1)) << b.lambda_a;
    }
    ASSERT_GT(out, 0u);
    for (const auto& [l, r] : k.ratio.points) EXPECT_LE(r * assumedInstrumentAt(in, o, l), 1) << l;
    EXPECT_NE(k.notes.back().find("tranches hors de (0, 1] écartées"), std::string::npos);
}

// Two spectra of the same instrument, the second at twice the S/N: weights
// 1 : 4, so the combined ratio is 0.2·0.6 + 0.8·0.9 = 0.84.
TEST(CalibrationCombined, TwoSpectraCombineAsTheirSNWeightsSay) {
    const DesignInput in = observing();
    const auto nineTenths = [](double) { return 0.9; };
    const Calibration low =
        calibrate(in, syntheticSpectrum(in, sixTenths, exposureFor(in, sixTenths, 50), 31), "", "");
    const Calibration high = calibrate(
        in, syntheticSpectrum(in, nineTenths, exposureFor(in, nineTenths, 100), 32), "", "");
    ASSERT_EQ(low.error + high.error, "");
    EXPECT_NEAR(high.snr / low.snr, 2, 0.2);
    const double l = low.ratio.points[low.ratio.points.size() / 2].first;
    EXPECT_NEAR(combinedRatio({low.ratio, high.ratio}, l).value, 0.84, 0.84 * 0.03);
}

// DER_SNR without signal says so, never a negative figure; resampled noise
// is found and its S/N corrected.
TEST(DerSnr, NeverNegativeAndCorrectedForResampledNoise) {
    EXPECT_EQ(derSnr(std::vector<double>{-5, -4, -6, -5, -3, -5, -4}), 0);
    std::mt19937 g(17);
    std::vector<double> white, interpolated;
    for (int i = 0; i < 20000; ++i) white.push_back(1000 + 10 * gaussian(g));
    // Halfway between neighbours: γ0 = σ²/2, γ1 = σ²/4 (ρ1 = 0.5), and the
    // sum of the autocovariances σ²: the S/N per sample stays 1000/10 = 100,
    // where DER_SNR sees the halved variance, 100·√2 = 141.
    for (std::size_t i = 0; i + 1 < white.size(); ++i)
        interpolated.push_back((white[i] + white[i + 1]) / 2);
    const CorrelatedNoise w = correlatedNoise(white), r = correlatedNoise(interpolated);
    // A cosmic ray is clipped: it changes nothing.
    std::vector<double> hit = white;
    hit[5000] += 1e6;
    EXPECT_NEAR(correlatedNoise(hit).snr / w.snr, 1, 0.01);
    EXPECT_LT(std::fabs(w.rho1), kCorrelated);
    EXPECT_NEAR(w.snr / 100, 1, 0.05);
    EXPECT_NEAR(r.rho1, 0.5, 0.05);
    EXPECT_NEAR(r.snr / 100, 1, 0.05);
    EXPECT_NEAR(derSnr(interpolated) / (100 * std::sqrt(2.0)), 1, 0.05);
    // A three-sample running mean: γ0 = σ²/3, γ1 = 2σ²/9, γ2 = σ²/9 (ρ1 =
    // 2/3), their sum σ²: still 100 per sample.
    std::vector<double> smoothed;
    for (std::size_t i = 0; i + 2 < white.size(); ++i)
        smoothed.push_back((white[i] + white[i + 1] + white[i + 2]) / 3);
    const CorrelatedNoise m = correlatedNoise(smoothed);
    EXPECT_NEAR(m.rho1, 2.0 / 3, 0.05);
    EXPECT_NEAR(m.snr / 100, 1, 0.05);
    // A variance below one unit is a variance: 1000 ± 0.5 is S/N 2000.
    std::vector<double> quiet;
    for (double v : white) quiet.push_back(1000 + (v - 1000) / 20);
    EXPECT_NEAR(correlatedNoise(quiet).snr / 2000, 1, 0.05);
    // A smooth curvature is no noise: a parabola's second differences are a
    // constant, which the variance removes, so the noise measured beside its
    // median is the flat spectrum's to rounding (a fault drawn at random
    // shifted the mean by 1/n).
    std::vector<double> curved;
    for (std::size_t i = 0; i < 2000; ++i) {
        const double x = static_cast<double>(i) - 1000;
        curved.push_back(white[i] + 0.5 * x * x);
    }
    const std::vector<double> flat(white.begin(), white.begin() + 2000);
    const double noiseFlat = median(flat) / correlatedNoise(flat).snr;
    const double noiseCurved = median(curved) / correlatedNoise(curved).snr;
    EXPECT_NEAR(noiseCurved / noiseFlat, 1, 1e-9);
}

}  // namespace
}  // namespace kelvora::design

namespace kelvora::design {
namespace {

// Beyond silicon's edge the chain predicts no light: those samples are
// masked, never a ratio over zero (a fault drawn at random let them in).
TEST(Calibration, SamplesWhereNoLightIsPredictedAreMasked) {
    const DesignInput in = testkeys::designWith({{"lambda_a", "10600"}}, observing());
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result);
    const ObservedSpectrum s = syntheticSpectrum(in, flat, 120, 9);
    ASSERT_GT(s.lambda_a.back(), 11100) << "the spectrum runs past silicon's edge";
    const Calibration c = calibrate(in, s, "2026-12-07", "");
    ASSERT_EQ(c.error, "");
    for (const std::string& n : c.notes)
        EXPECT_EQ(n.find("hors de (0, 1]"), std::string::npos) << n;
    for (const CalibrationBin& b : c.bins) {
        if (b.lambda_a > 11050) {
            EXPECT_TRUE(b.masked) << b.lambda_a;
        }
    }
}

// Two exposures that differ are refused however short: 0.5 s against 0.8 s.
TEST(Calibration, TwoDifferentExposuresAreNeverGuessed) {
    const DesignInput in = observing();
    ObservedSpectrum s = syntheticSpectrum(in, flat, 0.5, 9);
    s.exptime_s = 0.5;
    s.exposure_other_s = 0.8;
    EXPECT_NE(calibrate(in, s, "", "").error.find("deux durées de pose"), std::string::npos);
    CalibrationOverrides user;
    user.pose_s = 0.5;
    EXPECT_EQ(calibrate(in, s, "", "", user).error, "");
}

}  // namespace
}  // namespace kelvora::design
