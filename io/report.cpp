#include "io/report.h"

#include <QDate>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QSvgRenderer>
#include <array>

#include "io/reportplot.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/measured.h"
#include "model/design/plots.h"
#include "model/design/shown.h"
#include "model/design/sunfigures.h"

namespace kelvora::io {

namespace {

using Entry = std::pair<std::string, std::string>;  // label, value

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<Entry> inputEntries(const ReportSource& s) {
    std::vector<Entry> out;
    // The Sun's inputs for the Sun, the star's and the night's for a star.
    for (const design::KeyRow& row : design::keyRows())
        if (design::appliesTo(row, s.input.geometrie) && design::shownFor(row, s.input.soleil))
            out.emplace_back(design::fullLabel(row),
                             design::shownKey(s.input, row.key, s.separator));
    return out;
}

std::string resultLabel(std::string_view key) {
    for (const auto& rows : {design::resultRows(), design::verdictRows()})
        for (const design::ResultRow& r : rows)
            if (key == r.key) return design::withoutMnemonic(r.label);
    return std::string(key);
}

std::vector<Entry> resultEntries(const design::DesignResult& r, const ReportSource& s) {
    std::vector<Entry> out;
    for (const design::NamedResult& n : design::namedResults(r, s.input.cible_snr > 0))
        if (design::resultShownFor(n.name, r.soleil))
            out.emplace_back(resultLabel(n.name), design::shownCell(n.cell, s.separator));
    return out;
}

void setSize(QPainter& p, double points, bool bold = false) {
    QFont f = p.font();
    f.setPointSizeF(points);
    f.setBold(bold);
    p.setFont(f);
}

// Entries in `columns` columns from `top`; returns where the block ends.
double paintEntries(QPainter& p, const QRectF& page, double top, const char* heading,
                    const std::vector<Entry>& entries, double unit) {
    setSize(p, 8, true);
    p.drawText(QPointF(page.left(), top + 8 * unit), QString::fromUtf8(heading));
    top += 12 * unit;
    setSize(p, 6.3);
    constexpr int kColumns = 3;
    const double width = page.width() / kColumns, row = 8.2 * unit;
    const std::size_t perColumn = (entries.size() + kColumns - 1) / kColumns;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = page.left() + static_cast<double>(i / perColumn) * width;
        const double y = top + static_cast<double>(i % perColumn) * row;
        const QRectF cell(x, y, width - 6 * unit, row);
        p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, qs(entries[i].first));
        p.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, qs(entries[i].second));
        p.setPen(QPen(QColor(0xcc, 0xcc, 0xcc), 0.3 * unit, Qt::DotLine));
        p.drawLine(cell.bottomLeft(), cell.bottomRight());
        p.setPen(Qt::black);
    }
    return top + static_cast<double>(perColumn) * row + 6 * unit;
}

void paintLines(QPainter& p, const QRectF& box, const design::LineReport& lines,
                const std::string& sep, double unit) {
    setSize(p, 6, true);
    p.drawText(QRectF(box.left(), box.top(), box.width(), 8 * unit), Qt::AlignLeft,
               QStringLiteral("Paires de raies"));
    setSize(p, 5.8);
    double y = box.top() + 11 * unit;
    const double row = 7.4 * unit;
    for (const design::PairVerdict& v : lines.pairs) {
        if (y + row > box.bottom()) break;
        const QRectF cell(box.left(), y, box.width(), row);
        p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, qs(v.pair->name));
        p.drawText(cell.adjusted(0, 0, -40 * unit, 0), Qt::AlignRight | Qt::AlignVCenter,
                   qs(design::shownResult(v.separation_a, sep) + " Å"));
        p.drawText(cell, Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromUtf8(design::verdictText(v)));
        y += row;
    }
    for (const design::LampCount& l : lines.lamps) {
        if (y + row > box.bottom()) break;
        p.drawText(QRectF(box.left(), y, box.width(), row), Qt::AlignLeft | Qt::AlignVCenter,
                   qs(l.kind + " : " + std::to_string(l.lines) + " raies sur le capteur"));
        y += row;
    }
}

// The calibrations the predictions rest on: the note, then one line each.
double paintCalibrations(QPainter& p, const QRectF& page, double top, const ReportSource& s,
                         double unit) {
    setSize(p, 8, true);
    p.drawText(QPointF(page.left(), top + 8 * unit), QStringLiteral("Étalonnages"));
    top += 11 * unit;
    setSize(p, 6.3);
    QString text = qs(design::calibrationNote(s.input, s.separator));
    for (const design::MeasuredRatio& m : s.input.etalonnages)
        text += QStringLiteral("\n• ") + qs(design::calibrationLine(m, s.separator));
    const QRectF box(page.left(), top, page.width(), 60 * unit);
    const QRectF used = p.boundingRect(box, Qt::TextWordWrap, text);
    p.drawText(box, Qt::TextWordWrap, text);
    return top + std::min(used.height(), box.height()) + 6 * unit;
}

void paintHeader(QPainter& p, const QRectF& page, const ReportSource& s, double unit) {
    setSize(p, 13, true);
    const std::string name = s.title.empty() ? "Conception sans nom" : s.title;
    p.drawText(QRectF(page.left(), page.top(), page.width(), 18 * unit),
               Qt::AlignLeft | Qt::AlignVCenter, qs("Kelvora — " + name));
    setSize(p, 8);
    p.drawText(QRectF(page.left(), page.top(), page.width(), 18 * unit),
               Qt::AlignRight | Qt::AlignVCenter, qs(s.date));
}

// A picture the model drew in SVG, to its proportions, at the box's top.
void paintSvg(QPainter& p, const QRectF& box, const std::string& svg) {
    QSvgRenderer picture(QByteArray::fromStdString(svg));
    QSizeF size = picture.defaultSize();
    size.scale(box.size(), Qt::KeepAspectRatio);
    picture.render(&p, QRectF(box.topLeft(), size));
}

}  // namespace

std::string todayInFrench() {
    return QLocale(QLocale::French)
        .toString(QDate::currentDate(), QStringLiteral("d MMMM yyyy"))
        .toStdString();
}

void paintReport(QPainter& p, const QRectF& page, const ReportSource& s) {
    const double unit = p.device()->logicalDpiY() / 72.0;
    p.save();
    p.setPen(Qt::black);
    paintHeader(p, page, s, unit);
    double top = page.top() + 24 * unit;
    top = paintEntries(p, page, top, "Entrées", inputEntries(s), unit);
    const design::DesignOutcome o = design::evaluate(s.input);
    if (!o.result) {
        setSize(p, 9, true);
        p.setPen(QColor(0xb0, 0, 0));
        p.drawText(QRectF(page.left(), top, page.width(), 40 * unit), Qt::TextWordWrap,
                   qs("Conception impossible : " + design::describe(*o.error, s.separator)));
        return p.restore();
    }
    top = paintEntries(p, page, top, "Résultats", resultEntries(*o.result, s), unit);
    const bool calibrated = !s.input.etalonnages.empty();
    const design::PlotDescription history = design::calibrationHistory(s.input.etalonnages);
    const bool drift = history.curves[0].second.size() > 1;
    if (calibrated) top = paintCalibrations(p, page, top, s, unit);
    const design::LineReport lines = design::linesOnSensor(s.input, o, s.lines);
    const auto all = design::describePlots(s.input, o, lines);
    const auto sun = design::describeSun(s.input, o, s.separator);
    const auto plots = design::shownPlots(all, sun);
    // The Sun's drawing comes first; the ratio against the date, from two
    // nights, follows the lines' box.
    const std::size_t first = sun ? 1 : 0, cells = first + plots.size() + (drift ? 2 : 1);
    const double w = page.width() / 2, h = (page.bottom() - top) / ((cells + 1) / 2);
    for (std::size_t i = 0; i < cells; ++i) {
        const QRectF box(page.left() + static_cast<double>(i % 2) * w,
                         top + static_cast<double>(i / 2) * h, w - 8 * unit, h - 6 * unit);
        if (i < first)
            paintSvg(p, box, sun->drawing);
        else if (i < first + plots.size())
            paintPlot(p, box, *plots[i - first], s.separator, unit);
        else if (i == first + plots.size())
            paintLines(p, box, lines, s.separator, unit);
        else
            paintPlot(p, box, history, s.separator, unit);
    }
    p.restore();
}

std::string writeReportPdf(const std::string& path, const ReportSource& s) {
    QPdfWriter pdf(qs(path));
    if (!pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter)))
        return "mise en page A4 impossible";
    pdf.setResolution(300);
    pdf.setTitle(
        qs("Kelvora — " + (s.title.empty() ? std::string("Conception sans nom") : s.title)));
    pdf.setCreator(QStringLiteral("Kelvora"));
    QPainter painter;
    if (!painter.begin(&pdf)) return "impossible d'écrire « " + path + " »";
    paintReport(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), s);
    if (!painter.end()) return "impossible d'écrire « " + path + " »";
    return {};
}

}  // namespace kelvora::io
