#include "ui/designplots.h"

#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "model/design/curves.h"

namespace kelvora::ui {

namespace {

QLineSeries* lineOf(const design::Curve& curve, const QString& name) {
    auto* s = new QLineSeries;
    s->setName(name);
    for (const auto& [x, y] : curve)
        if (std::isfinite(y)) s->append(x, y);
    return s;
}

QScatterSeries* markAt(double x, double y, const QString& name) {
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setMarkerSize(10);
    if (std::isfinite(x) && std::isfinite(y)) s->append(x, y);
    return s;
}

// Replaces the chart's series and axes.
void fill(QChart* chart, const QString& title, const QString& xTitle, const QString& yTitle,
          std::initializer_list<QAbstractSeries*> series) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    chart->setTitle(title);
    for (QAbstractSeries* s : series) chart->addSeries(s);
    chart->createDefaultAxes();
    if (!chart->axes(Qt::Horizontal).isEmpty())
        chart->axes(Qt::Horizontal).first()->setTitleText(xTitle);
    if (!chart->axes(Qt::Vertical).isEmpty())
        chart->axes(Qt::Vertical).first()->setTitleText(yTitle);
}

QLineSeries* level(double y, double x0, double x1, const QString& name) {
    return lineOf({{x0, y}, {x1, y}}, name);
}

}  // namespace

DesignPlots::DesignPlots(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(page(0, QStringLiteral("snr_pose")));
    row->addWidget(page(1, QStringLiteral("snr_magnitude")));
    row->addWidget(page(2, QStringLiteral("spectre")));
    setMinimumHeight(300);
}

QWidget* DesignPlots::page(int index, const QString& name) {
    auto* page = new QWidget(this);
    auto* view = new QChartView(new QChart, page);
    view->setObjectName(name);
    const QString spoken[] = {QStringLiteral("S/N selon la pose totale"),
                              QStringLiteral("S/N selon la magnitude de l'étoile"),
                              QStringLiteral("Spectre sur le capteur")};
    view->setAccessibleName(spoken[index]);
    view->setRenderHint(QPainter::Antialiasing);
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    views_[index] = view;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const char* format : {"PNG", "SVG"}) {
        auto* b = new QPushButton(QLatin1String(format) + QStringLiteral("…"), page);
        b->setToolTip(QStringLiteral("Exporter le graphique en %1").arg(QLatin1String(format)));
        b->setAccessibleName(b->toolTip());
        b->setObjectName(name + QStringLiteral("_") + QString::fromLatin1(format).toLower());
        const QString suffix = QString::fromLatin1(format).toLower();
        connect(b, &QPushButton::clicked, this, [this, view, suffix] {
            const QString p = QFileDialog::getSaveFileName(
                this, QStringLiteral("Exporter le graphique"), view->objectName() + "." + suffix,
                suffix.toUpper() + QStringLiteral(" (*.") + suffix + ")");
            if (!p.isEmpty()) exportTo(view, p);
        });
        buttons->addWidget(b);
    }
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(view, 1);
    column->addLayout(buttons);
    return page;
}

void DesignPlots::update(const design::DesignInput& in, const design::DesignResult* r) {
    if (!r) {
        for (QChartView* v : views_)
            fill(v->chart(), QStringLiteral("Instrument impossible"), {}, {}, {});
        return;
    }
    const design::Curve exposure = design::snrAgainstExposure(in);
    const double tMax = exposure.empty() ? in.pose_s : exposure.back().first;
    const bool target = in.cible_snr > 0;
    fill(views_[0]->chart(), QStringLiteral("S/N selon la pose totale"), QStringLiteral("pose (s)"),
         QStringLiteral("S/N"),
         {lineOf(exposure, QStringLiteral("S/N")),
          target ? level(in.cible_snr, 0, tMax, QStringLiteral("S/N cible")) : new QLineSeries,
          markAt(target ? r->pose_cible_s : in.pose_s, target ? in.cible_snr : r->snr,
                 target ? QStringLiteral("pose pour la cible") : QStringLiteral("pose donnée"))});
    const design::Curve magnitude = design::snrAgainstMagnitude(in);
    fill(views_[1]->chart(), QStringLiteral("S/N selon la magnitude de l'étoile"),
         QStringLiteral("magnitude"), QStringLiteral("S/N"),
         {lineOf(magnitude, QStringLiteral("S/N")),
          target && !magnitude.empty() ? level(in.cible_snr, magnitude.front().first,
                                               magnitude.back().first, QStringLiteral("S/N cible"))
                                       : new QLineSeries,
          markAt(target ? r->magnitude_limite : in.mag_etoile, target ? in.cible_snr : r->snr,
                 target ? QStringLiteral("magnitude limite") : QStringLiteral("étoile"))});
    fill(views_[2]->chart(),
         QStringLiteral("Spectre sur le capteur : %1 à %2 Å")
             .arg(std::round(r->lambda_min_a))
             .arg(std::round(r->lambda_max_a)),
         QStringLiteral("pixel"), QStringLiteral("longueur d'onde (Å)"),
         {lineOf(design::spectrumAcrossSensor(in), QStringLiteral("λ"))});
}

bool DesignPlots::exportTo(QChartView* view, const QString& path) {
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(view->size());
        svg.setViewBox(QRect(QPoint(), view->size()));
        svg.setTitle(view->chart()->title());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        view->render(&painter);
        return painter.end();
    }
    return view->grab().save(path, "PNG");
}

}  // namespace kelvora::ui
