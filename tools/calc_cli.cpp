#include "tools/calc_cli.h"

#include <algorithm>
#include <ostream>

#include "io/designfile.h"
#include "model/calculation.h"
#include "model/design/keys.h"
#include "model/numbertext.h"
#include "tools/calc_options.h"
#include "tools/design_sweep.h"
#include "tools/help.h"
#include "tools/window_sweep.h"

namespace kelvora::cli {

namespace {

int printSingleRun(const RunInput& input, std::ostream& out, std::ostream& err) {
    const RunOutput result = runCalculation(input);
    for (const ShownText& s : result.shown) out << controlName(s.control) << '\t' << s.text << '\n';
    out.flush();
    if (!result.fault) return 0;
    err << faultMessage(*result.fault) << '\n';
    return 1;
}

std::size_t combinations(const CalcOptions& o) {
    std::size_t n = std::max<std::size_t>(1, o.detectors.size()) *
                    std::max<std::size_t>(1, o.barlowModels.size());
    for (const auto& f : o.fields) n *= f.second.size();
    return n;
}

RunInput windowInput(const io::WindowState& w, const DetectorCatalogue& catalogue) {
    RunInput in;
    in.texts = w.texts;
    in.detector = w.detector ? *catalogue.find(*w.detector) : DetectorModel{};
    in.barlowSelected = w.barlow;
    return in;
}

int runDesign(const CalcOptions& o, const io::DesignFile& file, const DetectorCatalogue& catalogue,
              std::ostream& out, std::ostream& err) {
    OutputFormat format = o.format;
    const bool single = combinations(o) == 1;
    if (format == OutputFormat::Default) format = single ? OutputFormat::Text : OutputFormat::Csv;
    if (single && format == OutputFormat::Text) {
        design::DesignInput in = file.design;
        for (const auto& [key, values] : o.fields)
            if (key == "detecteur") design::setKey(in, key, values.front(), catalogue);
        for (const auto& [key, values] : o.fields)
            if (key != "detecteur") design::setKey(in, key, values.front(), catalogue);
        const design::DesignOutcome outcome = design::evaluate(in);
        if (!outcome.result) {
            err << outcome.error << '\n';
            return 1;
        }
    }
    return printDesignSweep(file.design, o, catalogue, format, out);
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
        printHelp(out, catalogue, o.design);
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
    }
    if (o.design) return runDesign(o, file, catalogue, out, err);
    RunInput base = windowInput(file.window, catalogue);
    base.decimalSeparator = o.separator.value_or(regionalSeparator);
    noteReadings(base, o, err);
    OutputFormat format = o.format;
    const bool single = combinations(o) == 1;
    if (format == OutputFormat::Default) format = single ? OutputFormat::Text : OutputFormat::Csv;
    if (format == OutputFormat::Text && single) {
        RunInput in = base;
        if (!o.detectors.empty()) in.detector = *catalogue.find(o.detectors.front());
        if (!o.barlowModels.empty()) in.barlowSelected = o.barlowModels.front();
        for (const auto& [name, values] : o.fields)
            in.texts[indexOf(*inputByName(name))] = values.front();
        return printSingleRun(in, out, err);
    }
    return printWindowSweep(base, o, catalogue, format, out);
}

}  // namespace kelvora::cli
