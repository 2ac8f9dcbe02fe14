#pragma once

// The design on one A4 page, to print or keep as a PDF: its inputs, its
// results, its plots and the lines' verdicts, titled with the file's name
// and the date. The window's « Imprimer… » and « Exporter en PDF… » and the
// companion's --rapport draw this same page.

#include <string>
#include <vector>

#include "model/design/design.h"
#include "model/design/lines.h"

class QPainter;
class QRectF;

namespace kelvora::io {

struct ReportSource {
    std::string title;  // the design file's name; "" for a design never saved
    std::string date;   // as printed, e.g. « 7 décembre 2026 »
    design::DesignInput input;
    std::vector<design::Line> lines;  // the user's lines, or the built-in ones
    std::string separator = ".";
};

// Today's date in French words.
std::string todayInFrench();

// Paints the report into `page` (device pixels of an A4 page, portrait).
void paintReport(QPainter& painter, const QRectF& page, const ReportSource& source);

// Writes the report as a one-page A4 PDF; "" or why it could not, in French.
std::string writeReportPdf(const std::string& path, const ReportSource& source);

}  // namespace kelvora::io
