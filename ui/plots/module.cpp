// The plots library's entry point, found by name when the program loads it.
#include <QtGlobal>

#include "ui/plots/designplots.h"

extern "C" Q_DECL_EXPORT QWidget* kelvora_create_plots(QWidget* parent,
                                                       kelvora::ui::PlotsView** view) {
    return kelvora::ui::createDesignPlots(parent, view);
}
