#include "web/api/api.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#else
#define EMSCRIPTEN_KEEPALIVE  // built natively for measurements
#endif

#include <exception>
#include <new>

#include "web/api/dispatch.h"

namespace kelvora::web {

namespace {

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
        return dispatch(kCalls, name, argumentsJson);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::exception&) {
        return invalidRequest();
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
