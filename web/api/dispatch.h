#pragma once

// One call by name, JSON in and out, for each of the page's WebAssembly
// modules: the calculator's own small one and the whole model's. Each
// module's entry catches what a call throws (only the entries may catch:
// see EXCEPTION_CATCHING_ALLOWED) and answers with these.

#include <span>
#include <string>
#include <utility>

#include "web/api/calls.h"

namespace kelvora::web {

using Call = Json (*)(const Json&);
using CallTable = std::span<const std::pair<const char*, Call>>;

inline std::string dispatch(CallTable calls, const std::string& name,
                            const std::string& argumentsJson) {
    const Json args = argumentsJson.empty() ? Json::object() : Json::parse(argumentsJson);
    for (const auto& [known, run] : calls)
        if (name == known) return run(args).dump(-1, ' ', false, Json::error_handler_t::replace);
    return Json({{"erreur", "appel inconnu : " + name}}).dump();
}

inline std::string outOfMemory() {
    return Json({{"erreur", "mémoire insuffisante pour ce calcul"}}).dump();
}

// The page builds every request; a bad one is the page's fault. The
// library's own text is English: the user is told in French only.
inline std::string invalidRequest() {
    return Json({{"erreur", "requête invalide"}}).dump();
}

}  // namespace kelvora::web
