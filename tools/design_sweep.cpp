#include "tools/design_sweep.h"

#include <algorithm>
#include <ostream>

#include "io/export.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/measured.h"

namespace kelvora::cli {

namespace {

using Field = std::pair<std::string, std::vector<std::string>>;
// Wavelengths of --spectre: the range in this many equal steps.
constexpr int kSpectrumIntervals = 60;

Cell inputCell(const std::string& key, const std::string& value) {
    if (design::isTextKey(key)) return Cell::ofText(value);
    return Cell::ofNumber(*design::strictNumber(value));
}

// One design as a table row: every input with the results, as the design
// window exports it.
int printDesignRow(const design::DesignInput& base, const std::vector<Field>& fields,
                   const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                   std::ostream& err) {
    std::vector<design::KeyValue> keys;
    for (const Field& f : fields) keys.push_back({f.first, f.second.front()});
    const design::KeyedDesign read = design::designFromKeys(keys, catalogue, base);
    if (!read.errors.empty()) {
        err << "kelvora-calc : " << design::describe(read.errors.front(), ".") << '\n';
        return 2;
    }
    io::writeDesignRow(read.input, format, out);
    return design::evaluate(read.input).result ? 0 : 1;
}

}  // namespace

int printDesignSweep(const design::DesignInput& base, const CalcOptions& o,
                     const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                     std::ostream& err) {
    const std::vector<Field>& fields = o.fields;
    bool withTarget = base.cible_snr > 0, withSun = base.soleil;
    std::vector<std::string> columns;
    std::vector<std::size_t> sizes;
    for (const Field& f : fields) {
        sizes.push_back(f.second.size());
        if (f.second.size() > 1) columns.push_back(f.first);
        if (f.first == "cible_snr") withTarget = true;
        if (f.first == "source") withSun = withSun || std::ranges::count(f.second, "soleil") > 0;
    }
    const std::size_t variedCount = columns.size();
    if (format == OutputFormat::Default)
        format = variedCount == 0 ? OutputFormat::Text : OutputFormat::Csv;
    const bool single = variedCount == 0 && format == OutputFormat::Text;
    if (variedCount == 0 && !single)
        return printDesignRow(base, fields, catalogue, format, out, err);
    for (const char* name : design::resultNames(withTarget, withSun)) columns.emplace_back(name);
    const bool calibrated = !base.etalonnages.empty();
    if (calibrated) columns.emplace_back("etalonnage");
    columns.emplace_back("erreur");
    TableWriter table(format, out, columns);
    const Combinations rows(sizes);
    const std::size_t resultCount = columns.size() - variedCount - 1 - (calibrated ? 1 : 0);
    bool impossible = false;
    std::vector<Cell> cells;
    std::vector<design::KeyValue> keys(fields.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        cells.clear();
        for (std::size_t j = 0; j < fields.size(); ++j) {
            const std::string& value = fields[j].second[rows.valueIndex(r, j)];
            keys[j] = {fields[j].first, value};
            if (sizes[j] > 1) cells.push_back(inputCell(fields[j].first, value));
        }
        // Every key on every row, the sensor first: a swept sensor never
        // overrides a value given with it.
        const design::KeyedDesign read = design::designFromKeys(keys, catalogue, base);
        const design::DesignInput& in = read.input;
        design::DesignOutcome outcome = design::evaluate(in);
        if (!read.errors.empty()) outcome = {std::nullopt, {}, read.errors.front()};
        if (outcome.result) {
            for (const design::NamedResult& n :
                 design::namedResults(*outcome.result, withTarget, withSun))
                cells.push_back(io::designResultCell(n.cell));
            if (calibrated) cells.push_back(Cell::ofText(design::calibrationNote(in, ".")));
            cells.emplace_back();
        } else if (single) {
            err << design::describe(*outcome.error, ".") << '\n';
            return 1;
        } else {
            impossible = true;
            cells.resize(cells.size() + resultCount + (calibrated ? 1 : 0));
            cells.push_back(Cell::ofText(design::describe(*outcome.error, ".")));
        }
        table.row(cells);
    }
    table.finish();
    return impossible ? 1 : 0;
}

int printDesignSpectrum(const design::DesignInput& base, const CalcOptions& o,
                        const DetectorCatalogue& catalogue, OutputFormat format, std::ostream& out,
                        std::ostream& err) {
    std::vector<design::KeyValue> keys;
    for (const Field& f : o.fields) keys.push_back({f.first, f.second.front()});
    const design::KeyedDesign read = design::designFromKeys(keys, catalogue, base);
    if (!read.errors.empty()) {
        err << "kelvora-calc : " << design::describe(read.errors.front(), ".") << '\n';
        return 2;
    }
    const design::DesignInput& in = read.input;
    const design::DesignOutcome outcome = design::evaluate(in);
    if (!outcome.result) {
        err << design::describe(*outcome.error, ".") << '\n';
        return 1;
    }
    TableWriter table(format == OutputFormat::Default ? OutputFormat::Csv : format, out,
                      {"lambda_a", "atmosphere", "telescope", "reseau", "qe", "fente", "rendement",
                       "signal_e_s_a", "snr", "snr_element"});
    for (const design::SpectralPoint& p : design::spectrum(in, outcome, kSpectrumIntervals))
        table.row({Cell::ofNumber(p.lambda_a), Cell::ofNumber(p.atmosphere),
                   Cell::ofNumber(p.telescope), Cell::ofNumber(p.reseau), Cell::ofNumber(p.qe),
                   Cell::ofNumber(p.fente), Cell::ofNumber(p.rendement),
                   Cell::ofNumber(p.signal_e_s_a), Cell::ofNumber(p.snr),
                   Cell::ofNumber(p.snr_element)});
    table.finish();
    return 0;
}

}  // namespace kelvora::cli
