#pragma once

// Every design key described once: how people read it (group, label, unit,
// hint, the words it takes), how it is stored and checked (kind, field,
// limits), whether a sensor sets it and which geometries use it. Every
// face, the file reader and the companion's help read this table.

#include <array>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/design/design.h"

namespace kelvora::design {

enum class KeyKind {
    Number,  // any finite number
    Whole,   // a whole number: 1.5 is refused
    Choice,  // one of two words, stored as a yes/no
    Word,    // a name: the geometry or the sensor
};

// The geometries a key applies to, one bit per geometry.
using GeometrySet = unsigned;
constexpr GeometrySet only(Geometry g) {
    return 1u << static_cast<unsigned>(g);
}
inline constexpr GeometrySet kEveryGeometry = 0x1f;
inline constexpr GeometrySet kCollimated = kEveryGeometry & ~only(Geometry::Convergent);

// The values a number may take, where its key applies: between low and high
// (strictly where open), or exactly 0 where zero means "without".
struct Limit {
    double low = -std::numeric_limits<double>::infinity();
    bool lowOpen = false;
    double high = std::numeric_limits<double>::infinity();
    bool highOpen = false;
    bool zeroMeansWithout = false;
    const char* need = "";  // the rule as the message says it
};
bool within(const Limit& l, double v);

// (word, caption) for a word key with a fixed list.
using WordList = std::vector<std::pair<std::string, std::string>>;

struct KeyRow {
    const char* key;
    const char* group;  // starts a new group of fields; nullptr: the same group
    const char* label;  // '&' marks the window's keyboard mnemonic
    const char* unit;   // "" without
    const char* note;   // said after the unit in the label ("0 : sans"); "" without
    const char* hint;   // what the short label leaves out; "" if nothing
    KeyKind kind;
    double DesignInput::*number = nullptr;  // Number and Whole
    bool DesignInput::*flag = nullptr;      // Choice
    std::array<const char*, 2> words{};     // Choice: the stored words, false then true
    std::array<const char*, 2> captions{};  // Choice: as the lists show them
    Limit limit{};
    bool fromSensor = false;  // choosing a sensor sets it
    GeometrySet geometries = kEveryGeometry;
    bool newColumn = false;                     // the window starts a new column of groups here
    std::string DesignInput::*word = nullptr;   // Word keys stored as their word
    WordList (*choices)() = nullptr;            // Word keys with a fixed list
    bool instrument = false;                    // part of the instrument a calibration measures
    bool (*valid)(std::string_view) = nullptr;  // Word keys written freely: the rule they keep
    bool sunOnly = false;                       // read only with `source=soleil`: shown only then
    bool starOnly = false;                      // the star's and the night's: hidden for the Sun
};

// In the order the forms, the help and the files list them.
std::span<const KeyRow> keyRows();
const KeyRow* findKey(std::string_view key);
bool appliesTo(const KeyRow& row, Geometry g);
// Whether a face shows an input for a design of the Sun (`sun`) or of a
// star: the Sun's only for the Sun, the star's and the night's only for a star.
bool shownFor(const KeyRow& row, bool sun);

// « Diamètre (mm) », « Fente (µm, 0 : sans) »; the mnemonic kept or not.
std::string fullLabel(const KeyRow& row, bool mnemonic = false);
// The key's value in a design, as a number; NaN for the word keys.
double keyNumber(const DesignInput& in, const KeyRow& row);

}  // namespace kelvora::design
