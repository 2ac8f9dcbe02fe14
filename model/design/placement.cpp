#include "model/design/placement.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/design/plots.h"

namespace kelvora::design {

namespace {

constexpr double kCharPx = 6.5, kRowPx = 14, kGapPx = 5;
constexpr int kRows = 3;

struct Box {
    double left, right, bottom, top;  // fractions of the axes
};

bool overlaps(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

std::size_t characters(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The label's box from `bottom` to `top`, centred on `x` but kept inside
// the plot. Rows share their edges exactly: stacked rows never overlap. A
// label wider than the plot is centred, and `inside` then refuses it.
Box boxAt(double x, double bottom, double top, double width) {
    const double centre = width >= 1 ? 0.5 : std::clamp(x, width / 2, 1 - width / 2);
    return {centre - width / 2, centre + width / 2, bottom, top};
}

// The places tried for a label, best first.
std::vector<Box> placesFor(double x, double y, double width, bool atTop, double heightPx) {
    const double row = kRowPx / heightPx, gap = kGapPx / heightPx;
    std::vector<Box> places;
    for (int r = 0; r < kRows; ++r) {
        if (atTop) {
            places.push_back(boxAt(x, 1 - (r + 1) * row, 1 - r * row, width));
        } else {
            places.push_back(boxAt(x, y + gap + r * row, y + gap + (r + 1) * row, width));
            places.push_back(boxAt(x, y - gap - (r + 1) * row, y - gap - r * row, width));
        }
    }
    return places;
}

bool inside(const Box& b) {
    return b.bottom >= 0 && b.top <= 1 && b.left >= 0 && b.right <= 1;
}

double fraction(double v, double low, double high) {
    return high > low ? (v - low) / (high - low) : 0.5;
}

}  // namespace

void placeLabels(std::vector<PlotMark>& marks, const PlotFrame& f, bool atTop, PlotArea area) {
    std::vector<Box> taken;
    for (PlotMark& m : marks) {
        const double x = fraction(m.x, f.xLow, f.xHigh), y = fraction(m.y, f.yLow, f.yHigh);
        const double width = (static_cast<double>(characters(m.name)) * kCharPx + 4) / area.width;
        m.labelShown = false;
        for (const Box& b : placesFor(x, y, width, atTop, area.height)) {
            if (!inside(b) || std::any_of(taken.begin(), taken.end(),
                                          [&](const Box& t) { return overlaps(b, t); }))
                continue;
            taken.push_back(b);
            m.labelShown = true;
            m.labelX = f.xLow + (b.left + b.right) / 2 * (f.xHigh - f.xLow);
            m.labelY = f.yLow + b.bottom * (f.yHigh - f.yLow);
            break;
        }
    }
}

}  // namespace kelvora::design
