#pragma once

// What the design's plots show, described once for every face: each plot's
// title, axes, curves, target line, marked point and the lines it names.
// The window's charts and the page's draw exactly this.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/design/design.h"
#include "model/design/lines.h"
#include "model/design/placement.h"

namespace kelvora::design {

struct PlotMark {
    double x = 0, y = 0;
    std::string name;
    // Where the name is written (its bottom centre), or not at all when
    // there is no room; set for named points and lines.
    double labelX = 0, labelY = 0;
    bool labelShown = true;
};

struct PlotDescription {
    const char* id = "";  // "snr_pose", "snr_magnitude", "spectre", "rendement", "snr_lambda"
    std::string title, xTitle, yTitle;
    bool wholeX = false;                                // integer ticks (pixels)
    std::vector<std::pair<std::string, Curve>> curves;  // (name, points), all on the same x
    bool lastIsTotal = false;                           // drawn heavier, in black
    std::optional<double> level;  // a horizontal line (the target), named levelName
    std::string levelName;
    std::optional<PlotMark> mark;
    std::vector<PlotMark> labels;     // named points (lines on the spectrum), no legend
    std::vector<PlotMark> lineMarks;  // named vertical lines at x (lines on a λ axis)
    PlotFrame frame;                  // the axes' ranges the names were placed in
};

inline constexpr std::size_t kPlotCount = 5;
// Each plot's id and its name as said aloud, in the order the faces show them.
// In the header: the window's plots module reads it without the model.
struct PlotName {
    const char* id;
    const char* name;
};
inline constexpr std::array<PlotName, kPlotCount> kPlotNames{{
    {"snr_pose", "S/N selon la pose totale"},
    {"snr_magnitude", "S/N selon la magnitude de l'étoile"},
    {"spectre", "Spectre sur le capteur"},
    {"rendement", "Rendement selon la longueur d'onde"},
    {"snr_lambda", "S/N selon la longueur d'onde"},
}};

// The plot's frame: the lowest and highest x, and y of the curves and the
// target; the names' places are fractions of it.
PlotFrame plotFrame(const PlotDescription& plot);

// Places a plot's names for a plot drawn at `area`; sets `frame`.
void placeNames(PlotDescription& plot, PlotArea area);

// A plot's text alternative: its abscissa and each curve, at most `rows`
// rows evenly spread, the numbers shown as results are (5 digits) in the
// face's separator.
struct PlotTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};
PlotTable plotTable(const PlotDescription& plot, std::string_view separator, std::size_t rows);

// The plots of an evaluated, possible design; `lines` are the design's own;
// the names placed for plots drawn at `area`.
std::array<PlotDescription, kPlotCount> describePlots(const DesignInput& in,
                                                      const DesignOutcome& outcome,
                                                      const LineReport& lines, PlotArea area = {});

}  // namespace kelvora::design
