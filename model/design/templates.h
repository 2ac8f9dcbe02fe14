#pragma once

// Stellar spectra by spectral type: the Pickles (1998) library binned to
// 10 Å from 3000 to 11000 Å (docs/physics.md, the source).

#include <string>
#include <string_view>
#include <vector>

namespace kelvora::design {

// "O5V" … "M5III", in the library's order.
const std::vector<std::string>& templateNames();
bool isTemplate(std::string_view name);
// Photons per Å at λ over photons per Å at 5500 Å, for the named type:
// F_λ(λ) λ / (F_λ(5500) · 5500), linear between the 10 Å bins and held at
// the ends. NaN for an unknown name.
double templatePhotonRatio(std::string_view name, double lambdaA);

}  // namespace kelvora::design
