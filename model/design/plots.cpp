#include "model/design/plots.h"

#include <algorithm>
#include <cmath>

#include "model/design/curves.h"
#include "model/design/placement.h"
#include "model/design/shown.h"

namespace kelvora::design {

namespace {

constexpr int kSpectrumPoints = 100;

}  // namespace

PlotFrame plotFrame(const PlotDescription& p) {
    PlotFrame f{INFINITY, -INFINITY, INFINITY, -INFINITY};
    for (const auto& [name, curve] : p.curves)
        for (const auto& [x, y] : curve) {
            f.xLow = std::min(f.xLow, x), f.xHigh = std::max(f.xHigh, x);
            if (std::isfinite(y)) f.yLow = std::min(f.yLow, y), f.yHigh = std::max(f.yHigh, y);
        }
    if (p.level) f.yLow = std::min(f.yLow, *p.level), f.yHigh = std::max(f.yHigh, *p.level);
    if (!(f.xLow <= f.xHigh)) f.xLow = 0, f.xHigh = 1;
    if (!(f.yLow <= f.yHigh)) f.yLow = 0, f.yHigh = 1;
    return f;
}

namespace {

// Permitted lines (Hα, Na D…) before forbidden ones ([N II]…): when two
// names cannot both be written, the permitted line keeps its own.
void byImportance(std::vector<PlotMark>& marks) {
    std::stable_sort(marks.begin(), marks.end(), [](const PlotMark& a, const PlotMark& b) {
        return !a.name.starts_with("[") && b.name.starts_with("[");
    });
}

PlotDescription named(std::size_t index) {
    PlotDescription p;
    p.id = kPlotNames[index].id;
    p.title = kPlotNames[index].name;
    return p;
}

void target(const DesignInput& in, PlotDescription& p) {
    if (in.cible_snr <= 0) return;
    p.level = in.cible_snr;
    p.levelName = "S/N cible";
}

// With a target: the line and its solved point; else the given point.
PlotDescription snrPlot(std::size_t index, const DesignInput& in, Curve curve, PlotMark withTarget,
                        PlotMark without) {
    PlotDescription p = named(index);
    p.curves.emplace_back("S/N", std::move(curve));
    p.yTitle = "S/N";
    target(in, p);
    PlotMark m = in.cible_snr > 0 ? std::move(withTarget) : std::move(without);
    if (std::isfinite(m.x) && std::isfinite(m.y)) p.mark = std::move(m);
    return p;
}

PlotDescription acrossSensor(const DesignInput& in, const DesignOutcome& outcome,
                             const LineReport& lines) {
    const DesignResult& r = *outcome.result;
    PlotDescription p = named(2);
    p.title += " : " + shownNumber(std::round(r.lambda_min_a), 15, ".") + " à " +
               shownNumber(std::round(r.lambda_max_a), 15, ".") + " Å";
    p.xTitle = "pixel";
    p.yTitle = "λ (Å)";
    p.wholeX = true;
    p.curves.emplace_back("λ", spectrumAcrossSensor(in, outcome, kSpectrumPoints));
    for (const LineOnSensor& l : lines.lines)
        if (markedOnPlots(*l.line)) p.labels.push_back({l.pixel, l.line->lambda_a, l.line->name});
    return p;
}

using Factor = double SpectralPoint::*;

Curve along(const std::vector<SpectralPoint>& points, Factor f) {
    Curve c;
    for (const SpectralPoint& p : points) c.emplace_back(p.lambda_a, p.*f);
    return c;
}

PlotDescription efficiencies(const std::vector<SpectralPoint>& points) {
    PlotDescription p = named(3);
    p.xTitle = "longueur d'onde (Å)";
    p.yTitle = "rendement";
    const std::pair<const char*, Factor> factors[] = {
        {"atmosphère", &SpectralPoint::atmosphere}, {"télescope", &SpectralPoint::telescope},
        {"réseau", &SpectralPoint::reseau},         {"QE", &SpectralPoint::qe},
        {"fente", &SpectralPoint::fente},           {"total", &SpectralPoint::rendement},
    };
    for (const auto& [name, factor] : factors) p.curves.emplace_back(name, along(points, factor));
    p.lastIsTotal = true;
    return p;
}

PlotDescription snrAlong(const DesignInput& in, const std::vector<SpectralPoint>& points,
                         const LineReport& lines) {
    PlotDescription p = named(4);
    p.xTitle = "longueur d'onde (Å)";
    p.yTitle = "S/N";
    p.curves.emplace_back("par pixel", along(points, &SpectralPoint::snr));
    p.curves.emplace_back("par élément", along(points, &SpectralPoint::snr_element));
    target(in, p);
    for (const LineOnSensor& l : lines.lines)
        if (markedOnPlots(*l.line)) p.lineMarks.push_back({l.line->lambda_a, 0, l.line->name});
    return p;
}

}  // namespace

std::array<PlotDescription, kPlotCount> describePlots(const DesignInput& in,
                                                      const DesignOutcome& outcome,
                                                      const LineReport& lines, PlotArea area) {
    const DesignResult& r = *outcome.result;
    std::array<PlotDescription, kPlotCount> set;
    set[0] =
        snrPlot(0, in, snrAgainstExposure(in), {r.pose_cible_s, in.cible_snr, "pose pour la cible"},
                {in.pose_s, r.snr, "pose donnée"});
    set[0].xTitle = "pose totale (s)";
    set[1] = snrPlot(1, in, snrAgainstMagnitude(in),
                     {r.magnitude_limite, in.cible_snr, "magnitude limite"},
                     {in.mag_etoile, r.snr, "étoile"});
    set[1].xTitle = "magnitude";
    set[2] = acrossSensor(in, outcome, lines);
    const std::vector<SpectralPoint> points = spectrum(in, outcome, kSpectrumPoints);
    set[3] = efficiencies(points);
    set[4] = snrAlong(in, points, lines);
    for (PlotDescription& p : set) {
        byImportance(p.labels);
        byImportance(p.lineMarks);
        placeNames(p, area);
    }
    return set;
}

// The marked point's name first, then the lines'.
void placeNames(PlotDescription& p, PlotArea area) {
    p.frame = plotFrame(p);
    std::vector<PlotMark> named;
    if (p.mark) named.push_back(*p.mark);
    named.insert(named.end(), p.labels.begin(), p.labels.end());
    placeLabels(named, p.frame, false, area);
    if (p.mark) p.mark = named.front();
    std::copy(named.end() - static_cast<std::ptrdiff_t>(p.labels.size()), named.end(),
              p.labels.begin());
    placeLabels(p.lineMarks, p.frame, true, area);
}

PlotTable plotTable(const PlotDescription& plot, std::string_view sep, std::size_t rows) {
    PlotTable t;
    if (plot.curves.empty() || plot.curves.front().second.empty()) return t;
    t.headers.push_back(plot.xTitle);
    for (const auto& [name, curve] : plot.curves)
        t.headers.push_back(plot.curves.size() == 1 ? plot.yTitle : name);
    const std::size_t n = plot.curves.front().second.size();
    // `rows` points evenly spread from the first to the last: the table
    // covers the whole range, whatever n.
    const std::size_t shown = std::min(n, std::max<std::size_t>(rows, 2));
    for (std::size_t k = 0; k < shown; ++k) {
        const std::size_t i = shown == 1 ? 0 : (k * (n - 1) + (shown - 1) / 2) / (shown - 1);
        std::vector<std::string> row{shownResult(plot.curves.front().second[i].first, sep)};
        for (const auto& [name, curve] : plot.curves)
            row.push_back(i < curve.size() && std::isfinite(curve[i].second)
                              ? shownResult(curve[i].second, sep)
                              : "—");
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace kelvora::design
