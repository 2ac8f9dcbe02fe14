#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/calculation.h"

namespace kelvora::testing {

// A catalogue row by name.
inline DetectorModel detector(std::string_view caption) {
    return *DetectorCatalogue().find(caption);
}

// The default instrument with some fields retyped.
inline RunInput withTexts(std::initializer_list<std::pair<Control, const char*>> texts,
                          DetectorModel detector = builtInDetectors()[0], bool barlow = true) {
    RunInput in;
    for (const auto& [control, text] : texts) in.texts[indexOf(control)] = text;
    in.detector = detector;
    in.barlowSelected = barlow;
    return in;
}

inline std::vector<std::string> shownTexts(const RunOutput& out) {
    std::vector<std::string> texts;
    for (const ShownText& s : out.shown) texts.push_back(s.text);
    return texts;
}

}  // namespace kelvora::testing
