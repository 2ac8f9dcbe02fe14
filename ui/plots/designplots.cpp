#include "ui/plots/designplots.h"

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
#include <QPen>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "ui/paths.h"

namespace kelvora::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QLineSeries* lineOf(const design::Curve& curve, const QString& name) {
    auto* s = new QLineSeries;
    s->setName(name);
    for (const auto& [x, y] : curve)
        if (std::isfinite(y)) s->append(x, y);
    return s;
}

QScatterSeries* markAt(const PlotMark& m) {
    auto* s = new QScatterSeries;
    s->setName(qs(m.name));
    s->setMarkerSize(10);
    s->append(m.x, m.y);
    return s;
}

// A family that exists on the machine, so that an SVG names a real font.
QFont chartFont(int pointSizeDelta = 0) {
    QFont f = QApplication::font();
    f.setFamily(QFontInfo(f).family());
    if (pointSizeDelta) f.setPointSize(std::max(6, f.pointSize() + pointSizeDelta));
    return f;
}

// The model's frame exactly (the names are placed in it), with round ticks;
// labels in the user's number format; pixels are whole.
void styleAxis(QAbstractAxis* axis, const QString& title, bool whole, double low, double high) {
    axis->setTitleText(title);
    axis->setTitleFont(chartFont(-1));
    axis->setLabelsFont(chartFont(-1));
    if (auto* v = qobject_cast<QValueAxis*>(axis)) {
        if (high > low) {
            v->setRange(low, high);
            const double step = design::roundTickStep(low, high);
            v->setTickType(QValueAxis::TicksDynamic);
            v->setTickAnchor(std::ceil(low / step) * step);
            v->setTickInterval(step);
        }
        v->setLabelFormat(whole ? QStringLiteral("%.0f") : QStringLiteral("%.6g"));
    }
}

// A grey vertical line for each line mark, from the lowest to the highest
// value the curves reach.
void addVerticals(const Plot& plot, std::vector<QAbstractSeries*>& series) {
    double low = INFINITY, high = -INFINITY;
    for (const auto& [name, curve] : plot.curves)
        for (const auto& [x, y] : curve)
            if (std::isfinite(y)) low = std::min(low, y), high = std::max(high, y);
    if (!(low <= high)) return;
    for (const PlotMark& m : plot.lineMarks) {
        QLineSeries* line = lineOf({{m.x, low}, {m.x, high}}, QString());
        line->setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
        series.push_back(line);
    }
}

QScatterSeries* unnamedPoint(double x, double y, qreal size, const QColor& colour) {
    auto* point = new QScatterSeries;
    point->setMarkerSize(size);
    point->setColor(colour);
    point->setBorderColor(colour);
    point->append(x, y);
    return point;
}

// Each named point's dot, and each name where the model placed it (none
// where it found no room), outside the legend.
void addNames(const Plot& plot, std::vector<QAbstractSeries*>& series) {
    for (const PlotMark& m : plot.labels)
        series.push_back(unnamedPoint(m.x, m.y, 6, QColor(0x60, 0x60, 0x60)));
    std::vector<PlotMark> named = plot.labels;
    named.insert(named.end(), plot.lineMarks.begin(), plot.lineMarks.end());
    for (const PlotMark& m : named) {
        if (!m.labelShown) continue;
        QScatterSeries* text = unnamedPoint(m.labelX, m.labelY, 1, Qt::transparent);
        text->setPointLabelsFormat(qs(m.name));
        text->setPointLabelsVisible(true);
        text->setPointLabelsClipping(false);
        text->setPointLabelsColor(QColor(0x40, 0x40, 0x40));
        text->setPointLabelsFont(chartFont(-2));
        series.push_back(text);
    }
}

// Replaces the chart's series and axes; series without a name stay out of the legend.
void draw(QChart* chart, const Plot& plot) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    chart->setTitle(qs(plot.title));
    // Colours that stay apart for up to six curves (no default colour repeats).
    static const QColor palette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c),
                                     QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd),
                                     QColor(0xd6, 0x27, 0x28), QColor(0x8c, 0x56, 0x4b)};
    std::vector<QAbstractSeries*> series;
    for (std::size_t i = 0; i < plot.curves.size(); ++i) {
        QLineSeries* line = lineOf(plot.curves[i].second, qs(plot.curves[i].first));
        const bool total = plot.lastIsTotal && i + 1 == plot.curves.size();
        line->setPen(
            QPen(total ? QColor(Qt::black) : palette[i % std::size(palette)], total ? 3 : 2));
        series.push_back(line);
    }
    const design::Curve& first = plot.curves.empty() ? design::Curve{} : plot.curves.front().second;
    if (plot.level && !first.empty())
        series.push_back(
            lineOf({{first.front().first, *plot.level}, {first.back().first, *plot.level}},
                   qs(plot.levelName)));
    if (plot.mark) series.push_back(markAt(*plot.mark));
    addVerticals(plot, series);
    addNames(plot, series);
    for (QAbstractSeries* s : series) {
        chart->addSeries(s);
        for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(!s->name().isEmpty());
    }
    chart->createDefaultAxes();
    if (!chart->axes(Qt::Horizontal).isEmpty())
        styleAxis(chart->axes(Qt::Horizontal).first(), qs(plot.xTitle), plot.wholeX,
                  plot.frame.xLow, plot.frame.xHigh);
    if (!chart->axes(Qt::Vertical).isEmpty())
        styleAxis(chart->axes(Qt::Vertical).first(), qs(plot.yTitle), false, plot.frame.yLow,
                  plot.frame.yHigh);
}

}  // namespace

// A picture the model drew in SVG, kept to its proportions at any size.
class SvgPicture : public QWidget {
  public:
    explicit SvgPicture(QWidget* parent) : QWidget(parent), renderer_(this) {
        setMinimumHeight(160);
    }
    void setSvg(const std::string& svg, const std::string& title) {
        renderer_.load(QByteArray::fromStdString(svg));
        setAccessibleName(qs(title));
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!renderer_.isValid()) return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QSizeF size = renderer_.defaultSize();
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
        renderer_.render(&p, QRectF(QPointF((width() - size.width()) / 2, 0), size));
    }

  private:
    QSvgRenderer renderer_;
};

// One plot at a time, as wide as the inputs: nothing is cut.
DesignPlots::DesignPlots(QWidget* parent) : QWidget(parent) {
    auto* tabs = tabs_ = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("graphiques"));
    // The tabs' short captions, with their mnemonics, in the model's order.
    const QString captions[] = {QStringLiteral("S/N et &pose"), QStringLiteral("S/N et &magnitude"),
                                QStringLiteral("&Spectre"), QStringLiteral("&Rendement"),
                                QStringLiteral("S/N et &λ")};
    for (std::size_t i = 0; i < kPlotCount; ++i)
        tabs->addTab(page(static_cast<int>(i), QString::fromLatin1(design::kPlotNames[i].id)),
                     captions[i]);
    notes_ = new QTextBrowser(tabs);
    notes_->setObjectName(QStringLiteral("raies"));
    notes_->setAccessibleName(QStringLiteral("Raies sur le capteur"));
    tabs->addTab(notes_, QStringLiteral("R&aies"));
    sunTab_ = sunPage();
    sunIndex_ = tabs->addTab(sunTab_, QStringLiteral("S&oleil"));
    tabs->setTabVisible(sunIndex_, false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(tabs);
    setMinimumHeight(280);
}

QWidget* DesignPlots::page(int index, const QString& name) {
    auto* page = new QWidget(this);
    auto* view = new QChartView(new QChart, page);
    view->setObjectName(name);
    view->setAccessibleName(QString::fromUtf8(design::kPlotNames[index].name));
    view->setRenderHint(QPainter::Antialiasing);
    QChart* chart = view->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(chartFont(-1));
    chart->setTitleFont(chartFont());
    chart->setLocalizeNumbers(true);
    QLocale numbers = QLocale::system();  // 6800, not 6,800: a wavelength, not a sum
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(numbers);
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

// The disc to scale beside the line and its bandpass.
QWidget* DesignPlots::sunPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("soleil"));
    sunDrawing_ = new SvgPicture(page);
    sunDrawing_->setObjectName(QStringLiteral("soleil_dessin"));
    sunLine_ = new QChartView(new QChart, page);
    sunLine_->setObjectName(QStringLiteral("soleil_raie"));
    sunLine_->setAccessibleName(QStringLiteral("Spectre solaire autour de la raie"));
    sunLine_->setRenderHint(QPainter::Antialiasing);
    sunLine_->chart()->legend()->setAlignment(Qt::AlignBottom);
    sunLine_->chart()->legend()->setFont(chartFont(-1));
    sunLine_->chart()->setTitleFont(chartFont());
    sunLine_->chart()->setMargins(QMargins(4, 4, 4, 4));
    // Side by side: the plots' tab is wide and short.
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(sunDrawing_, 1);
    row->addWidget(sunLine_, 1);
    return page;
}

void DesignPlots::showSun(const design::SunFigures* sun) {
    const bool shown = sun != nullptr;
    // The star's S/N plots mean nothing for the Sun: its pictures take their place.
    for (const int star : {0, 1, 4}) tabs_->setTabVisible(star, !shown);
    tabs_->setTabVisible(sunIndex_, shown);
    if (!shown) return;
    sunDrawing_->setSvg(sun->drawing, sun->drawingTitle);
    draw(sunLine_->chart(), sun->line);
    if (!tabs_->isTabVisible(tabs_->currentIndex())) tabs_->setCurrentIndex(sunIndex_);
}

void DesignPlots::setExportEnabled(bool enabled) {
    for (QWidget* b : exportButtons_) b->setEnabled(enabled);
}

void DesignPlots::showNotes(const QString& html) {
    notes_->setHtml(html);
}

// The shown plot's area; before the first layout, the default.
design::PlotArea DesignPlots::plotArea() const {
    for (QChartView* v : views_) {
        const QRectF area = v->chart()->plotArea();
        if (v->isVisible() && area.width() > 50 && area.height() > 50)
            return {area.width(), area.height()};
    }
    return {};
}

void DesignPlots::showError(const QString& error) {
    for (QChartView* v : views_) {
        auto* stack = static_cast<QStackedWidget*>(v->parentWidget());
        auto* note = static_cast<QLabel*>(stack->widget(1));
        note->setText(QStringLiteral("Pas de graphique :\n\n") + error);
        stack->setCurrentIndex(1);
    }
    notes_->setPlainText(QStringLiteral("Pas de raies :\n\n") + error);
    setExportEnabled(false);
}

void DesignPlots::show(const PlotSet& plots) {
    for (std::size_t i = 0; i < kPlotCount; ++i) {
        static_cast<QStackedWidget*>(views_[i]->parentWidget())->setCurrentIndex(0);
        draw(views_[i]->chart(), plots[i]);
    }
    setExportEnabled(true);
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

QWidget* createDesignPlots(QWidget* parent, PlotsView** view) {
    auto* plots = new DesignPlots(parent);
    *view = plots;
    return plots;
}

}  // namespace kelvora::ui
