#include "model/design/passbands.h"

#include <algorithm>
#include <iterator>

namespace kelvora::design {

namespace {

struct PassbandRow {
    const char* band;
    double lambdaA, response;
};

#include "passbands_table.inc"

constexpr double kGridA = 10;

// Bessell's bands are tabulated for detectors that integrate energy.
bool energyResponse(std::string_view band) {
    return band != "G";
}

std::vector<std::pair<double, double>> tabulated(std::string_view band) {
    std::vector<std::pair<double, double>> t;
    for (const PassbandRow& r : kPassbandRows)
        if (band == r.band) t.emplace_back(r.lambdaA, r.response);
    return t;
}

// Linear between the table's points; 0 outside them.
double at(const std::vector<std::pair<double, double>>& t, double lambdaA) {
    const auto hi = std::lower_bound(t.begin(), t.end(), lambdaA,
                                     [](const auto& p, double v) { return p.first < v; });
    if (hi == t.end() || hi == t.begin())
        return hi != t.end() && hi->first == lambdaA ? hi->second : 0;
    const auto lo = hi - 1;
    return lo->second + (lambdaA - lo->first) / (hi->first - lo->first) * (hi->second - lo->second);
}

std::vector<std::pair<double, double>> resampled(std::string_view band) {
    const auto t = tabulated(band);
    std::vector<std::pair<double, double>> grid;
    if (t.empty()) return grid;
    double peak = 0;
    for (int k = 0; t.front().first + k * kGridA <= t.back().first; ++k) {
        const double l = t.front().first + k * kGridA;
        const double s = at(t, l) / (energyResponse(band) ? l : 1);
        grid.emplace_back(l, s);
        peak = std::max(peak, s);
    }
    for (auto& point : grid) point.second /= peak;
    return grid;
}

}  // namespace

const std::vector<std::string>& bandNames() {
    static const std::vector<std::string> names{"V", "B", "R", "G"};
    return names;
}

bool isBand(std::string_view name) {
    const auto& names = bandNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

const std::vector<std::pair<double, double>>& photonResponse(std::string_view band) {
    static const std::vector<std::vector<std::pair<double, double>>> bands = [] {
        std::vector<std::vector<std::pair<double, double>>> all;
        for (const std::string& name : bandNames()) all.push_back(resampled(name));
        return all;
    }();
    static const std::vector<std::pair<double, double>> none;
    const auto& names = bandNames();
    const auto it = std::find(names.begin(), names.end(), band);
    return it == names.end() ? none : bands[static_cast<std::size_t>(it - names.begin())];
}

}  // namespace kelvora::design
