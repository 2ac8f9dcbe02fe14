#pragma once

// One of the design's plots drawn small for the printed report: axes with
// round ticks, the curves, the target, the marked point and the names where
// the model placed them.

#include <string>

#include "model/design/plots.h"

class QPainter;
class QRectF;

namespace kelvora::io {

// `unit` is the size of a printed point in the painter's pixels.
void paintPlot(QPainter& painter, const QRectF& box, const design::PlotDescription& plot,
               const std::string& separator, double unit);

}  // namespace kelvora::io
