#include "tools/window_sweep.h"

#include <ostream>

#include "io/export.h"

namespace kelvora::cli {

namespace {

struct Dimension {
    std::string column;
    std::vector<std::string> values;
};

void apply(RunInput& in, const Dimension& dim, const std::string& value,
           const DetectorCatalogue& catalogue) {
    if (dim.column == "detector")
        in.detector = *catalogue.find(value);
    else if (dim.column == "model")
        in.barlowSelected = value == "barlow";
    else
        in.texts[indexOf(*inputByName(dim.column))] = value;
}

std::vector<Dimension> dimensions(const CalcOptions& o) {
    std::vector<Dimension> dims{{"detector", o.detectors}, {"model", {}}};
    for (bool barlow : o.barlowModels) dims[1].values.emplace_back(barlow ? "barlow" : "fente");
    for (const auto& [name, values] : o.fields) dims.push_back({name, values});
    return dims;
}

int printListing(const RunInput& input, std::ostream& out, std::ostream& err) {
    const RunOutput result = runCalculation(input);
    for (const ShownText& s : result.shown) out << controlName(s.control) << '\t' << s.text << '\n';
    out.flush();
    if (!result.fault) return 0;
    err << faultMessage(*result.fault) << '\n';
    return 1;
}

}  // namespace

int printWindowSweep(const RunInput& base, const CalcOptions& o, const DetectorCatalogue& catalogue,
                     OutputFormat format, std::ostream& out, std::ostream& err) {
    RunInput fixed = base;
    std::vector<Dimension> varied;
    for (Dimension& dim : dimensions(o)) {
        if (dim.values.size() == 1) apply(fixed, dim, dim.values.front(), catalogue);
        if (dim.values.size() > 1) varied.push_back(std::move(dim));
    }
    if (format == OutputFormat::Default)
        format = varied.empty() ? OutputFormat::Text : OutputFormat::Csv;
    if (varied.empty() && format == OutputFormat::Text) return printListing(fixed, out, err);
    std::vector<std::string> columns;
    std::vector<std::size_t> sizes;
    for (const Dimension& dim : varied) {
        columns.push_back(dim.column);
        sizes.push_back(dim.values.size());
    }
    for (std::size_t i = 0; i < kShownCount; ++i) columns.emplace_back(controlName(shownAt(i)));
    columns.emplace_back("erreur");
    const bool texts = o.texts || format == OutputFormat::Text;
    TableWriter table(format, out, columns);
    const Combinations rows(sizes);
    bool faulted = false;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        RunInput in = fixed;
        std::vector<Cell> cells;
        for (std::size_t j = 0; j < varied.size(); ++j) {
            const std::string& value = varied[j].values[rows.valueIndex(r, j)];
            apply(in, varied[j], value, catalogue);
            cells.push_back(Cell::ofText(value));
        }
        const RunOutput run = runCalculation(in);
        faulted = faulted || run.fault;
        for (Cell& c : io::windowResultCells(run, texts)) cells.push_back(std::move(c));
        table.row(cells);
    }
    table.finish();
    return faulted ? 1 : 0;
}

}  // namespace kelvora::cli
