#pragma once

// Reference lines (air wavelengths, NIST Atomic Spectra Database) and the
// pairs users test a resolution on: which fall on the sensor, which pairs
// the design separates, and how many calibration-lamp lines it sees.

#include <string>
#include <vector>

#include "model/design/design.h"

namespace kelvora::design {

struct Line {
    std::string name;
    double lambda_a;
    std::string kind;  // "Balmer", "He", "Na", "lampe néon"…
};

struct LinePair {
    std::string name;
    double lambda1_a, lambda2_a;
};

// The built-in lines and pairs; the user's lines follow them.
const std::vector<Line>& builtInLines();
const std::vector<LinePair>& linePairs();
// The calibration lamps, by the kind their lines carry.
const std::vector<std::string>& lampKinds();

// Lamp lines crowd a plot: they are counted, and only the others are marked.
bool markedOnPlots(const Line& line);

struct LineOnSensor {
    const Line* line;
    double pixel;  // unbinned, 0 to nx
};
struct PairVerdict {
    const LinePair* pair;
    double separation_a, element_a;
    bool separated;  // at least one resolution element apart
};
// « séparé » or « non séparé », as every face says it.
const char* verdictText(const PairVerdict& v);
struct LampCount {
    std::string kind;
    int lines;
};
struct LineReport {
    std::vector<LineOnSensor> lines;
    std::vector<PairVerdict> pairs;  // the pairs whose both lines fall on the sensor
    std::vector<LampCount> lamps;
};

// Empty if the instrument is impossible.
LineReport linesOnSensor(const DesignInput& in, const std::vector<Line>& lines);
LineReport linesOnSensor(const DesignInput& in, const DesignOutcome& outcome,
                         const std::vector<Line>& lines);

}  // namespace kelvora::design
