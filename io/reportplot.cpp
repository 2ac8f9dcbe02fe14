#include "io/reportplot.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <cmath>

#include "model/design/shown.h"

namespace kelvora::io {

namespace {

const QColor kColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c),
                           QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd),
                           QColor(0xd6, 0x27, 0x28), QColor(0x8c, 0x56, 0x4b)};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

struct Axes {
    design::PlotFrame frame;
    QRectF area;
    QPointF at(double x, double y) const {
        const double fx = (x - frame.xLow) / (frame.xHigh - frame.xLow);
        const double fy = (y - frame.yLow) / (frame.yHigh - frame.yLow);
        return {area.left() + fx * area.width(), area.bottom() - fy * area.height()};
    }
};

void paintTicks(QPainter& p, const Axes& a, const std::string& sep, double unit) {
    p.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 0.3 * unit));
    const double sx = design::roundTickStep(a.frame.xLow, a.frame.xHigh);
    for (double x = std::ceil(a.frame.xLow / sx) * sx; x <= a.frame.xHigh; x += sx) {
        const QPointF top = a.at(x, a.frame.yHigh), bottom = a.at(x, a.frame.yLow);
        p.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), 0.3 * unit));
        p.drawLine(top, bottom);
        p.setPen(Qt::black);
        p.drawText(QRectF(bottom.x() - 20 * unit, bottom.y() + unit, 40 * unit, 8 * unit),
                   Qt::AlignHCenter | Qt::AlignTop, qs(design::shownNumber(x, 6, sep)));
    }
    const double sy = design::roundTickStep(a.frame.yLow, a.frame.yHigh);
    for (double y = std::ceil(a.frame.yLow / sy) * sy; y <= a.frame.yHigh; y += sy) {
        const QPointF left = a.at(a.frame.xLow, y), right = a.at(a.frame.xHigh, y);
        p.setPen(QPen(QColor(0xd8, 0xd8, 0xd8), 0.3 * unit));
        p.drawLine(left, right);
        p.setPen(Qt::black);
        p.drawText(QRectF(left.x() - 31 * unit, left.y() - 4 * unit, 29 * unit, 8 * unit),
                   Qt::AlignRight | Qt::AlignVCenter, qs(design::shownNumber(y, 6, sep)));
    }
}

void paintCurves(QPainter& p, const Axes& a, const design::PlotDescription& plot, double unit) {
    for (std::size_t i = 0; i < plot.curves.size(); ++i) {
        const bool total = plot.lastIsTotal && i + 1 == plot.curves.size();
        p.setPen(QPen(total ? QColor(Qt::black) : kColours[i % std::size(kColours)],
                      (total ? 1.4 : 0.9) * unit));
        QPainterPath path;
        bool drawing = false;
        for (const auto& [x, y] : plot.curves[i].second) {
            if (!std::isfinite(y)) {
                drawing = false;
                continue;
            }
            drawing ? path.lineTo(a.at(x, y)) : path.moveTo(a.at(x, y));
            drawing = true;
        }
        p.drawPath(path);
    }
    if (plot.level) {
        p.setPen(QPen(QColor(0xb0, 0, 0), 0.7 * unit, Qt::DashLine));
        p.drawLine(a.at(a.frame.xLow, *plot.level), a.at(a.frame.xHigh, *plot.level));
    }
}

void paintName(QPainter& p, const Axes& a, const design::PlotMark& m, double unit) {
    if (!m.labelShown) return;
    const QPointF bottom = a.at(m.labelX, m.labelY);
    p.drawText(QRectF(bottom.x() - 40 * unit, bottom.y() - 7 * unit, 80 * unit, 7 * unit),
               Qt::AlignHCenter | Qt::AlignBottom, qs(m.name));
}

void paintMarks(QPainter& p, const Axes& a, const design::PlotDescription& plot, double unit) {
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.4 * unit));
    for (const design::PlotMark& m : plot.lineMarks)
        p.drawLine(a.at(m.x, a.frame.yLow), a.at(m.x, a.frame.yHigh));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    std::vector<design::PlotMark> points = plot.labels;
    if (plot.mark) points.push_back(*plot.mark);
    for (const design::PlotMark& m : points) p.drawEllipse(a.at(m.x, m.y), 1.2 * unit, 1.2 * unit);
    p.setPen(QColor(0x30, 0x30, 0x30));
    for (const design::PlotMark& m : points) paintName(p, a, m, unit);
    for (const design::PlotMark& m : plot.lineMarks) paintName(p, a, m, unit);
}

// The curves' names in a row under the title, each in its colour.
void paintLegend(QPainter& p, QPointF at, const design::PlotDescription& plot, double unit) {
    if (plot.curves.size() < 2) return p.drawText(at, qs(plot.yTitle));
    for (std::size_t i = 0; i < plot.curves.size(); ++i) {
        const bool total = plot.lastIsTotal && i + 1 == plot.curves.size();
        p.setPen(total ? QColor(Qt::black) : kColours[i % std::size(kColours)]);
        const QString name = qs(plot.curves[i].first);
        p.drawText(at, name);
        at.rx() += p.fontMetrics().horizontalAdvance(name) + 4 * unit;
    }
}

}  // namespace

void paintPlot(QPainter& p, const QRectF& box, const design::PlotDescription& plot,
               const std::string& sep, double unit) {
    p.save();
    QFont font = p.font();
    font.setPointSizeF(6);
    p.setFont(font);
    p.setPen(Qt::black);
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRectF(box.left(), box.top(), box.width(), 8 * unit), Qt::AlignLeft, qs(plot.title));
    p.setFont(font);
    paintLegend(p, {box.left(), box.top() + 14 * unit}, plot, unit);
    const Axes a{design::plotFrame(plot),
                 QRectF(box.left() + 34 * unit, box.top() + 18 * unit, box.width() - 38 * unit,
                        box.height() - 36 * unit)};
    paintTicks(p, a, sep, unit);
    p.setPen(QPen(Qt::black, 0.5 * unit));
    p.setBrush(Qt::NoBrush);
    p.drawRect(a.area);
    paintCurves(p, a, plot, unit);
    paintMarks(p, a, plot, unit);
    p.setPen(Qt::black);
    p.drawText(QRectF(a.area.left(), a.area.bottom() + 9 * unit, a.area.width(), 8 * unit),
               Qt::AlignHCenter, qs(plot.xTitle));
    p.restore();
}

}  // namespace kelvora::io
