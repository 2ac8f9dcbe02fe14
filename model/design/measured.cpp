#include "model/design/measured.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "model/design/calibration.h"
#include "model/design/chain.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/shown.h"

namespace kelvora::design {

namespace {

bool covers(const MeasuredRatio& m, double lambdaA) {
    return !m.points.empty() && lambdaA >= m.points.front().first &&
           lambdaA <= m.points.back().first;
}

// Inverse-variance weights: a spectrum's noise variance goes as 1/(S/N)².
double weight(const MeasuredRatio& m) {
    return m.snr > 0 ? m.snr * m.snr : 1;
}

CombinedRatio within(const std::vector<MeasuredRatio>& list, double lambdaA) {
    double sum = 0, weights = 0;
    for (const MeasuredRatio& m : list)
        if (covers(m, lambdaA)) {
            sum += weight(m) * chain::interpolate(m.points, lambdaA);
            weights += weight(m);
        }
    if (weights == 0) return {NAN, 0, false};
    const double mean = sum / weights;
    double spread = 0;
    for (const MeasuredRatio& m : list)
        if (covers(m, lambdaA)) {
            const double d = chain::interpolate(m.points, lambdaA) - mean;
            spread += weight(m) * d * d;
        }
    return {mean, std::sqrt(spread / weights), true};
}

std::string range(const std::vector<MeasuredRatio>& list) {
    const auto [lo, hi] = measuredRange(list);
    return shownNumber(std::round(lo), 6, ".") + "–" + shownNumber(std::round(hi), 6, ".") + " Å";
}

// Years since year 0 of an ISO date « 2026-11-30 »; NaN if it is not one.
double years(const std::string& date) {
    int y = 0, m = 0, d = 0;
    if (date.size() < 10 || std::sscanf(date.c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3 || m < 1 ||
        m > 12 || d < 1 || d > 31)
        return NAN;
    return y + ((m - 1) * 30.4375 + (d - 1)) / 365.25;
}

}  // namespace

CalibratedWith calibratedWith(const DesignInput& in) {
    CalibratedWith w;
    for (const KeyRow& row : keyRows())
        if (row.instrument) w.keys[row.key] = keyText(in, row.key);
    return w;
}

CombinedRatio combinedRatio(const std::vector<MeasuredRatio>& list, double lambdaA) {
    if (list.empty()) return {};
    const CombinedRatio inside = within(list, lambdaA);
    if (inside.measured) return inside;
    std::vector<double> values;
    for (const MeasuredRatio& m : list)
        for (const auto& point : m.points) values.push_back(within(list, point.first).value);
    return {values.empty() ? 1 : median(values), 0, false};
}

double medianRatio(const MeasuredRatio& m) {
    std::vector<double> v;
    for (const auto& point : m.points) v.push_back(point.second);
    return median(v);
}

std::pair<double, double> measuredRange(const std::vector<MeasuredRatio>& list) {
    double lo = INFINITY, hi = -INFINITY;
    for (const MeasuredRatio& m : list)
        if (!m.points.empty()) {
            lo = std::min(lo, m.points.front().first);
            hi = std::max(hi, m.points.back().first);
        }
    return {lo, hi};
}

std::string outsideNote(const std::vector<MeasuredRatio>& list, double lambdaA) {
    if (list.empty() || combinedRatio(list, lambdaA).measured) return {};
    return "hors du domaine mesuré (" + range(list) + ")";
}

std::string instrumentDifference(const DesignInput& in) {
    const CalibratedWith now = calibratedWith(in);
    std::vector<std::string> said;
    for (const MeasuredRatio& m : in.etalonnages)
        for (const auto& [key, then] : m.instrument.keys) {
            const auto it = now.keys.find(key);
            if (it == now.keys.end() || it->second == then) continue;
            const std::string change = labelOf(key) + " " + then + " → " + it->second;
            if (std::find(said.begin(), said.end(), change) == said.end()) said.push_back(change);
        }
    std::string text;
    for (const std::string& s : said) text += (text.empty() ? "" : ", ") + s;
    return text.empty() ? text : "instrument changé depuis l'étalonnage : " + text;
}

std::string calibrationLine(const MeasuredRatio& m, std::string_view sep) {
    std::string line = (m.date.empty() ? std::string("?") : m.date) + ", " +
                       (m.star.empty() ? std::string("étoile sans nom") : m.star);
    if (!m.file.empty()) line += " (" + m.file + ")";
    return line + ", S/N " + shownNumber(m.snr, 3, sep) + ", rapport médian " +
           shownNumber(medianRatio(m), 3, sep);
}

namespace {

// From the earliest night to the latest, whatever the order they were
// added in; the unknown ones counted apart.
std::string dateSpan(const std::vector<MeasuredRatio>& list) {
    std::string first, last;
    std::size_t unknown = 0;
    for (const MeasuredRatio& m : list) {
        if (std::isnan(years(m.date))) {
            ++unknown;
            continue;
        }
        if (first.empty() || m.date < first) first = m.date;
        if (last.empty() || m.date > last) last = m.date;
    }
    std::string span = first.empty() ? "" : ", de " + first + " à " + last;
    if (unknown > 0) span += " (" + std::to_string(unknown) + " de date inconnue)";
    return span;
}

}  // namespace

std::string calibrationNote(const DesignInput& in, std::string_view sep) {
    const auto& list = in.etalonnages;
    if (list.empty()) return {};
    std::string note =
        list.size() == 1
            ? "rendement mesuré le " + calibrationLine(list.front(), sep)
            : "rendement mesuré sur " + std::to_string(list.size()) + " spectres" + dateSpan(list);
    note += " ; domaine " + range(list);
    if (const std::string out = outsideNote(list, in.lambda_a); !out.empty())
        note += " ; " + shownValue(in.lambda_a, sep) + " Å " + out + " : rapport médian";
    if (const std::string diff = instrumentDifference(in); !diff.empty()) note += " ; " + diff;
    return note;
}

PlotDescription calibrationHistory(const std::vector<MeasuredRatio>& list) {
    PlotDescription p;
    p.id = "etalonnage_historique";
    p.title = "Rapport médian selon la date";
    p.xTitle = "date (année)";
    p.yTitle = "observé / prévu";
    // One point a night: the S/N-weighted mean of that night's medians.
    std::map<double, std::pair<double, double>> nights;  // year → (Σ w·ratio, Σ w)
    for (const MeasuredRatio& m : list)
        if (const double y = years(m.date); y == y) {
            nights[y].first += weight(m) * medianRatio(m);
            nights[y].second += weight(m);
        }
    Curve points;
    for (const auto& [year, sums] : nights) points.emplace_back(year, sums.first / sums.second);
    p.curves = {{"rapport médian", points}};
    placeNames(p, {});
    return p;
}

}  // namespace kelvora::design
