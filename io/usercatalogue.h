#pragma once

#include <string>

#include "model/detectors.h"

namespace kelvora::io {

// The user's own sensors file: $XDG_CONFIG_HOME/kelvora/detecteurs.json.
std::string userCataloguePath();

// The built-ins and the user's own sensors. A file that cannot be read
// leaves the built-ins alone and says why in `warning` (French).
DetectorCatalogue loadCatalogue(std::string* warning = nullptr);
// The same from given bytes (a JSON array of sensors), for tests.
DetectorCatalogue catalogueFromJson(std::string_view bytes, std::string* warning);

}  // namespace kelvora::io
