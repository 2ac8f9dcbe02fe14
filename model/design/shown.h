#pragma once

// How numbers are shown to people, the same in the windows, the page and
// the proposer tables: results to 5 significant digits, inputs with every
// digit, each in the face's decimal separator. Files and the companion's
// machine formats keep the period and every digit (keyText).

#include <string>
#include <string_view>

#include "model/design/design.h"
#include "model/design/keys.h"

namespace kelvora::design {

// `digits` significant digits, as printf's %g writes them.
std::string shownNumber(double value, int digits, std::string_view separator);
// 5 significant digits ("5,9178", "1,2346e+05"); "—" where none applies.
std::string shownResult(double value, std::string_view separator);
// Every digit, in plain decimals where they stay readable ("5,86", "2500").
std::string shownValue(double value, std::string_view separator);
// A key's value as a field shows it; the word keys as their word.
std::string shownKey(const DesignInput& in, std::string_view key, std::string_view separator);

// A result's cell as shown: a number as shownResult, a word as it is, a
// flag as « oui » or « non ».
std::string shownCell(const ResultCell& cell, std::string_view separator);

}  // namespace kelvora::design
