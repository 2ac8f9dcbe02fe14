#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/design/lines.h"

namespace kelvora::io {

// The user's own lines, beside their sensors: $XDG_CONFIG_HOME/kelvora/raies.json,
// a JSON array of {"nom", "lambda_a", "type"}.
std::string userLinesPath();

// The built-in lines, then the user's. A file that cannot be read leaves
// the built-ins alone and says why in `warning` (French).
std::vector<design::Line> loadLines(std::string* warning = nullptr);
// The same from given bytes, for tests.
std::vector<design::Line> linesFromJson(std::string_view bytes, std::string* warning);

}  // namespace kelvora::io
