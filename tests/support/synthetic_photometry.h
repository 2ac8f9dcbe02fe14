#pragma once

// Synthetic photometry done by the tests themselves, from the model's data
// files read here with a reader of their own: the passbands
// (model/design/data/passbands.csv) and the stellar templates
// (model/design/data/pickles-templates.csv).

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::testphot {

using Table = std::vector<std::pair<double, double>>;

inline std::string dataFile(const char* name) {
    return std::string(KELVORA_SOURCE_DIR "/model/design/data/") + name;
}

// band → (λ, response as tabulated)
inline std::map<std::string, Table> passbands() {
    std::map<std::string, Table> out;
    std::ifstream in(dataFile("passbands.csv"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("band,", 0) == 0) continue;
        std::stringstream row(line);
        std::string band, l, r;
        std::getline(row, band, ',');
        std::getline(row, l, ',');
        std::getline(row, r, ',');
        out[band].emplace_back(std::stod(l), std::stod(r));
    }
    return out;
}

// type → (λ, F_λ)
inline std::map<std::string, Table> templates() {
    std::map<std::string, Table> out;
    std::ifstream in(dataFile("pickles-templates.csv"));
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::stringstream row(line);
        std::string cell;
        std::vector<std::string> cells;
        while (std::getline(row, cell, ',')) cells.push_back(cell);
        if (cells[0] == "lambda_a") {
            names.assign(cells.begin() + 1, cells.end());
            continue;
        }
        for (std::size_t i = 1; i < cells.size(); ++i)
            out[names[i - 1]].emplace_back(std::stod(cells[0]), std::stod(cells[i]));
    }
    return out;
}

inline double linear(const Table& t, double x) {
    if (x < t.front().first || x > t.back().first) return 0;
    for (std::size_t i = 1; i < t.size(); ++i)
        if (x <= t[i].first)
            return t[i - 1].second + (x - t[i - 1].first) / (t[i].first - t[i - 1].first) *
                                         (t[i].second - t[i - 1].second);
    return t.back().second;
}

// Photons counted through the band from a spectrum given as photons per Å,
// on a 1 Å grid: Bessell's responses are for energy, photons count R/λ.
template <class Photons>
double counted(const std::string& band, Photons n) {
    const Table t = passbands().at(band);
    double sum = 0;
    for (double l = t.front().first; l <= t.back().first; l += 1) {
        const double s = linear(t, l) / (band == "G" ? 1 : l);
        sum += n(l) * s;
    }
    return sum;
}

// Photons per Å at λ over those at 5500 Å, for a template.
inline double photonRatio(const Table& f, double l) {
    return linear(f, l) * l / (linear(f, 5500) * 5500);
}

// The factor that makes `type`, pinned at 5500 Å, give through `band` what
// the A0V template (the zero-magnitude reference) gives.
inline double templateScale(const std::string& type, const std::string& band) {
    const auto all = templates();
    const Table &ref = all.at("A0V"), &src = all.at(type);
    return counted(band, [&](double l) { return photonRatio(ref, l); }) /
           counted(band, [&](double l) { return photonRatio(src, l); });
}

}  // namespace kelvora::testphot
