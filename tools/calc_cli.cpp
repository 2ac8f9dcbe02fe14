#include "tools/calc_cli.h"
#include "tools/calibrate_cli.h"

#include "model/design/design.h"
#include "model/design/measured.h"

#include <algorithm>
#include <ostream>

#include "io/designfile.h"
#include "io/userlines.h"
#include "model/calculation.h"
#include "model/numbertext.h"
#include "tools/calc_options.h"
#include "tools/design_answers.h"
#include "tools/design_sweep.h"
#include "tools/help.h"
#include "tools/window_sweep.h"

namespace kelvora::cli {

namespace {

RunInput windowInput(const io::WindowState& w, const DetectorCatalogue& catalogue) {
    RunInput in;
    in.texts = w.texts;
    in.detector = w.detector ? *catalogue.find(*w.detector) : DetectorModel{};
    in.barlowSelected = w.barlow;
    return in;
}

// Says on standard error how each field text that is not one whole number
// is read, as the window's warning marks do; the output does not change.
void noteReadings(const RunInput& base, const CalcOptions& o, std::ostream& err) {
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const std::string name(controlName(inputAt(i)));
        const auto given = std::find_if(o.fields.begin(), o.fields.end(),
                                        [&](const auto& f) { return f.first == name; });
        const std::vector<std::string> texts =
            given == o.fields.end() ? std::vector<std::string>{base.texts[i]} : given->second;
        for (const std::string& text : texts)
            if (const std::string note = readingNote(text); !note.empty())
                err << "kelvora-calc : " << name << " : " << note << '\n';
    }
}

}  // namespace

int runCalc(const std::vector<std::string>& args, const std::string& regionalSeparator,
            const DetectorCatalogue& catalogue, std::ostream& out, std::ostream& err) {
    const ParseResult parsed = parseArguments(args, catalogue);
    if (!parsed.error.empty()) {
        err << "kelvora-calc : " << parsed.error << " ; voir kelvora-calc --help\n";
        return 2;
    }
    const CalcOptions& o = parsed.options;
    if (o.help) {
        printHelp(out, catalogue, o.design, o.propose, o.calibrate || o.listCalibrations);
        return 0;
    }
    if (o.version) {
        out << "Kelvora " KELVORA_VERSION "\n";
        return 0;
    }
    io::DesignFile file;
    if (o.file) {
        if (const std::string e = io::readDesignFile(*o.file, catalogue, file); !e.empty()) {
            err << "kelvora-calc : " << e << '\n';
            return 2;
        }
        for (const std::string& note : file.notes)
            err << "kelvora-calc : « " << *o.file << " » : " << note << '\n';
    }
    if (o.calibrate) return printCalibration(file.design, o, catalogue, out, err);
    if (o.listCalibrations) return listCalibrations(file, o, out, err);
    // A design that predicts with its calibrations says so.
    if (o.design && !o.propose)
        if (const std::string note = design::calibrationNote(file.design, "."); !note.empty())
            err << "kelvora-calc : " << note << '\n';
    if (o.propose) return printProposals(file.design, o, catalogue, o.format, out, err);
    if (o.lines || o.report) {
        std::string warning;
        const std::vector<design::Line> lines = io::loadLines(&warning);
        if (!warning.empty()) err << "kelvora-calc : " << warning << '\n';
        if (o.report) return writeReport(file.design, o, catalogue, lines, err);
        return printLines(file.design, o, catalogue, lines, o.format, out, err);
    }
    if (o.spectrum) return printDesignSpectrum(file.design, o, catalogue, o.format, out, err);
    if (o.design) return printDesignSweep(file.design, o, catalogue, o.format, out, err);
    RunInput base = windowInput(file.window, catalogue);
    base.decimalSeparator = o.separator.value_or(regionalSeparator);
    noteReadings(base, o, err);
    return printWindowSweep(base, o, catalogue, o.format, out, err);
}

}  // namespace kelvora::cli
