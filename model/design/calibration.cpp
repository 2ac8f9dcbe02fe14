#include "model/design/calibration.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "model/design/labels.h"
#include "model/design/nightdate.h"
#include "model/design/shown.h"
#include "model/design/wavesolution.h"
#include "model/mathfn.h"

namespace kelvora::design {

namespace {

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

// The design of the observation: its airmass and exposure, the assumed chain.
DesignInput observation(const DesignInput& in, double airmass, double exptime) {
    DesignInput obs = in;
    obs.masse_air = airmass;
    obs.etalonnages = {};
    obs.pose_s = exptime;
    obs.poses = 1;
    return obs;
}

std::string checked(const ObservedSpectrum& s) {
    if (s.lambda_a.size() != s.flux.size() || s.lambda_a.size() < kMinSpectrumSamples)
        return "le spectre a moins de " + std::to_string(kMinSpectrumSamples) +
               " points : rien à étalonner";
    for (std::size_t i = 1; i < s.lambda_a.size(); ++i)
        if (!(s.lambda_a[i] > s.lambda_a[i - 1]))
            return "les longueurs d'onde du spectre ne croissent pas";
    return {};
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A flux or a relative unit: what a reduction wrote after the counts were gone.
bool fluxUnit(const std::string& unit) {
    const std::string u = lower(unit);
    for (const char* word : {"erg", "jy", "jansky", "normali", "relative", "cm2", "cm-2", "cm^-2",
                             "m2", "m-2", "m^-2", "/s/", "flam", "fnu", "watt"})
        if (u.find(word) != std::string::npos) return true;
    return u.rfind("w ", 0) == 0 || u.rfind("w/", 0) == 0 || u.rfind("w.", 0) == 0 || u == "w";
}

// What the flux's unit says: counts (ADU) or electrons, per exposure or
// per second. A small grammar of what pipelines write: « adu », « counts »,
// « ct », « DN », « e- », « electron(s) »; a rate as « /s », « s-1 »,
// « s**-1 », « s^-1 », after a « . », a space or nothing.
struct CountUnit {
    bool electrons = false, rate = false, known = true;
};

bool strip(std::string& u, std::string_view suffix) {
    if (u.size() < suffix.size() || u.compare(u.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    u.resize(u.size() - suffix.size());
    while (!u.empty() && (u.back() == '.' || u.back() == ' ' || u.back() == '*')) u.pop_back();
    return true;
}

CountUnit countUnit(const std::string& unit) {
    std::string u = lower(unit);
    while (!u.empty() && u.back() == ' ') u.pop_back();
    while (!u.empty() && u.front() == ' ') u.erase(u.begin());
    CountUnit c;
    for (const char* suffix : {"/s", "/sec", "/second", "s-1", "s**-1", "s^-1", "s^(-1)"})
        if (strip(u, suffix)) {
            c.rate = true;
            break;
        }
    for (const char* adu : {"", "adu", "adus", "count", "counts", "ct", "cts", "dn"})
        if (u == adu) return c;
    for (const char* e : {"e", "e-", "e−", "e⁻", "electron", "electrons", "electron(s)"})
        if (u == e) return c.electrons = true, c;
    c.known = false;
    return c;
}

// Only counts calibrate: refused in French when the spectrum is not.
std::string notCounts(const ObservedSpectrum& s) {
    if (fluxUnit(s.unit))
        return "le spectre est en « " + s.unit +
               " » : un spectre calibré en flux ou relatif ne s'étalonne pas ; il faut le "
               "spectre brut, en ADU ou en électrons";
    if (!countUnit(s.unit).known)
        return "unité du flux « " + s.unit +
               " » inconnue : il faut des ADU ou des électrons, par pose ou par seconde";
    std::vector<double> f = s.flux;
    const double m = median(f);
    if (!(m > 0))
        return "la médiane du spectre n'est pas positive : ce n'est pas le spectre brut d'une "
               "étoile (ciel mal soustrait ?)";
    // Counts of a median m ADU at any plausible gain (≤ 20 e⁻/ADU) cannot
    // reach this S/N: the counting noise is gone.
    if (m >= 0.2 && m <= 5 && derSnr(s.flux) > 3 * std::sqrt(kLargestGain * m))
        return "le spectre semble normalisé (médiane " + shownNumber(m, 3, ".") +
               " sans bruit de comptage) : il faut le spectre brut, en ADU ou en électrons";
    return {};
}

std::string number(double v) {
    return shownNumber(v, 4, ".");
}

// The header's value of a key it gives but no observation can have, named;
// "" where it gives none such.
std::string impossibleKey(const ObservedSpectrum& s, std::string_view key) {
    for (const std::string& said : s.impossible)
        if (said.rfind(key, 0) == 0 && said.size() > key.size() && said[key.size()] == ' ')
            return said;
    return {};
}

// Why the file's value is not used: absent, or one no observation has.
std::string missing(const ObservedSpectrum& s, std::string_view key, const std::string& what) {
    const std::string said = impossibleKey(s, key);
    return said.empty() ? what + " absente du fichier" : said + " impossible dans le fichier";
}

double exposureOf(const DesignInput& in, const ObservedSpectrum& s, const CalibrationOverrides& u,
                  std::vector<std::string>& notes, std::string& error) {
    if (u.pose_s > 0) return u.pose_s;
    // Two exposures that differ: which one the counts are over is not guessed.
    if (s.exposure_other_s > 0) {
        error = "EXPTIME = " + number(s.exptime_s) +
                " et EXPOSURE = " + number(s.exposure_other_s) +
                " : le fichier donne deux durées de pose ; donnez la bonne (pose_s)";
        return 0;
    }
    if (s.exptime_s > 0) return s.exptime_s;
    notes.push_back(missing(s, "EXPTIME", "durée de pose") + " : " + number(in.pose_s * in.poses) +
                    " s de la conception");
    return in.pose_s * in.poses;
}

double airmassOf(const DesignInput& in, const ObservedSpectrum& s, const CalibrationOverrides& u,
                 std::vector<std::string>& notes) {
    if (u.masse_air >= 1) return u.masse_air;
    if (s.airmass >= 1) return s.airmass;
    if (const std::string said = impossibleKey(s, "AIRMASS"); !said.empty())
        notes.push_back(said + " impossible dans le fichier (au moins 1)");
    if (s.altitude_deg > 0 && s.altitude_deg <= 90) {
        const double x = airmassAtAltitude(s.altitude_deg);
        notes.push_back("masse d'air " + number(x) + " tirée de la hauteur " +
                        number(s.altitude_deg) + "° (Kasten et Young 1989)");
        return x;
    }
    notes.push_back("masse d'air absente du fichier : " + number(in.masse_air) +
                    " de la conception");
    return in.masse_air;
}

struct Gain {
    double value = 1;
    bool fromGainKey = false;  // the ambiguous GAIN: refused if it gives an efficiency above 1
    std::string error = {};
};

std::string askGain(double gain) {
    return "GAIN = " + number(gain) +
           " n'est pas un gain en e⁻/ADU (c'est sans doute le réglage de la caméra) : donnez "
           "le gain en e⁻/ADU (gain_e_adu)";
}

// The gain, by precedence: the user's at calibration time, then electrons
// (gain 1), then the file's EGAIN, then the design's `gain_e_adu`; each
// value set aside is said.
Gain gainOf(const DesignInput& in, const ObservedSpectrum& s, const CalibrationOverrides& u,
            bool electrons, std::vector<std::string>& notes) {
    const std::string egain = s.egain > 0 ? "EGAIN = " + number(s.egain) + " du fichier" : "";
    if (u.gain_e_adu > 0) {
        if (!egain.empty() && s.egain != u.gain_e_adu)
            notes.push_back(egain + " remplacé par le gain donné, " + number(u.gain_e_adu) +
                            " e⁻/ADU");
        return {u.gain_e_adu};
    }
    if (electrons) {
        notes.push_back("spectre en électrons : gain 1" +
                        (egain.empty() ? std::string() : ", " + egain + " ignoré"));
        return {1};
    }
    if (s.egain > 0) {
        if (s.gain > 0 && s.gain != s.egain)
            notes.push_back("GAIN = " + number(s.gain) +
                            " ignoré (réglage de la caméra) : EGAIN = " + number(s.egain) +
                            " e⁻/ADU");
        if (in.gain_e_adu > 0 && in.gain_e_adu != s.egain)
            notes.push_back("gain de la conception " + number(in.gain_e_adu) +
                            " e⁻/ADU ignoré : " + egain);
        return {s.egain};
    }
    if (const std::string said = impossibleKey(s, "EGAIN"); !said.empty())
        notes.push_back(said + " impossible dans le fichier (> 0)");
    if (in.gain_e_adu > 0) return {in.gain_e_adu};
    if (s.gain > kLargestGain) return {1, false, askGain(s.gain)};
    if (s.gain > 0) return {s.gain, true};
    notes.push_back("gain absent du fichier : 1 e⁻/ADU supposé (gain_e_adu pour le donner)");
    return {1};
}

void noteBinning(const DesignInput& in, const ObservedSpectrum& s,
                 std::vector<std::string>& notes) {
    const double x = s.bin_x > 0 ? s.bin_x : in.bin_x, y = s.bin_y > 0 ? s.bin_y : in.bin_y;
    if (x != in.bin_x || y != in.bin_y)
        notes.push_back("binning du fichier " + number(x) + "×" + number(y) +
                        ", de la conception " + number(in.bin_x) + "×" + number(in.bin_y) +
                        " : le résultat suppose celui de la conception");
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

bool maskedForCalibration(double lambdaA) {
    return std::any_of(std::begin(kMasked), std::end(kMasked), [&](const auto& band) {
        return lambdaA >= band.first && lambdaA <= band.second;
    });
}

double airmassAtAltitude(double h) {
    return 1 / (fn::sin(h * M_PI / 180) + 0.50572 * fn::pow(h + 6.07995, -1.6364));
}

namespace {

// Observed over predicted in every bin, for one gain.
void fitBins(Calibration& c, const DesignInput& obs, const DesignOutcome& o,
             const ObservedSpectrum& s) {
    const std::vector<double> step = wavelengthSteps(s.lambda_a).step;
    // About 75 samples a bin, between 5 and 60 bins.
    const std::size_t n = s.lambda_a.size();
    const std::size_t count = std::clamp<std::size_t>(n / 75, 5, 60);
    c.bins.clear();
    for (std::size_t k = 0; k < count; ++k)
        c.bins.push_back(binOf(obs, o,
                               binSamples(obs, o, s, step, n * k / count, n * (k + 1) / count,
                                          c.gain_e_adu / c.exptime_s)));
}

std::string implausible(double medianEfficiency) {
    return "rendement médian mesuré de " + shownNumber(100 * medianEfficiency, 3, ".") +
           " % : un instrument donne entre 0,2 et 100 %. Vérifiez le gain (e⁻/ADU), la magnitude "
           "et le type spectral de l'étoile, la durée de pose, le binning, et que le spectre "
           "n'est pas calibré en flux";
}

// The physical bounds: the median of the fit plausible, each stored bin in (0, 1].
std::string bounded(Calibration& c, bool gainFromGainKey, double gain) {
    std::vector<double> efficiencies;
    for (CalibrationBin& b : c.bins)
        if (!b.masked) efficiencies.push_back(b.efficiency);
    if (efficiencies.size() < 2)
        return "trop peu du spectre tombe hors des raies et sur le capteur de cette conception : "
               "rien à étalonner";
    std::size_t out = 0;
    for (CalibrationBin& b : c.bins)
        if (!b.masked && !(b.efficiency > 0 && b.efficiency <= 1)) b.outOfBounds = true, ++out;
    if (out && gainFromGainKey) return askGain(gain);
    const double m = median(efficiencies);
    if (!(m >= 0.002 && m <= 1)) return implausible(m);
    if (out) c.notes.push_back(std::to_string(out) + " tranches hors de (0, 1] écartées");
    return {};
}

// The S/N per sample: the median of the bins' DER_SNR (the noise changes
// with the signal across a spectrum, which one DER_SNR over all of it
// blends), or the S/N with the noise resampling hides.
void measureNoise(Calibration& c, const ObservedSpectrum& s) {
    std::vector<double> bins;
    for (const CalibrationBin& b : c.bins)
        if (!b.masked && b.snr > 0) bins.push_back(b.snr);
    c.derSnr = bins.empty() ? derSnr(s.flux) : median(bins);
    c.snr = c.derSnr;
    const CorrelatedNoise noise = correlatedNoise(s.flux);
    if (c.derSnr > 0 && noise.rho1 > kCorrelated && noise.snr > 0) {
        const double corrected = noise.snr;
        c.snr = corrected;
        c.notes.push_back("bruit corrélé entre points voisins (spectre rééchantillonné ?) : S/N " +
                          shownNumber(corrected, 3, ".") + " par point, DER_SNR " +
                          shownNumber(c.derSnr, 3, ".") + " sans correction");
    }
}

}  // namespace

namespace {

// The measured range is the spectrum's: the ratio its first and last bins
// measured holds out to its ends, not only to their centres, capped where
// the chain there would make it an efficiency above 1.
void coverTheEnds(Curve& points, const ObservedSpectrum& s, const DesignInput& obs,
                  const DesignOutcome& o) {
    const auto held = [&](const std::pair<double, double>& bin, double lambda) {
        const double there = assumedInstrumentAt(obs, o, lambda);
        return there > 0 ? std::min(bin.second, 1 / there) : bin.second;
    };
    if (s.lambda_a.front() < points.front().first)
        points.insert(points.begin(),
                      {s.lambda_a.front(), held(points.front(), s.lambda_a.front())});
    if (s.lambda_a.back() > points.back().first)
        points.emplace_back(s.lambda_a.back(), held(points.back(), s.lambda_a.back()));
}

// A rate (per second) becomes counts over the exposure, as the chain takes them.
ObservedSpectrum asCounts(const ObservedSpectrum& s, double exposure,
                          std::vector<std::string>& notes) {
    ObservedSpectrum counts = s;
    for (double& f : counts.flux) f *= exposure;
    notes.push_back("spectre en « " + s.unit + " » : un débit, multiplié par la pose de " +
                    number(exposure) + " s");
    return counts;
}

}  // namespace

Calibration calibrate(const DesignInput& in, const ObservedSpectrum& read, const std::string& date,
                      const std::string& file, const CalibrationOverrides& user) {
    Calibration c;
    if (c.error = checked(read); !c.error.empty()) return c;
    const CountUnit unit = countUnit(read.unit);
    c.exptime_s = exposureOf(in, read, user, c.notes, c.error);
    if (!c.error.empty()) return c;
    const ObservedSpectrum s = unit.rate ? asCounts(read, c.exptime_s, c.notes) : read;
    if (c.error = notCounts(s); !c.error.empty()) return c;
    if (!s.hdu.empty()) c.notes.push_back("spectre lu : " + s.hdu);
    if (!s.columns.empty()) c.notes.push_back("colonnes lues : " + s.columns);
    // The night the header says, or « date inconnue », unless given.
    const ObservationNight night = observationNight(s.date, s.mjd);
    if (date.empty() && !night.note.empty()) c.notes.push_back(night.note);
    c.airmass = airmassOf(in, s, user, c.notes);
    const Gain gain = gainOf(in, s, user, unit.electrons, c.notes);
    if (c.error = gain.error; !c.error.empty()) return c;
    c.gain_e_adu = gain.value;
    noteBinning(in, s, c.notes);
    const DesignInput obs = observation(in, c.airmass, c.exptime_s);
    const DesignOutcome o = evaluate(obs);
    if (!o.result) return c.error = describe(*o.error, "."), c;
    fitBins(c, obs, o, s);
    if (c.error = bounded(c, gain.fromGainKey, gain.value); !c.error.empty()) return c;
    for (const CalibrationBin& b : c.bins)
        if (!b.masked && !b.outOfBounds) c.ratio.points.emplace_back(b.lambda_a, b.ratio);
    if (c.ratio.points.size() < 2)
        return c.error = "moins de deux tranches plausibles : rien à étalonner", c;
    coverTheEnds(c.ratio.points, s, obs, o);
    measureNoise(c, s);
    c.ratio.date = date.empty() ? night.date : date;
    c.ratio.star = s.object.empty() ? std::string("étoile sans nom") : s.object;
    c.ratio.file = file;
    c.ratio.snr = c.snr;
    c.ratio.instrument = calibratedWith(in);
    if (const auto p = spectralPointAt(obs, o, s.lambda_a[s.lambda_a.size() / 2]))
        c.predictedSnr = p->snr;
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
    obs.etalonnages = {};
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
    s.egain = 1;
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
                          b.masked || b.snr > 0 ? shownResult(b.snr, sep) : "sans signal",
                          shownResult(b.efficiency, sep),
                          b.masked        ? "oui"
                          : b.outOfBounds ? "hors de (0, 1]"
                                          : "non"});
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
    std::string text = c.ratio.star + " : S/N du spectre (par point) " + shownResult(c.snr, sep) +
                       ", prévu " + shownResult(c.predictedSnr, sep) + " par pixel ; pose " +
                       shownResult(c.exptime_s, sep) + " s, gain " +
                       shownResult(c.gain_e_adu, sep) + " e⁻/ADU, masse d'air " +
                       shownResult(c.airmass, sep);
    for (const std::string& note : c.notes) text += " ; " + note;
    return text;
}

}  // namespace kelvora::design
