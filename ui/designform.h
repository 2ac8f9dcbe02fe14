#pragma once

// What the design window takes from the main window's form, and numbers
// shown with the user's decimal separator by the model's own rule.

#include <QLocale>
#include <QString>
#include <string>

#include "model/calculation.h"
#include "model/design/design.h"

namespace kelvora::ui::designform {

// The user's decimal separator, as the model's readers and writers take it.
std::string separator(const QLocale& locale);
// A result: 5 significant digits, the regional separator, no grouping.
QString resultText(double v, const QLocale& locale);

// The form's values for the quantities both models share, over `base`.
design::DesignInput designFromForm(const RunInput& form, const DetectorCatalogue& catalogue,
                                   design::DesignInput base);

}  // namespace kelvora::ui::designform
