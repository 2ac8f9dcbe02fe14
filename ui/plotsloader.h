#pragma once

#include <QString>

#include "ui/plotset.h"

class QWidget;

namespace kelvora::ui {

// Makes the plots' widget, a child of `parent`, that draws on `view`.
using PlotsFactory = QWidget* (*)(QWidget* parent, PlotsView** view);

// The plots library (Qt Charts) is loaded on first use: a user who never
// opens the design window never pays for it. nullptr, with `why`, if it
// cannot be loaded.
QWidget* createPlots(QWidget* parent, PlotsView** view, QString& why);
// Programs linked with the plots directly (tests, tools) name them here.
void usePlotsFactory(PlotsFactory factory);

}  // namespace kelvora::ui
