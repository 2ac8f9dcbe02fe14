#pragma once

#include <string>

namespace kelvora {

// Decimal separator of the user's regional settings (LC_ALL, then
// LC_NUMERIC, then LANG), as UTF-8. The window and kelvora-calc both
// ask here so that they never disagree.
std::string regionalDecimalSeparator();

}  // namespace kelvora
