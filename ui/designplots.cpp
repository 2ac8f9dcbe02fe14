#include "ui/designplots.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "model/design/curves.h"
#include "ui/paths.h"

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

QLineSeries* level(double y, double x0, double x1, const QString& name) {
    return lineOf({{x0, y}, {x1, y}}, name);
}

// A family that exists on the machine, so that an SVG names a real font.
QFont chartFont(int pointSizeDelta = 0) {
    QFont f = QApplication::font();
    f.setFamily(QFontInfo(f).family());
    if (pointSizeDelta) f.setPointSize(std::max(6, f.pointSize() + pointSizeDelta));
    return f;
}

// Round ticks, labels in the user's number format; pixels are whole.
void styleAxis(QAbstractAxis* axis, const QString& title, bool whole) {
    axis->setTitleText(title);
    axis->setTitleFont(chartFont(-1));
    axis->setLabelsFont(chartFont(-1));
    if (auto* v = qobject_cast<QValueAxis*>(axis)) {
        v->applyNiceNumbers();
        v->setLabelFormat(whole ? QStringLiteral("%.0f") : QStringLiteral("%.6g"));
    }
}

struct Axes {
    QString x, y;
    bool wholeX = false;
};

// Replaces the chart's series and axes; series without a name stay out of the legend.
void fill(QChart* chart, const QString& title, const Axes& axes,
          std::initializer_list<QAbstractSeries*> series) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    chart->setTitle(title);
    for (QAbstractSeries* s : series) {
        if (!s) continue;
        chart->addSeries(s);
        for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(!s->name().isEmpty());
    }
    chart->createDefaultAxes();
    if (!chart->axes(Qt::Horizontal).isEmpty())
        styleAxis(chart->axes(Qt::Horizontal).first(), axes.x, axes.wholeX);
    if (!chart->axes(Qt::Vertical).isEmpty())
        styleAxis(chart->axes(Qt::Vertical).first(), axes.y, false);
}

}  // namespace

// One plot at a time, as wide as the inputs: nothing is cut.
DesignPlots::DesignPlots(QWidget* parent) : QWidget(parent) {
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("graphiques"));
    tabs->addTab(page(0, QStringLiteral("snr_pose")), QStringLiteral("S/N et &pose"));
    tabs->addTab(page(1, QStringLiteral("snr_magnitude")), QStringLiteral("S/N et &magnitude"));
    tabs->addTab(page(2, QStringLiteral("spectre")), QStringLiteral("&Spectre"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(tabs);
    setMinimumHeight(280);
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
    QChart* chart = view->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(chartFont(-1));
    chart->setTitleFont(chartFont());
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(4, 4, 4, 4));
    views_[index] = view;
    // In place of the plot while the instrument is impossible.
    auto* note = new QLabel(page);
    note->setObjectName(name + QStringLiteral("_erreur"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
    auto* stack = new QStackedWidget(page);
    stack->addWidget(view);
    stack->addWidget(note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const char* format : {"PNG", "SVG"}) {
        auto* b = new QPushButton(QLatin1String(format) + QStringLiteral("…"), page);
        b->setToolTip(QStringLiteral("Exporter le graphique en %1").arg(QLatin1String(format)));
        b->setAccessibleName(b->toolTip());
        const QString suffix = QString::fromLatin1(format).toLower();
        b->setObjectName(name + QStringLiteral("_") + suffix);
        connect(b, &QPushButton::clicked, this, [this, view, suffix] {
            const QString p = QFileDialog::getSaveFileName(
                this, QStringLiteral("Exporter le graphique"), view->objectName() + "." + suffix,
                suffix.toUpper() + QStringLiteral(" (*.") + suffix + ")");
            if (!p.isEmpty()) exportTo(view, withSuffix(p, suffix));
        });
        buttons->addWidget(b);
        exportButtons_ << b;
    }
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(stack, 1);
    column->addLayout(buttons);
    return page;
}

void DesignPlots::setExportEnabled(bool enabled) {
    for (QWidget* b : exportButtons_) b->setEnabled(enabled);
}

void DesignPlots::showError(const QString& error) {
    for (QChartView* v : views_) {
        auto* stack = static_cast<QStackedWidget*>(v->parentWidget());
        auto* note = static_cast<QLabel*>(stack->widget(1));
        note->setText(QStringLiteral("Instrument impossible\n\n") + error);
        stack->setCurrentIndex(1);
    }
    setExportEnabled(false);
}

void DesignPlots::update(const design::DesignInput& in, const design::DesignResult& r) {
    for (QChartView* v : views_) static_cast<QStackedWidget*>(v->parentWidget())->setCurrentIndex(0);
    setExportEnabled(true);
    const design::Curve exposure = design::snrAgainstExposure(in);
    const double tMax = exposure.empty() ? in.pose_s : exposure.back().first;
    const bool target = in.cible_snr > 0;
    fill(views_[0]->chart(), QStringLiteral("S/N selon la pose totale"),
         {QStringLiteral("pose totale (s)"), QStringLiteral("S/N")},
         {lineOf(exposure, QStringLiteral("S/N")),
          target ? level(in.cible_snr, 0, tMax, QStringLiteral("S/N cible")) : nullptr,
          markAt(target ? r.pose_cible_s : in.pose_s, target ? in.cible_snr : r.snr,
                 target ? QStringLiteral("pose pour la cible") : QStringLiteral("pose donnée"))});
    const design::Curve magnitude = design::snrAgainstMagnitude(in);
    fill(views_[1]->chart(), QStringLiteral("S/N selon la magnitude de l'étoile"),
         {QStringLiteral("magnitude"), QStringLiteral("S/N")},
         {lineOf(magnitude, QStringLiteral("S/N")),
          target && !magnitude.empty() ? level(in.cible_snr, magnitude.front().first,
                                               magnitude.back().first, QStringLiteral("S/N cible"))
                                       : nullptr,
          markAt(target ? r.magnitude_limite : in.mag_etoile, target ? in.cible_snr : r.snr,
                 target ? QStringLiteral("magnitude limite") : QStringLiteral("étoile"))});
    fill(views_[2]->chart(),
         QStringLiteral("Spectre sur le capteur : %1 à %2 Å")
             .arg(std::round(r.lambda_min_a))
             .arg(std::round(r.lambda_max_a)),
         {QStringLiteral("pixel"), QStringLiteral("longueur d'onde (Å)"), true},
         {lineOf(design::spectrumAcrossSensor(in), QStringLiteral("λ"))});
}

// Rendered from the scene, not grabbed: lines and text stay sharp at any size.
bool DesignPlots::exportTo(QChartView* view, const QString& path) {
    const QSize shown = view->size();
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(shown);
        svg.setViewBox(QRect(QPoint(), shown));
        svg.setTitle(view->chart()->title());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        view->render(&painter);
        return painter.end();
    }
    const int height = kPngWidth * std::max(1, shown.height()) / std::max(1, shown.width());
    QImage image(kPngWidth, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view->render(&painter, QRectF(image.rect()), QRect(QPoint(), shown));
    painter.end();
    return image.save(path, "PNG");
}

}  // namespace kelvora::ui
