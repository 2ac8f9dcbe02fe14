#include <benchmark/benchmark.h>

#include <QPushButton>

#include "ui/mainwindow.h"

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

}  // namespace
