#include "ui/linesreport.h"

#include <QLocale>

namespace kelvora::ui {

namespace {

QString number(double v, int decimals) {
    QLocale l = QLocale::system();
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'f', decimals);
}

QString cell(const QString& text) {
    return QStringLiteral("<td>%1</td>").arg(text.toHtmlEscaped());
}

}  // namespace

QString linesReportHtml(const design::LineReport& report) {
    QString html = QStringLiteral("<h3>Paires</h3>");
    if (report.pairs.empty())
        html += QStringLiteral("<p>Aucune paire de référence sur le capteur.</p>");
    else
        html += QStringLiteral(
            "<table cellpadding='3'><tr><th>paire</th><th>écart (Å)</th>"
            "<th>élément (Å)</th><th>verdict</th></tr>");
    for (const design::PairVerdict& v : report.pairs)
        html += QStringLiteral("<tr>") + cell(QString::fromStdString(v.pair->name)) +
                cell(number(v.separation_a, 2)) + cell(number(v.element_a, 2)) +
                QStringLiteral("<td><b>%1</b></td></tr>")
                    .arg(QString::fromUtf8(design::verdictText(v)));
    if (!report.pairs.empty()) html += QStringLiteral("</table>");
    html += QStringLiteral("<h3>Lampes d'étalonnage</h3><p>");
    for (const design::LampCount& lamp : report.lamps)
        html += QStringLiteral("%1 : %2 raie(s) sur le capteur<br>")
                    .arg(QString::fromStdString(lamp.kind).toHtmlEscaped())
                    .arg(lamp.lines);
    html += QStringLiteral("</p><h3>Raies sur le capteur</h3><p>");
    for (const design::LineOnSensor& l : report.lines)
        html += QStringLiteral("%1 (%2 Å, pixel %3)<br>")
                    .arg(QString::fromStdString(l.line->name).toHtmlEscaped(),
                         number(l.line->lambda_a, 2), number(l.pixel, 0));
    return html + QStringLiteral("</p>");
}

}  // namespace kelvora::ui
