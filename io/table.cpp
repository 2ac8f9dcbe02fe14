#include "io/table.h"

#include <cmath>
#include <ostream>

#include "model/numbertext.h"

namespace kelvora::io {

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

void putJsonString(std::ostream& out, std::string_view s) {
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

void putPlain(std::ostream& out, const Cell& c) {
    if (c.kind == Cell::Kind::Text) out << c.text;
    if (c.kind == Cell::Kind::Number) out << shortestNumberText(c.number);
    if (c.kind == Cell::Kind::Flag) out << (c.flag ? "true" : "false");
}

}  // namespace

Cell Cell::ofNumber(double v) {
    return std::isfinite(v) ? Cell{Kind::Number, {}, v, false} : Cell{};
}

TableWriter::TableWriter(OutputFormat format, std::ostream& out, std::vector<std::string> columns)
    : format_(format), out_(out), columns_(std::move(columns)) {
    if (format_ == OutputFormat::Csv) {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (i) out_ << ',';
            putCsv(out_, columns_[i]);
        }
        out_ << '\n';
    }
    if (format_ == OutputFormat::Json) out_ << '[';
}

void TableWriter::row(const std::vector<Cell>& cells) {
    if (format_ == OutputFormat::Csv) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out_ << ',';
            if (cells[i].kind == Cell::Kind::Text)
                putCsv(out_, cells[i].text);
            else
                putPlain(out_, cells[i]);
        }
        out_ << '\n';
    } else if (format_ == OutputFormat::Json) {
        out_ << (rows_ ? ",\n  {" : "\n  {");
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out_ << ", ";
            putJsonString(out_, columns_[i]);
            out_ << ": ";
            if (cells[i].kind == Cell::Kind::Null)
                out_ << "null";
            else if (cells[i].kind == Cell::Kind::Text)
                putJsonString(out_, cells[i].text);
            else
                putPlain(out_, cells[i]);
        }
        out_ << '}';
    } else {
        if (rows_) out_ << '\n';
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].kind == Cell::Kind::Null) continue;
            out_ << columns_[i] << '\t';
            putPlain(out_, cells[i]);
            out_ << '\n';
        }
    }
    ++rows_;
}

void TableWriter::finish() {
    if (format_ == OutputFormat::Json) out_ << (rows_ ? "\n]\n" : "]\n");
    out_.flush();
}

Combinations::Combinations(std::vector<std::size_t> sizes) : sizes_(std::move(sizes)) {
    strides_.assign(sizes_.size(), 1);
    for (std::size_t j = sizes_.size(); j-- > 0;) {
        strides_[j] = size_;
        size_ *= sizes_[j];
    }
}

std::size_t Combinations::valueIndex(std::size_t row, std::size_t dim) const {
    return row / strides_[dim] % sizes_[dim];
}

}  // namespace kelvora::io
