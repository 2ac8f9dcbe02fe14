#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QPushButton>

#include "ui/designwindow.h"
#include "ui/mainwindow.h"
#include "ui/plots/designplots.h"
#include "ui/plotsloader.h"
#include "ui/workbench.h"

namespace {

// A click on "Calcul" until every field holds its new text.
void calculClick(benchmark::State& state) {
    kelvora::ui::MainWindow window;
    window.Form_Load();
    window.show();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdCalcul"));
    for (auto _ : state) button->click();
}
BENCHMARK(calculClick)->Name("calcul-click")->Unit(benchmark::kMicrosecond);

// One keystroke in « Conception avancée » until every result and all five
// plots show the new design.
void designKeystroke(benchmark::State& state) {
    kelvora::ui::usePlotsFactory(kelvora::ui::createDesignPlots);
    kelvora::ui::MainWindow window;
    window.Form_Load();
    window.workbench().openDesignWindow();
    QLineEdit* field = window.workbench().designWindow()->field("cible_snr");
    int i = 0;
    for (auto _ : state) field->setText(QString::number(100 + (++i % 2)));
}
BENCHMARK(designKeystroke)->Name("design-keystroke")->Unit(benchmark::kMillisecond);

}  // namespace
