#include "model/design/calibration.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "model/design/labels.h"
#include "model/design/shown.h"
#include "model/mathfn.h"

namespace kelvora::design {

namespace {

double median(std::vector<double> v) {
    if (v.empty()) return NAN;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2) return *mid;
    return (*mid + *std::max_element(v.begin(), mid)) / 2;
}

// The mean of the values within 4 median absolute deviations of their
// median: as precise as the mean on clean data, blind to a cosmic ray.
double clippedMean(const std::vector<double>& v) {
    const double m = median(v);
    std::vector<double> dev;
    for (double x : v) dev.push_back(std::fabs(x - m));
    const double limit = 4 * 1.4826 * median(dev);
    double sum = 0;
    std::size_t n = 0;
    for (double x : v)
        if (std::fabs(x - m) <= limit) sum += x, ++n;
    return n ? sum / static_cast<double>(n) : m;
}

// Stellar lines and telluric bands, Å (docs/physics.md gives the sources).
constexpr std::pair<double, double> kMasked[] = {
    {3780, 3850},  // H10, H9
    {3870, 3910},  // H8
    {3915, 3990},  // Ca II K, H and Hε
    {4060, 4140},  // Hδ
    {4300, 4380},  // Hγ
    {4815, 4905},  // Hβ
    {5880, 5905},  // Na D
    {6510, 6615},  // Hα
    {6860, 6950},  // O₂ B
    {7160, 7340},  // H₂O
    {7590, 7700},  // O₂ A
    {8120, 8340},  // H₂O
    {8950, 9800},  // H₂O
};

// The sampling step at each sample, Å: half the distance between its neighbours.
std::vector<double> steps(const std::vector<double>& lambda) {
    const std::size_t n = lambda.size();
    std::vector<double> d(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i == 0 ? 0 : i - 1, hi = i + 1 == n ? n - 1 : i + 1;
        d[i] = (lambda[hi] - lambda[lo]) / static_cast<double>(hi - lo);
    }
    return d;
}

// The design of the observation: the file's airmass, the assumed chain.
DesignInput observation(const DesignInput& in, const ObservedSpectrum& s, double exptime) {
    DesignInput obs = in;
    if (s.airmass >= 1) obs.masse_air = s.airmass;
    obs.rendement_mesure = {};
    obs.pose_s = exptime;
    obs.poses = 1;
    return obs;
}

std::string checked(const ObservedSpectrum& s) {
    if (s.lambda_a.size() != s.flux.size() || s.lambda_a.size() < 20)
        return "le spectre a moins de 20 points : rien à étalonner";
    for (std::size_t i = 1; i < s.lambda_a.size(); ++i)
        if (!(s.lambda_a[i] > s.lambda_a[i - 1]))
            return "les longueurs d'onde du spectre ne croissent pas";
    return {};
}

struct Samples {
    std::vector<double> ratio, flux;
    double centre = 0;
    std::size_t masked = 0;
};

// One bin: each unmasked sample's observed over predicted e⁻ s⁻¹ Å⁻¹.
Samples binSamples(const DesignInput& obs, const DesignOutcome& o, const ObservedSpectrum& s,
                   const std::vector<double>& step, std::size_t begin, std::size_t end,
                   double perAdu) {
    Samples b;
    b.centre = (s.lambda_a[begin] + s.lambda_a[end - 1]) / 2;
    const double fraction = o.result->fraction_extraite;
    for (std::size_t i = begin; i < end; ++i) {
        const auto p = maskedForCalibration(s.lambda_a[i]) ? std::nullopt
                                                           : spectralPointAt(obs, o, s.lambda_a[i]);
        if (!p || !(p->signal_e_s_a > 0)) {
            ++b.masked;
            continue;
        }
        b.flux.push_back(s.flux[i]);
        b.ratio.push_back(s.flux[i] * perAdu / step[i] / (p->signal_e_s_a * fraction));
    }
    return b;
}

CalibrationBin binOf(const DesignInput& obs, const DesignOutcome& o, const Samples& b) {
    CalibrationBin bin{b.centre, NAN, NAN, NAN, NAN, NAN, true};
    const auto p = spectralPointAt(obs, o, b.centre);
    if (p) bin.predicted = p->signal_e_s_a * o.result->fraction_extraite;
    // Half the bin at least, and ten samples, out of the lines.
    if (!p || b.ratio.size() < 10 || b.ratio.size() < b.masked) return bin;
    bin.masked = false;
    bin.ratio = clippedMean(b.ratio);
    bin.observed = bin.ratio * bin.predicted;
    bin.snr = derSnr(b.flux);
    bin.efficiency = bin.ratio * assumedInstrumentAt(obs, o, b.centre);
    return bin;
}

}  // namespace

std::string observationDate(const ObservedSpectrum& s, const std::string& today) {
    return s.date.empty() ? today : s.date.substr(0, 10);
}

double derSnr(std::span<const double> flux) {
    std::vector<double> f;
    for (double v : flux)
        if (v != 0 && std::isfinite(v)) f.push_back(v);
    if (f.size() < 5) return 0;
    std::vector<double> d;
    for (std::size_t i = 2; i + 2 < f.size(); ++i)
        d.push_back(std::fabs(2 * f[i] - f[i - 2] - f[i + 2]));
    const double noise = 1.482602 / std::sqrt(6.0) * median(d);
    return noise > 0 ? median(f) / noise : 0;
}

bool maskedForCalibration(double lambdaA) {
    return std::any_of(std::begin(kMasked), std::end(kMasked), [&](const auto& band) {
        return lambdaA >= band.first && lambdaA <= band.second;
    });
}

Calibration calibrate(const DesignInput& in, const ObservedSpectrum& s, const std::string& date,
                      const std::string& file) {
    Calibration c;
    if (c.error = checked(s); !c.error.empty()) return c;
    c.exptime_s = s.exptime_s > 0 ? s.exptime_s : in.pose_s * in.poses;
    c.gain_e_adu = s.gain_e_adu > 0 ? s.gain_e_adu : 1;
    const DesignInput obs = observation(in, s, c.exptime_s);
    const DesignOutcome o = evaluate(obs);
    if (!o.result) return c.error = describe(*o.error, "."), c;
    const std::vector<double> step = steps(s.lambda_a);
    // About 75 samples a bin, between 5 and 60 bins.
    const std::size_t n = s.lambda_a.size();
    const std::size_t count = std::clamp<std::size_t>(n / 75, 5, 60);
    for (std::size_t k = 0; k < count; ++k) {
        const Samples b = binSamples(obs, o, s, step, n * k / count, n * (k + 1) / count,
                                     c.gain_e_adu / c.exptime_s);
        c.bins.push_back(binOf(obs, o, b));
        if (!c.bins.back().masked)
            c.efficiency.points.emplace_back(c.bins.back().lambda_a, c.bins.back().efficiency);
    }
    if (c.efficiency.points.size() < 2)
        return c.error =
                   "trop peu du spectre tombe hors des raies et sur le capteur de cette "
                   "conception : rien à étalonner",
               c;
    c.efficiency.date = date;
    c.efficiency.star = s.object.empty() ? std::string("étoile sans nom") : s.object;
    c.efficiency.file = file;
    c.snr = derSnr(s.flux);
    if (const auto p = spectralPointAt(obs, o, s.lambda_a[n / 2])) c.predictedSnr = p->snr;
    return c;
}

namespace {

// A standard normal deviate from the generator's raw output (Box–Muller):
// std's distributions differ between libraries, the generator does not.
double gaussian(std::mt19937& g) {
    const double u1 = (static_cast<double>(g()) + 1) / 4294967297.0;
    const double u2 = static_cast<double>(g()) / 4294967296.0;
    return std::sqrt(-2 * fn::log(u1)) * fn::cos(2 * M_PI * u2);
}

}  // namespace

ObservedSpectrum syntheticSpectrum(const DesignInput& in, double (*factor)(double), double exptime,
                                   std::uint32_t seed) {
    ObservedSpectrum s;
    DesignInput obs = in;
    obs.rendement_mesure = {};
    const DesignOutcome o = evaluate(obs);
    if (!o.result) return s;
    std::mt19937 g(seed);
    const double read = obs.bruit_e * std::sqrt(o.result->rangees_extraites);
    const int columns = static_cast<int>(obs.pixels / obs.bin_x);
    for (int i = 0; i < columns; ++i) {
        const double centre = wavelengthAtPixel(obs, o.grating, (i + 0.5) * obs.bin_x);
        const double width = std::fabs(wavelengthAtPixel(obs, o.grating, (i + 1) * obs.bin_x) -
                                       wavelengthAtPixel(obs, o.grating, i * obs.bin_x));
        const auto p = spectralPointAt(obs, o, centre);
        if (!p) continue;
        const double electrons =
            p->signal_e_s_a * o.result->fraction_extraite * factor(centre) * width * exptime;
        s.lambda_a.push_back(centre);
        const double noise = seed ? std::sqrt(electrons + read * read) * gaussian(g) : 0;
        s.flux.push_back(electrons + noise);
    }
    if (!s.lambda_a.empty() && s.lambda_a.front() > s.lambda_a.back()) {
        std::reverse(s.lambda_a.begin(), s.lambda_a.end());
        std::reverse(s.flux.begin(), s.flux.end());
    }
    s.exptime_s = exptime;
    s.gain_e_adu = 1;
    s.airmass = obs.masse_air;
    s.object = "synthétique " + obs.type_spectral;
    return s;
}

PlotTable calibrationTable(const Calibration& c, std::string_view sep) {
    PlotTable t;
    t.headers = {"λ (Å)",         "observé (e⁻/s/Å)", "prévu (e⁻/s/Å)", "rapport",
                 "S/N (DER_SNR)", "rendement mesuré", "masqué"};
    for (const CalibrationBin& b : c.bins)
        t.rows.push_back({shownResult(b.lambda_a, sep), shownResult(b.observed, sep),
                          shownResult(b.predicted, sep), shownResult(b.ratio, sep),
                          shownResult(b.snr, sep), shownResult(b.efficiency, sep),
                          b.masked ? "oui" : "non"});
    return t;
}

std::array<PlotDescription, 2> calibrationPlots(const Calibration& c) {
    std::array<PlotDescription, 2> p;
    p[0].id = "etalonnage_signal";
    p[0].title = "Signal observé et prévu";
    p[1].id = "etalonnage_rapport";
    p[1].title = "Rapport observé / prévu";
    Curve observed, predicted, ratio;
    for (const CalibrationBin& b : c.bins) {
        predicted.emplace_back(b.lambda_a, b.predicted);
        observed.emplace_back(b.lambda_a, b.masked ? NAN : b.observed);
        ratio.emplace_back(b.lambda_a, b.masked ? NAN : b.ratio);
    }
    for (PlotDescription& d : p) d.xTitle = "longueur d'onde (Å)";
    p[0].yTitle = "e⁻/s/Å";
    p[0].curves = {{"observé", observed}, {"prévu", predicted}};
    p[1].yTitle = "observé / prévu";
    p[1].curves = {{"rapport", ratio}};
    for (PlotDescription& d : p) placeNames(d, {});
    return p;
}

std::string calibrationSummary(const Calibration& c, std::string_view sep) {
    return c.efficiency.star + " : S/N du spectre (DER_SNR, par point) " + shownResult(c.snr, sep) +
           ", prévu " + shownResult(c.predictedSnr, sep) + " par pixel ; pose " +
           shownResult(c.exptime_s, sep) + " s, gain " + shownResult(c.gain_e_adu, sep) + " e⁻/ADU";
}

std::string measuredEfficiencyNote(const DesignInput& in) {
    const MeasuredEfficiency& m = in.rendement_mesure;
    if (m.points.empty()) return {};
    std::string note = "rendement mesuré le " + (m.date.empty() ? std::string("?") : m.date) +
                       " sur " + (m.star.empty() ? std::string("une étoile") : m.star);
    return m.file.empty() ? note : note + " (" + m.file + ")";
}

}  // namespace kelvora::design
