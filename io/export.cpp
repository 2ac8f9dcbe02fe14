#include "io/export.h"

#include <ostream>

#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/measured.h"

namespace kelvora::io {

std::vector<Cell> windowResultCells(const RunOutput& run, bool texts) {
    std::vector<Cell> cells;
    for (std::size_t i = 0; i < kShownCount; ++i) {
        if (!run.reached(i))
            cells.emplace_back();
        else if (texts)
            cells.push_back(Cell::ofText(run.shown[i].text));
        else
            cells.push_back(Cell::ofNumber(run.values[i]));
    }
    cells.push_back(run.fault ? Cell::ofText(faultMessage(*run.fault)) : Cell{});
    return cells;
}

Cell designResultCell(const design::ResultCell& c) {
    using K = design::ResultCell::Kind;
    if (c.kind == K::Text) return Cell::ofText(c.text);
    if (c.kind == K::Flag) return Cell::ofFlag(c.flag);
    return Cell::ofNumber(c.number);
}

void writeWindowRow(const RunInput& in, OutputFormat format, std::ostream& out) {
    std::vector<std::string> columns;
    std::vector<Cell> cells;
    for (std::size_t i = 0; i < kInputCount; ++i) {
        columns.emplace_back(controlName(inputAt(i)));
        cells.push_back(Cell::ofText(in.texts[i]));
    }
    columns.emplace_back("detector");
    cells.push_back(in.detector.caption.empty() ? Cell{} : Cell::ofText(in.detector.caption));
    columns.emplace_back("model");
    cells.push_back(Cell::ofText(in.barlowSelected ? "barlow" : "fente"));
    for (std::size_t i = 0; i < kShownCount; ++i) columns.emplace_back(controlName(shownAt(i)));
    columns.emplace_back("erreur");
    for (Cell& c : windowResultCells(runCalculation(in), false)) cells.push_back(std::move(c));
    TableWriter table(format, out, columns);
    table.row(cells);
    table.finish();
}

void writeDesignRow(const design::DesignInput& in, OutputFormat format, std::ostream& out) {
    std::vector<std::string> columns;
    std::vector<Cell> cells;
    for (const design::KeyRow& row : design::keyRows()) {
        columns.emplace_back(row.key);
        cells.push_back(row.number ? Cell::ofNumber(design::keyNumber(in, row))
                                   : Cell::ofText(design::keyText(in, row.key)));
    }
    const bool withTarget = in.cible_snr > 0;
    const design::DesignOutcome outcome = design::evaluate(in);
    for (const char* name : design::resultNames(withTarget, in.soleil)) columns.emplace_back(name);
    // A calibrated design says what its predictions rest on.
    const bool calibrated = !in.etalonnages.empty();
    if (calibrated) columns.emplace_back("etalonnage");
    columns.emplace_back("erreur");
    if (outcome.result) {
        for (const design::NamedResult& n :
             design::namedResults(*outcome.result, withTarget, in.soleil))
            cells.push_back(designResultCell(n.cell));
        if (calibrated) cells.push_back(Cell::ofText(design::calibrationNote(in, ".")));
        cells.emplace_back();
    } else {
        cells.resize(columns.size() - 1);
        cells.push_back(Cell::ofText(design::describe(*outcome.error, ".")));
    }
    TableWriter table(format, out, columns);
    table.row(cells);
    table.finish();
}

}  // namespace kelvora::io
