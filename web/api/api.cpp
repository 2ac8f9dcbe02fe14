#include "web/api/api.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
#define EMSCRIPTEN_KEEPALIVE  // built natively for measurements
#endif

#include <cstdio>
#include <exception>
#include <new>
#include <utility>

#include "web/api/calls.h"

namespace kelvora::web {

namespace {

using Call = Json (*)(const Json&);

// The calculator's part first: the page shows it before building the rest.
Json calculatorSchema(const Json&) {
    return formSchema();
}

#ifndef KELVORA_CALCULATOR_ONLY
Json designPageSchema(const Json&) {
    return designSchema();
}
#endif

#ifdef KELVORA_CALCULATOR_ONLY
// The calculator's own module: the first page needs only the window's
// calculation, so it loads before the whole model.
const std::pair<const char*, Call> kCalls[] = {
    {"schemaCalculateur", calculatorSchema},
    {"calc", calculate},
    {"lecture", readingNotes},
};
#else
const std::pair<const char*, Call> kCalls[] = {
    {"schemaCalculateur", calculatorSchema},
    {"schemaConception", designPageSchema},
    {"calc", calculate},
    {"lecture", readingNotes},
    {"design", evaluateDesign},
    {"mesure", timeEvaluation},
    {"propose", proposeDesigns},
    {"compte", countProposals},
    {"readFile", readFile},
    {"etalonner", calibrateSpectrum},
    {"mesureEtalonnage", timeCalibration},
    {"writeFile", writeFile},
};
#endif

}  // namespace

std::string call(const std::string& name, const std::string& argumentsJson) {
    try {
        const Json args = argumentsJson.empty() ? Json::object() : Json::parse(argumentsJson);
        for (const auto& [known, run] : kCalls)
            if (name == known)
                return run(args).dump(-1, ' ', false, Json::error_handler_t::replace);
        return Json({{"erreur", "appel inconnu : " + name}}).dump();
    } catch (const std::bad_alloc&) {
        return Json({{"erreur", "mémoire insuffisante pour ce calcul"}}).dump();
    } catch (const Json::exception&) {
        // The page builds every request; a bad one is the page's fault. The
        // library's own text is English: the user is told in French only.
        return Json({{"erreur", "requête invalide"}}).dump();
    } catch (const std::exception& e) {
        // Anything else is Kelvora's own fault: said on the console, where
        // the page's tests look, not passed off as a bad request.
        std::fprintf(stderr, "kelvora : erreur interne : %s\n", e.what());
        return Json({{"erreur", "erreur interne de Kelvora"}}).dump();
    }
}

}  // namespace kelvora::web

// The one entry point the page calls (through ccall). The answer stays
// valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char* kv_call(const char* name, const char* args) {
    static std::string answer;
    answer = kelvora::web::call(name, args);
    return answer.c_str();
}
