#pragma once

// The photometric bands a star's magnitude is given in (Bessell 1990 B, V,
// R; Gaia DR3 G), compiled in from data/passbands.csv with their sources,
// as photon-counting responses; and synthetic photometry through them.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvora::design {

// "V", "B", "R", "G": V first, the default.
const std::vector<std::string>& bandNames();
bool isBand(std::string_view name);

// A band's photon-counting response on a 10 Å grid: Bessell's energy
// response divided by λ (Bessell & Murphy 2012), Gaia's as published,
// scaled to a peak of 1. Empty for an unknown band.
const std::vector<std::pair<double, double>>& photonResponse(std::string_view band);

// ∫ n(λ) S(λ) dλ, the photons per second a source of n(λ) photons per Å
// gives through the band (trapezoid on the response's grid).
template <class Spectrum>
double throughBand(std::string_view band, Spectrum n) {
    const auto& s = photonResponse(band);
    double sum = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        sum += (s[i].first - s[i - 1].first) *
               (n(s[i].first) * s[i].second + n(s[i - 1].first) * s[i - 1].second) / 2;
    return sum;
}

}  // namespace kelvora::design
