#pragma once

// What the browser page asks of the model: one call by name, with its
// arguments and answer as JSON text. No formula here: every answer comes
// from model/ and the file format the desktop uses.

#include <string>

namespace kelvora::web {

// "schemaCalculateur", "schemaConception", "calc", "lecture", "design", "mesure", "propose",
// "compte", "readFile", "writeFile". A malformed request answers {"erreur": "..."}.
std::string call(const std::string& name, const std::string& argumentsJson);

}  // namespace kelvora::web
