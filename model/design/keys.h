#pragma once

// The design model's inputs and results by name, as the companion's
// KEY=VALUE arguments, its CSV columns and JSON keys, and design files
// spell them.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/design/design.h"
#include "model/detectors.h"

namespace kelvora::design {

struct NumericKey {
    const char* name;
    double DesignInput::*field;
};
std::span<const NumericKey> numericKeys();

// Every input key, in the documented order ("geometrie" and "detecteur" among them).
std::vector<std::string> inputKeys();
bool isInputKey(std::string_view key);
// Keys written as words: "geometrie", "detecteur", "courbe_qe", "snr_par".
bool isTextKey(std::string_view key);

// A number written in full: "2.5", "-3", "1e-3"; not "2,5", "abc", "" or "inf".
std::optional<double> strictNumber(std::string_view text);

// Sets one key from its text. "" or a French usage error naming the key.
// A detector name also takes the sensor's values (see applyDetector): set
// "detecteur" before the keys that override them.
std::string setKey(DesignInput& in, std::string_view key, std::string_view text,
                   const DetectorCatalogue& catalogue);
// The key's value as text, the way setKey reads it back.
std::string keyText(const DesignInput& in, std::string_view key);

// One result: a number (NaN when not applicable), a word, or a yes/no.
struct ResultCell {
    enum class Kind { Number, Text, Flag } kind;
    double number = 0;
    const char* text = "";
    bool flag = false;
};
struct NamedResult {
    const char* name;
    ResultCell cell;
};

// Result columns in the documented order; the target's two only with a target.
std::vector<const char*> resultNames(bool withTarget);
std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget);

}  // namespace kelvora::design
