#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/table.h"
#include "model/detectors.h"

namespace kelvora::cli {

using io::Cell;
using io::Combinations;
using io::OutputFormat;
using io::TableWriter;

// The command line as given; options and names may repeat for a sweep.
struct CalcOptions {
    bool design = false;                 // the "conception" command (or "proposer")
    bool propose = false;                // the "proposer" command
    std::size_t count = 10;              // proposer --nombre
    bool lines = false;                  // conception --raies
    std::vector<std::string> detectors;  // catalogue names
    std::vector<bool> barlowModels;
    std::optional<std::string> separator;
    std::optional<std::string> file;  // a design file to start from
    // NAME=TEXT (window fields) or KEY=VALUE (design keys), in first-seen order.
    std::vector<std::pair<std::string, std::vector<std::string>>> fields;
    OutputFormat format = OutputFormat::Default;
    bool texts = false;                 // the window's texts instead of numbers in CSV and JSON
    bool spectrum = false;              // conception --spectre: the chain across the range
    std::optional<std::string> report;  // conception --rapport F.pdf: the printed page
    bool calibrate = false;             // the "etalonner" command
    std::optional<std::string> spectrumFile;  // etalonner SPECTRE
    std::optional<std::string> saveTo;        // etalonner, etalonnages --enregistrer F.kelvora
    bool listCalibrations = false;            // the "etalonnages" command
    std::size_t remove = 0;                   // etalonnages --retirer N (from 1); 0: none
    bool help = false;
    bool version = false;
};

struct ParseResult {
    CalcOptions options;
    std::string error;  // non-empty: a usage error, in French
};

ParseResult parseArguments(const std::vector<std::string>& args,
                           const DetectorCatalogue& catalogue);

}  // namespace kelvora::cli
