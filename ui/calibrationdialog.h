#pragma once

// « Conception › Étalonner sur un spectre… »: the user's spectrum against
// the design's prediction, a table and two plots (three with earlier
// calibrations: the ratio against the date), the gain, exposure and
// airmass used, which the user may correct, and « Utiliser ce rendement »
// to add the calibration to the design's.

#include <QDialog>
#include <functional>

#include "model/design/calibration.h"

namespace kelvora::ui {

struct CalibrationActions {
    // The calibration taken.
    std::function<void(const design::MeasuredRatio&)> use;
    // « Recalculer » with the gain, exposure and airmass the user typed.
    std::function<void(const design::CalibrationOverrides&)> recalculate;
};

// A dialog over `parent` showing `c`, calibrated with `earlier` already held.
QDialog* calibrationDialog(QWidget* parent, const design::Calibration& c,
                           const std::vector<design::MeasuredRatio>& earlier,
                           const std::string& separator, CalibrationActions actions);

}  // namespace kelvora::ui
