#pragma once

// The designs and bad inputs every face must read alike (tests/data/faces.json).

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "model/detectors.h"

namespace kelvora::testkeys {

using Json = nlohmann::json;
using Pairs = std::vector<std::pair<std::string, std::string>>;

inline Json facesTable() {
    std::ifstream in(KELVORA_SOURCE_DIR "/tests/data/faces.json");
    return Json::parse(in);
}

// The table's designs, then each sensor of the catalogue named alone.
inline std::vector<Pairs> facesDesigns() {
    std::vector<Pairs> out;
    const Json table = facesTable();  // held: the loop refers into it
    for (const Json& d : table["designs"]) out.push_back(d.get<Pairs>());
    const DetectorCatalogue catalogue;
    for (const DetectorModel& d : catalogue.rows()) out.push_back({{"detecteur", d.caption}});
    return out;
}

}  // namespace kelvora::testkeys
