#pragma once

// The pictures of a spectroheliograph's design, described once for every
// face: the solar spectrum around the chosen line with the slit's bandpass
// on it, and the disc drawn to scale on the slit and the sensor.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design/design.h"
#include "model/design/plots.h"

namespace kelvora::design {

struct SunFigures {
    PlotDescription line;  // id "soleil_raie"
    std::string drawing;   // SVG, 560 × 320 user units, numbers in the face's separator
    std::string drawingTitle;
};

// The figures of an evaluated design of the Sun; none for a star.
std::optional<SunFigures> describeSun(const DesignInput& in, const DesignOutcome& outcome,
                                      std::string_view separator, PlotArea area = {});

// The plots a design shows: the star's five; for the Sun its line, then the
// two that still mean something (the spectrum across the sensor, the
// efficiencies): the star's S/N plots do not.
std::vector<const PlotDescription*> shownPlots(const std::array<PlotDescription, kPlotCount>& plots,
                                               const std::optional<SunFigures>& sun);

}  // namespace kelvora::design
