#pragma once

class QWidget;

namespace kelvora::ui {

// « Aide › Manuel »: the French user manual, built into the program so that
// it opens the same installed or from the build tree.
void showUserManual(QWidget* parent);

}  // namespace kelvora::ui
