#include "model/design/templates.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace kelvora::design {

namespace {

#include "templates_table.inc"

constexpr double kStepA = 10;
constexpr double kNormalisationA = 5500;

// The names measured once: a slitless sky asks for a column per wavelength.
int columnOf(std::string_view name) {
    static const auto names = [] {
        std::array<std::string_view, std::size(kTemplateNames)> views;
        for (std::size_t i = 0; i < views.size(); ++i) views[i] = kTemplateNames[i];
        return views;
    }();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (name == names[i]) return static_cast<int>(i) + 1;
    return -1;
}

// F_λ at λ, linear between the bins, held at the table's ends.
double flux(int column, double lambdaA) {
    const double first = kTemplateTable[0][0];
    if (std::isnan(lambdaA)) return NAN;  // no bin to convert it to
    const double at = std::clamp((lambdaA - first) / kStepA, 0.0, kTemplateRows - 1.0);
    const int i = std::min(static_cast<int>(at), kTemplateRows - 2);
    const double f = at - i;
    return kTemplateTable[i][column] +
           f * (kTemplateTable[i + 1][column] - kTemplateTable[i][column]);
}

}  // namespace

const std::vector<std::string>& templateNames() {
    static const std::vector<std::string> names(std::begin(kTemplateNames),
                                                std::end(kTemplateNames));
    return names;
}

bool isTemplate(std::string_view name) {
    return columnOf(name) > 0;
}

double templatePhotonRatio(std::string_view name, double lambdaA) {
    const int column = columnOf(name);
    if (column < 0) return NAN;
    return flux(column, lambdaA) * lambdaA / (flux(column, kNormalisationA) * kNormalisationA);
}

}  // namespace kelvora::design
