#pragma once

// From keys and their texts to a design: the one way every face (the file,
// the companion, the windows, the page) reads one. Errors are data; the
// French sentence is made where it is shown (see describe in labels.h).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/design/design.h"
#include "model/detectors.h"

namespace kelvora::design {

// Every input key, in the table's order ("geometrie" and "detecteur" among them).
std::vector<std::string> inputKeys();
bool isInputKey(std::string_view key);
// Keys written as words: "geometrie", "detecteur", "courbe_qe", "snr_par".
bool isTextKey(std::string_view key);

// A typed number with its blanks trimmed, the spaces between its thousands
// removed and the face's decimal separator turned into the period: "2,5"
// with "," gives "2.5", "2 000" gives "2000".
std::string periodText(std::string_view text, std::string_view separator);
// A number written in full: "2.5", "-3", "1e-3"; not "2,5", "abc", "" or "inf".
std::optional<double> strictNumber(std::string_view text);

// One key's value: its text, or a number already read (a file's JSON number).
struct KeyValue {
    std::string key;
    std::string text;
    std::optional<double> number = std::nullopt;
};

// A number given as a number is shown as the shortest text that reads back.
std::string keyValueText(const KeyValue& v);

struct KeyedDesign {
    DesignInput input;
    std::vector<KeyError> errors;  // one per refused key; its value left as it was
};

// The sensor first (its values then give way to the other keys given), then
// every other key in any order. `separator` is the face's decimal separator:
// with "," both the comma and the period are read.
[[nodiscard]] KeyedDesign designFromKeys(std::span<const KeyValue> keys,
                                         const DetectorCatalogue& catalogue, DesignInput base = {},
                                         std::string_view separator = ".");

// One key alone; the sensor's name also sets its values (see applyDetector).
[[nodiscard]] std::optional<KeyError> setKey(DesignInput& in, const KeyValue& value,
                                             const DetectorCatalogue& catalogue,
                                             std::string_view separator = ".");

// The key's value as text, the way it is read back: a period, every digit.
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
// The Sun's results come with a design of the Sun (`withSun`, or the
// result's own `soleil`); a table of several designs asks for them once.
std::vector<const char*> resultNames(bool withTarget, bool withSun = false);
std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget);
std::vector<NamedResult> namedResults(const DesignResult& r, bool withTarget, bool withSun);
// A result only a design of the Sun has.
bool isSunResult(std::string_view name);
// Whether a face shows a result for a design of the Sun (`sun`) or of a
// star: the Sun's only for the Sun, the star's light's only for a star.
bool resultShownFor(std::string_view name, bool sun);
// One result by name; NaN if there is none.
double resultNumber(const DesignResult& r, std::string_view name);

}  // namespace kelvora::design
