#pragma once

// Design files (.kelvora): UTF-8 JSON holding the window's seventeen texts
// as typed, its detector and entrance model, and the design model's inputs.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design/design.h"
#include "model/detectors.h"
#include "model/instrument.h"

namespace kelvora::io {

// 2: the design's defaults describe a real night (design.h); version 1's
// absent keys keep their old defaults. 3: calibrations stored as the ratio
// observed / predicted with the instrument they measured (« etalonnages »);
// version 2's measured efficiency (« rendement_mesure ») is converted.
inline constexpr int kDesignFileVersion = 4;

struct WindowState {
    InputTexts texts = defaultInputTexts();
    std::optional<std::string> detector = "KAF-0400";  // nullopt: no button selected
    bool barlow = true;
};

struct DesignFile {
    WindowState window;
    design::DesignInput design;
    // The design is the user's own (read from a file, or edited), not the
    // defaults: only then is it written, and the design window shows it.
    bool hasDesign = false;
    // What reading set aside, in French (a damaged or implausible
    // calibration): the rest of the file opens, and every face says these.
    std::vector<std::string> notes;
};

// Parses a file's bytes. "" or the French problem (without the file name).
std::string parseDesignFile(std::string_view bytes, const DetectorCatalogue& catalogue,
                            DesignFile& out);
std::string serializeDesignFile(const DesignFile& file);
// Whether bytes are a Kelvora design, whatever its version or its state: a
// JSON object whose "format" is "kelvora". Only such a file, or an empty
// one, may be written over.
bool isDesignFile(std::string_view bytes);

// Reads and writes a file; "" or a French message naming the file. Writing
// is atomic: the old file stays whole until the new one is complete; it
// never replaces a file that is not a design (isDesignFile).
std::string readDesignFile(const std::string& path, const DetectorCatalogue& catalogue,
                           DesignFile& out);
std::string writeDesignFile(const std::string& path, const DesignFile& file);

// A design's calibrations as the file's « etalonnages » section writes
// them, for a face that passes them as JSON (the page); "" or the French refusal.
std::string parseCalibrations(std::string_view json, std::vector<design::MeasuredRatio>& out);
std::string calibrationsJson(const std::vector<design::MeasuredRatio>& list);

}  // namespace kelvora::io
