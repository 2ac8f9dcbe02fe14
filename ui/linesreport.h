#pragma once

#include <QString>

#include "model/design/lines.h"

namespace kelvora::ui {

// The pairs' verdicts, each lamp's count and the lines on the sensor, as
// the design window's « Raies » tab shows them (HTML, numbers in the user's format).
QString linesReportHtml(const design::LineReport& report);

}  // namespace kelvora::ui
