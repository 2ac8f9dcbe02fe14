#pragma once

// Where each named mark's label goes on a plot so that no label covers
// another or crosses the plot's edge: above or below its point, raised a
// row at a time, and dropped when no row is free. Worked in fractions of
// the plot's axes for a plot of a given size; every face puts the text
// where this says.

#include <cmath>
#include <vector>

namespace kelvora::design {

struct PlotMark;

struct PlotFrame {
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
};

// The plot's area inside its axes, in pixels, as a face draws it; labels
// are about 6.5 pixels a character and 14 pixels high.
struct PlotArea {
    double width = 560, height = 200;
};

// Labels beside their points (`atTop` false) or in rows under the plot's
// top edge (`atTop` true, for vertical lines). Earlier marks are placed
// first: the caller orders them by importance.
void placeLabels(std::vector<PlotMark>& marks, const PlotFrame& frame, bool atTop,
                 PlotArea area = {});

// A round step between ticks giving about four intervals over [low, high]:
// 1, 2 or 5 times a power of ten. Inline: the window's plots module uses
// it without the model's code.
inline double roundTickStep(double low, double high) {
    const double raw = (high - low) / 4;
    if (!(raw > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

}  // namespace kelvora::design
