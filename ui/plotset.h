#pragma once

// The design window's plots draw what the model describes (plots.h): the
// plots themselves only draw, and live in a module loaded when first shown.

#include <QString>

#include "model/design/plots.h"
#include "model/design/sunfigures.h"

namespace kelvora::ui {

using Plot = design::PlotDescription;
using PlotMark = design::PlotMark;
using design::kPlotCount;
using PlotSet = std::array<Plot, kPlotCount>;

// The plots as the design window uses them, whatever draws them.
class PlotsView {
  public:
    virtual ~PlotsView() = default;
    virtual void show(const PlotSet& plots) = 0;
    // An impossible instrument: each plot says why, and cannot be exported.
    virtual void showError(const QString& error) = 0;
    // The reference lines' verdicts, as HTML, in a tab of their own.
    virtual void showNotes(const QString& html) = 0;
    // A design of the Sun's pictures in place of the star's S/N plots; none
    // for a star.
    virtual void showSun(const design::SunFigures* sun) = 0;
    // The size a plot is drawn at inside its axes: its names are placed for it.
    virtual design::PlotArea plotArea() const = 0;
};

}  // namespace kelvora::ui
