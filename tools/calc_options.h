#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/instrument.h"

namespace kelvora::cli {

enum class OutputFormat { Default, Text, Csv, Json };

// Command line as given; options and names may repeat for a sweep.
struct CalcOptions {
    std::vector<Detector> detectors;
    std::vector<bool> barlowModels;
    std::optional<std::string> separator;
    std::vector<std::pair<Control, std::vector<std::string>>> fields;  // in first-seen order
    OutputFormat format = OutputFormat::Default;
    bool help = false;
    bool version = false;
};

struct ParseResult {
    CalcOptions options;
    std::string error;  // non-empty: a usage error, in French
};

ParseResult parseArguments(const std::vector<std::string>& args);

}  // namespace kelvora::cli
