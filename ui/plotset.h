#pragma once

// What the design window's plots draw, as plain data: the plots themselves
// only draw, and live in a module loaded when first shown.

#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace kelvora::design {
struct DesignInput;
struct DesignOutcome;
struct LineReport;
}  // namespace kelvora::design

namespace kelvora::ui {

struct PlotMark {
    double x = 0, y = 0;
    QString name;
};

struct Plot {
    QString title, xTitle, yTitle;
    bool wholeX = false;  // integer ticks (pixels)
    using Curve = std::vector<std::pair<double, double>>;
    std::vector<std::pair<QString, Curve>> curves;  // (name, points)
    bool lastIsTotal = false;                       // drawn heavier, in black
    std::optional<double> level;  // a horizontal line (the target), named levelName
    QString levelName;
    std::optional<PlotMark> mark;
    std::vector<PlotMark> labels;  // named points (lines on the spectrum), no legend
};

// S/N against exposure, S/N against magnitude, the spectrum across the
// sensor, the efficiencies and the S/N against wavelength.
inline constexpr std::size_t kPlotCount = 5;
using PlotSet = std::array<Plot, kPlotCount>;
PlotSet plotSet(const design::DesignInput& in, const design::DesignOutcome& outcome,
                const design::LineReport& lines);

// The plots as the design window uses them, whatever draws them.
class PlotsView {
  public:
    virtual ~PlotsView() = default;
    virtual void show(const PlotSet& plots) = 0;
    // An impossible instrument: each plot says why, and cannot be exported.
    virtual void showError(const QString& error) = 0;
    // The reference lines' verdicts, as HTML, in a tab of their own.
    virtual void showNotes(const QString& html) = 0;
};

}  // namespace kelvora::ui
