#include "model/design/plots.h"

#include <cmath>

#include "model/design/curves.h"
#include "model/design/shown.h"

namespace kelvora::design {

namespace {

constexpr int kSpectrumPoints = 100;

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
                                                      const LineReport& lines) {
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
    return set;
}

}  // namespace kelvora::design
