#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace kelvora::io {

enum class OutputFormat { Default, Text, Csv, Json };

// One table cell: nothing (empty in CSV, null in JSON, left out in text), a
// text, a number (shortest text that reads back to the same double, with a
// period) or a yes/no.
struct Cell {
    enum class Kind { Null, Text, Number, Flag } kind = Kind::Null;
    std::string text;
    double number = 0;
    bool flag = false;

    static Cell ofText(std::string t) { return {Kind::Text, std::move(t), 0, false}; }
    static Cell ofNumber(double v);  // NaN gives Null
    static Cell ofFlag(bool f) { return {Kind::Flag, {}, 0, f}; }
};

// Streams a table row by row: CSV (RFC 4180), a JSON array of objects with
// the columns in order, or "NAME<TAB>VALUE" lines with a blank line between rows.
class TableWriter {
  public:
    TableWriter(OutputFormat format, std::ostream& out, std::vector<std::string> columns);
    void row(const std::vector<Cell>& cells);
    void finish();

  private:
    OutputFormat format_;
    std::ostream& out_;
    std::vector<std::string> columns_;
    std::size_t rows_ = 0;
};

// Every combination of the values of some dimensions; the first changes
// slowest, each dimension's values in the order given.
class Combinations {
  public:
    explicit Combinations(std::vector<std::size_t> sizes);
    std::size_t size() const { return size_; }
    std::size_t valueIndex(std::size_t row, std::size_t dim) const;

  private:
    std::vector<std::size_t> sizes_, strides_;
    std::size_t size_ = 1;
};

}  // namespace kelvora::io
