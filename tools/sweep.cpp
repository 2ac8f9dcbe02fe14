#include "tools/sweep.h"

#include <ostream>

namespace kelvora::cli {

Sweep::Sweep(const CalcOptions& o, const std::string& separator) {
    base_.decimalSeparator = separator;
    std::vector<Dimension> dims;
    Dimension detector{Kind::Detector, Control::txtDiametre, "detector", {}};
    for (Detector d : o.detectors) detector.values.emplace_back(detectorModel(d).caption);
    dims.push_back(detector);
    Dimension model{Kind::Model, Control::txtDiametre, "model", {}};
    for (bool barlow : o.barlowModels) model.values.emplace_back(barlow ? "barlow" : "fente");
    dims.push_back(model);
    for (const auto& [control, values] : o.fields)
        dims.push_back({Kind::Field, control, std::string(controlName(control)), values});
    for (Dimension& dim : dims) {
        if (dim.values.size() == 1) apply(base_, dim, dim.values.front());
        if (dim.values.size() > 1) {
            size_ *= dim.values.size();
            varied_.push_back(std::move(dim));
        }
    }
}

void Sweep::apply(RunInput& input, const Dimension& dim, const std::string& value) {
    switch (dim.kind) {
        case Kind::Detector:
            input.detector = *detectorByCaption(value);
            break;
        case Kind::Model:
            input.barlowSelected = value == "barlow";
            break;
        case Kind::Field:
            input.texts[indexOf(dim.field)] = value;
            break;
    }
}

std::size_t Sweep::valueIndex(std::size_t row, std::size_t dim) const {
    std::size_t stride = 1;
    for (std::size_t j = dim + 1; j < varied_.size(); ++j) stride *= varied_[j].values.size();
    return row / stride % varied_[dim].values.size();
}

RunInput Sweep::input(std::size_t row) const {
    RunInput in = base_;
    for (std::size_t j = 0; j < varied_.size(); ++j)
        apply(in, varied_[j], varied_[j].values[valueIndex(row, j)]);
    return in;
}

std::vector<std::string> Sweep::variedColumns() const {
    std::vector<std::string> cols;
    for (const Dimension& dim : varied_) cols.push_back(dim.column);
    return cols;
}

std::vector<std::string> Sweep::variedValues(std::size_t row) const {
    std::vector<std::string> vals;
    for (std::size_t j = 0; j < varied_.size(); ++j)
        vals.push_back(varied_[j].values[valueIndex(row, j)]);
    return vals;
}

namespace {

void putCsv(std::ostream& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << field;
        return;
    }
    out << '"';
    for (char c : field) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

void putJson(std::ostream& out, std::string_view s) {
    static const char* const hex = "0123456789abcdef";
    out << '"';
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            out << '\\' << c;
        else if (c < 0x20)
            out << "\\u00" << hex[c >> 4] << hex[c & 15];
        else
            out << c;
    }
    out << '"';
}

// One table row: the varied inputs, every shown text (empty if not
// reached) and the error, if any.
struct Row {
    std::vector<std::string> cells;
    std::vector<bool> reached;
};

std::vector<std::string> header(const Sweep& sweep) {
    std::vector<std::string> cols = sweep.variedColumns();
    for (std::size_t i = 0; i < kShownCount; ++i) cols.emplace_back(controlName(shownAt(i)));
    cols.emplace_back("erreur");
    return cols;
}

Row makeRow(const Sweep& sweep, std::size_t r, bool& faulted) {
    Row row{sweep.variedValues(r), {}};
    row.reached.assign(row.cells.size(), true);
    const RunOutput result = runCalculation(sweep.input(r));
    for (std::size_t i = 0; i < kShownCount; ++i) {
        const bool reached = i < result.shown.size();
        row.cells.push_back(reached ? result.shown[i].text : std::string());
        row.reached.push_back(reached);
    }
    row.cells.push_back(result.fault ? faultMessage(*result.fault) : std::string());
    row.reached.push_back(result.fault.has_value());
    faulted = faulted || result.fault;
    return row;
}

void printCsvLine(std::ostream& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) out << ',';
        putCsv(out, cells[i]);
    }
    out << '\n';
}

void printJsonRow(std::ostream& out, const std::vector<std::string>& cols, const Row& row) {
    out << '{';
    for (std::size_t i = 0; i < cols.size(); ++i) {
        if (i) out << ", ";
        putJson(out, cols[i]);
        out << ": ";
        if (row.reached[i])
            putJson(out, row.cells[i]);
        else
            out << "null";
    }
    out << '}';
}

void printTextRow(std::ostream& out, const std::vector<std::string>& cols, const Row& row) {
    for (std::size_t i = 0; i < cols.size(); ++i)
        if (row.reached[i]) out << cols[i] << '\t' << row.cells[i] << '\n';
}

}  // namespace

int printSweep(const Sweep& sweep, OutputFormat format, std::ostream& out) {
    const std::vector<std::string> cols = header(sweep);
    bool faulted = false;
    if (format == OutputFormat::Csv) printCsvLine(out, cols);
    if (format == OutputFormat::Json) out << "[\n";
    for (std::size_t r = 0; r < sweep.size(); ++r) {
        const Row row = makeRow(sweep, r, faulted);
        if (format == OutputFormat::Csv) {
            printCsvLine(out, row.cells);
        } else if (format == OutputFormat::Json) {
            out << "  ";
            printJsonRow(out, cols, row);
            out << (r + 1 < sweep.size() ? ",\n" : "\n");
        } else {
            if (r) out << '\n';
            printTextRow(out, cols, row);
        }
    }
    if (format == OutputFormat::Json) out << "]\n";
    out.flush();
    return faulted ? 1 : 0;
}

}  // namespace kelvora::cli
