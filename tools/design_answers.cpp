#include "tools/design_answers.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <ostream>

#include "io/export.h"
#include "io/report.h"
#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/proposer.h"

namespace kelvora::cli {

design::DesignInput applyKeys(const design::DesignInput& base, const CalcOptions& o,
                              const DetectorCatalogue& catalogue, design::ProposerRequest* q,
                              std::string& error) {
    std::vector<design::KeyValue> keys;
    for (const auto& [key, values] : o.fields) {
        if (!q || !design::isProposerKey(key))
            keys.push_back({key, values.front()});
        else if (const auto e = design::setProposerKey(*q, key, values.front()); e && error.empty())
            error = design::describe(*e, ".");
    }
    design::KeyedDesign read = design::designFromKeys(keys, catalogue, base);
    if (!read.errors.empty() && error.empty()) error = design::describe(read.errors[0], ".");
    return std::move(read.input);
}

namespace {

// Painting text needs a GUI application; without a display, Qt's
// offscreen platform draws the same page.
std::unique_ptr<QGuiApplication> guiForPainting() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the platform (no runtime folder…) are not the user's concern.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "kelvora-calc";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int writeReport(const design::DesignInput& base, const CalcOptions& o,
                const DetectorCatalogue& catalogue, const std::vector<design::Line>& lines,
                std::ostream& err) {
    std::string error;
    io::ReportSource source;
    source.input = applyKeys(base, o, catalogue, nullptr, error);
    if (!error.empty()) {
        err << "kelvora-calc : " << error << '\n';
        return 2;
    }
    const auto app = guiForPainting();
    source.title =
        o.file ? QFileInfo(QString::fromStdString(*o.file)).fileName().toStdString() : "";
    source.date = io::todayInFrench();
    source.lines = lines;
    if (const std::string e = io::writeReportPdf(*o.report, source); !e.empty()) {
        err << "kelvora-calc : " << e << '\n';
        return 1;
    }
    return 0;
}

int printProposals(const design::DesignInput& base, const CalcOptions& o,
                   const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                   std::ostream& err) {
    design::ProposerRequest q;
    std::string error;
    const design::DesignInput fixed = applyKeys(base, o, catalogue, &q, error);
    if (!error.empty()) {
        err << "kelvora-calc : " << error << '\n';
        return 2;
    }
    if (!design::missingTarget(fixed, q).empty()) {
        err << "kelvora-calc : proposer : resolution_cible=R est requise ; voir kelvora-calc "
               "proposer --help\n";
        return 2;
    }
    const design::Proposal p = design::propose(fixed, q, o.count);
    if (p.candidates.empty()) {
        err << p.error << '\n';
        return 1;
    }
    const std::vector<std::string> shown =
        design::candidateResults(fixed.snr_par_element, fixed.soleil);
    std::vector<std::string> columns = design::candidateKeys();
    columns.insert(columns.end(), shown.begin(), shown.end());
    TableWriter table(format == OutputFormat::Default ? OutputFormat::Csv : format, out, columns);
    for (const design::Candidate& c : p.candidates) {
        std::vector<Cell> cells;
        // Every key's own value, used or not: the row reproduces the design.
        for (const std::string& key : design::candidateKeys())
            cells.push_back(design::isTextKey(key) ? Cell::ofText(design::keyText(c.input, key))
                                                   : Cell::ofNumber(design::keyNumber(
                                                         c.input, *design::findKey(key))));
        for (const std::string& name : shown)
            cells.push_back(io::designResultCell(design::candidateCell(c, name)));
        table.row(cells);
    }
    table.finish();
    return 0;
}

int printLines(const design::DesignInput& base, const CalcOptions& o,
               const DetectorCatalogue& catalogue, const std::vector<design::Line>& lines,
               OutputFormat format, std::ostream& out, std::ostream& err) {
    std::string error;
    const design::DesignInput in = applyKeys(base, o, catalogue, nullptr, error);
    if (!error.empty()) {
        err << "kelvora-calc : " << error << '\n';
        return 2;
    }
    const design::DesignOutcome outcome = design::evaluate(in);
    if (!outcome.result) {
        err << design::describe(*outcome.error, ".") << '\n';
        return 1;
    }
    const design::LineReport report = design::linesOnSensor(in, outcome, lines);
    TableWriter table(
        format == OutputFormat::Default ? OutputFormat::Csv : format, out,
        {"type", "nom", "lambda_a", "pixel", "separation_a", "element_a", "verdict", "nombre"});
    for (const design::LineOnSensor& l : report.lines)
        table.row({Cell::ofText("raie"),
                   Cell::ofText(l.line->name),
                   Cell::ofNumber(l.line->lambda_a),
                   Cell::ofNumber(l.pixel),
                   {},
                   {},
                   Cell::ofText(l.line->kind),
                   {}});
    for (const design::PairVerdict& v : report.pairs)
        table.row({Cell::ofText("paire"),
                   Cell::ofText(v.pair->name),
                   {},
                   {},
                   Cell::ofNumber(v.separation_a),
                   Cell::ofNumber(v.element_a),
                   Cell::ofText(design::verdictText(v)),
                   {}});
    for (const design::LampCount& lamp : report.lamps)
        table.row({Cell::ofText("lampe"),
                   Cell::ofText(lamp.kind),
                   {},
                   {},
                   {},
                   {},
                   {},
                   Cell::ofNumber(lamp.lines)});
    table.finish();
    return 0;
}

}  // namespace kelvora::cli
