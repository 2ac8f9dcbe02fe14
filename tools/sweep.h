#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/calculation.h"
#include "tools/calc_options.h"

namespace kelvora::cli {

// Every combination of the values given on the command line; the first
// varied input changes slowest, each input's values in the order given.
class Sweep {
  public:
    Sweep(const CalcOptions& options, const std::string& separator);

    std::size_t size() const { return size_; }
    RunInput input(std::size_t row) const;
    std::vector<std::string> variedColumns() const;
    std::vector<std::string> variedValues(std::size_t row) const;

  private:
    enum class Kind { Detector, Model, Field };
    struct Dimension {
        Kind kind;
        Control field;
        std::string column;
        std::vector<std::string> values;
    };
    static void apply(RunInput& input, const Dimension& dim, const std::string& value);
    std::size_t valueIndex(std::size_t row, std::size_t dim) const;

    RunInput base_;
    std::vector<Dimension> varied_;
    std::size_t size_ = 1;
};

// Prints the sweep as a table; returns 1 if any run stopped on a fault.
int printSweep(const Sweep& sweep, OutputFormat format, std::ostream& out);

}  // namespace kelvora::cli
