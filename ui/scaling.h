#pragma once

#include <QRect>
#include <QSize>

#include "model/windowlayout.h"

class QWidget;

namespace kelvora::ui {

// Pixels the control needs for its caption or text in its own font and style.
QSize requiredSize(const QWidget& widget, Kind kind, const QString& text);

// Pixels per twip: the smallest factor, never below 1/15, at which the
// required size fits the twips box.
double fittingFactor(double current, QSize required, int widthTwips, int heightTwips);

// A twips rectangle at that factor: positions rounded, sizes rounded up
// so that what fits at the factor still fits after rounding.
QRect toPixels(const ControlSpec& entry, double factor);
QSize clientPixels(double factor);

}  // namespace kelvora::ui
