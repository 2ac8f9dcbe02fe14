#pragma once

// « Conception › Étalonner sur un spectre… »: the user's spectrum against
// the design's prediction, a table and two plots, and « Utiliser ce
// rendement » to predict from then on with the measured efficiency.

#include <QDialog>
#include <functional>

#include "model/design/calibration.h"

namespace kelvora::ui {

// A dialog over `parent` showing `c`; `use` is called with the measured
// efficiency when the user takes it.
QDialog* calibrationDialog(QWidget* parent, const design::Calibration& c,
                           const std::string& separator,
                           std::function<void(const design::MeasuredEfficiency&)> use);

}  // namespace kelvora::ui
