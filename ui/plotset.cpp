#include "ui/plotset.h"

#include <cmath>

#include "model/design/curves.h"

namespace kelvora::ui {

namespace {

// The target line and its solved point, or the given exposure's point.
Plot snrPlot(const design::DesignInput& in, design::Curve curve, PlotMark withTarget,
             PlotMark without) {
    Plot p;
    p.curve = std::move(curve);
    p.curveName = QStringLiteral("S/N");
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

}  // namespace

PlotSet plotSet(const design::DesignInput& in, const design::DesignResult& r) {
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
    s.yTitle = QStringLiteral("longueur d'onde (Å)");
    s.wholeX = true;
    s.curve = design::spectrumAcrossSensor(in);
    s.curveName = QStringLiteral("λ");
    return set;
}

}  // namespace kelvora::ui
