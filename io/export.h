#pragma once

// One row of what the user sees, as a table: the window's inputs and
// results, or a design's keys and results. The companion's sweeps write
// their rows with the same cells.

#include <iosfwd>
#include <vector>

#include "io/table.h"
#include "model/calculation.h"
#include "model/design/design.h"
#include "model/design/keys.h"

namespace kelvora::io {

// The twelve results (numbers, or the window's texts) then the fault.
std::vector<Cell> windowResultCells(const RunOutput& run, bool texts);
Cell designResultCell(const design::ResultCell& c);

// Inputs as typed, detector and entrance model, then the results.
void writeWindowRow(const RunInput& in, OutputFormat format, std::ostream& out);
// Every design key, then the results (the target's with a target), then the error.
void writeDesignRow(const design::DesignInput& in, OutputFormat format, std::ostream& out);

}  // namespace kelvora::io
