#include "ui/plotsloader.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kelvora::ui {

namespace {

PlotsFactory linked = nullptr;

// Beside the program in the build tree, in its private library folder once installed.
PlotsFactory loadFactory(QString& why) {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& path : {dir + QStringLiteral("/kelvora_plots.so"),
                                dir + QStringLiteral("/../lib/kelvora/kelvora_plots.so")}) {
        QLibrary lib(path);
        if (!lib.load()) {
            why = lib.errorString();
            continue;
        }
        if (auto f = reinterpret_cast<PlotsFactory>(lib.resolve("kelvora_create_plots"))) return f;
        why = lib.errorString();
    }
    return nullptr;
}

}  // namespace

void usePlotsFactory(PlotsFactory factory) {
    linked = factory;
}

QWidget* createPlots(QWidget* parent, PlotsView** view, QString& why) {
    if (!linked) linked = loadFactory(why);
    return linked ? linked(parent, view) : nullptr;
}

}  // namespace kelvora::ui
