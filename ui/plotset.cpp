#include "ui/plotset.h"

#include <cmath>

#include "model/design/curves.h"
#include "model/design/lines.h"

namespace kelvora::ui {

namespace {

// The target line and its solved point, or the given exposure's point.
Plot snrPlot(const design::DesignInput& in, design::Curve curve, PlotMark withTarget,
             PlotMark without) {
    Plot p;
    p.curves.emplace_back(QStringLiteral("S/N"), std::move(curve));
    p.yTitle = QStringLiteral("S/N");
    const bool target = in.cible_snr > 0;
    if (target) {
        p.level = in.cible_snr;
        p.levelName = QStringLiteral("S/N cible");
    }
    PlotMark m = target ? std::move(withTarget) : std::move(without);
    if (std::isfinite(m.x) && std::isfinite(m.y)) p.mark = std::move(m);
    return p;
}

// Each efficiency and the total; the S/N per pixel and per element.
void alongWavelength(const design::DesignInput& in, const design::DesignOutcome& outcome,
                     Plot& efficiency, Plot& snr) {
    const std::vector<design::SpectralPoint> points = design::spectrum(in, outcome, 100);
    efficiency.title = QStringLiteral("Rendement selon la longueur d'onde");
    snr.title = QStringLiteral("S/N selon la longueur d'onde");
    for (Plot* p : {&efficiency, &snr}) p->xTitle = QStringLiteral("longueur d'onde (Å)");
    efficiency.yTitle = QStringLiteral("rendement");
    snr.yTitle = QStringLiteral("S/N");
    using Field = double design::SpectralPoint::*;
    const std::pair<const char*, Field> factors[] = {
        {"atmosphère", &design::SpectralPoint::atmosphere},
        {"télescope", &design::SpectralPoint::telescope},
        {"réseau", &design::SpectralPoint::reseau},
        {"QE", &design::SpectralPoint::qe},
        {"fente", &design::SpectralPoint::fente},
        {"total", &design::SpectralPoint::rendement},
    };
    auto curveOf = [&](Field f) {
        Plot::Curve c;
        for (const design::SpectralPoint& p : points) c.emplace_back(p.lambda_a, p.*f);
        return c;
    };
    for (const auto& [name, field] : factors)
        efficiency.curves.emplace_back(QString::fromUtf8(name), curveOf(field));
    efficiency.lastIsTotal = true;
    snr.curves.emplace_back(QStringLiteral("par pixel"), curveOf(&design::SpectralPoint::snr));
    snr.curves.emplace_back(QStringLiteral("par élément"),
                            curveOf(&design::SpectralPoint::snr_element));
    if (in.cible_snr > 0) {
        snr.level = in.cible_snr;
        snr.levelName = QStringLiteral("S/N cible");
    }
}

}  // namespace

PlotSet plotSet(const design::DesignInput& in, const design::DesignOutcome& outcome,
                const design::LineReport& lines) {
    const design::DesignResult& r = *outcome.result;
    PlotSet set;
    set[0] = snrPlot(in, design::snrAgainstExposure(in),
                     {r.pose_cible_s, in.cible_snr, QStringLiteral("pose pour la cible")},
                     {in.pose_s, r.snr, QStringLiteral("pose donnée")});
    set[0].title = QStringLiteral("S/N selon la pose totale");
    set[0].xTitle = QStringLiteral("pose totale (s)");
    set[1] = snrPlot(in, design::snrAgainstMagnitude(in),
                     {r.magnitude_limite, in.cible_snr, QStringLiteral("magnitude limite")},
                     {in.mag_etoile, r.snr, QStringLiteral("étoile")});
    set[1].title = QStringLiteral("S/N selon la magnitude de l'étoile");
    set[1].xTitle = QStringLiteral("magnitude");
    Plot& s = set[2];
    s.title = QStringLiteral("Spectre sur le capteur : %1 à %2 Å")
                  .arg(std::round(r.lambda_min_a))
                  .arg(std::round(r.lambda_max_a));
    s.xTitle = QStringLiteral("pixel");
    s.yTitle = QStringLiteral("λ (Å)");
    s.wholeX = true;
    s.curves.emplace_back(QStringLiteral("λ"), design::spectrumAcrossSensor(in, outcome));
    for (const design::LineOnSensor& l : lines.lines)
        if (design::markedOnPlots(*l.line))
            s.labels.push_back({l.pixel, l.line->lambda_a, QString::fromStdString(l.line->name)});
    alongWavelength(in, outcome, set[3], set[4]);
    return set;
}

}  // namespace kelvora::ui
