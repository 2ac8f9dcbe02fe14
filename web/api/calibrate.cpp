// « Étalonner sur un spectre » in the page: the file's bytes (base64, as a
// page reads a picked or dropped file) read by the desktop's reader and
// calibrated by the model.
#include <chrono>

#include "io/designfile.h"
#include "io/spectrumfile.h"
#include "model/design/calibration.h"
#include "model/design/keys.h"
#include "model/design/measured.h"
#include "model/design/shown.h"
#include "web/api/calls.h"

namespace kelvora::web {

namespace {

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// The bytes of a base64 text; nullopt if it is not one.
std::optional<std::string> decoded(const std::string& text) {
    std::string out;
    out.reserve(text.size() / 4 * 3);
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        const int v = sextet(c);
        if (v < 0) return std::nullopt;
        bits = bits << 6 | static_cast<unsigned>(v);
        if ((count += 6) >= 8) {
            count -= 8;
            out += static_cast<char>(bits >> count & 0xff);
        }
    }
    return out;
}

// The exact number of bytes a base64 text holds, without decoding it.
std::size_t decodedSize(const std::string& text) {
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == '=') --n;
    return n / 4 * 3 + (n % 4 == 0 ? 0 : n % 4 - 1);
}

// The gain, exposure and airmass the user typed ({"gain_e_adu": text…});
// an empty or unreadable one is « as the file says ».
design::CalibrationOverrides overridesOf(const Json& args, const std::string& sep) {
    const Json given = args.value("observation", Json::object());
    const auto number = [&](const char* key) {
        const Json v = given.value(key, Json());
        if (!v.is_string()) return 0.0;
        return design::strictNumber(design::periodText(v.get<std::string>(), sep)).value_or(0);
    };
    return {number("gain_e_adu"), number("pose_s"), number("masse_air")};
}

Json answerOf(const design::Calibration& c, const design::DesignInput& in, const std::string& sep) {
    const design::PlotTable t = design::calibrationTable(c, sep);
    Json plots = Json::array();
    for (const design::PlotDescription& p : design::calibrationPlots(c))
        plots.push_back(plotJson(p, sep));
    std::vector<design::MeasuredRatio> all = in.etalonnages;
    all.push_back(c.ratio);
    if (const auto history = design::calibrationHistory(all); history.curves[0].second.size() > 1)
        plots.push_back(plotJson(history, sep));
    return {{"resume", design::calibrationSummary(c, sep)},
            {"observation",
             {{"gain_e_adu", design::shownValue(c.gain_e_adu, sep)},
              {"pose_s", design::shownValue(c.exptime_s, sep)},
              {"masse_air", design::shownValue(c.airmass, sep)}}},
            {"tableau", {{"colonnes", t.headers}, {"lignes", t.rows}}},
            {"graphiques", plots},
            {"etalonnage", Json::parse(io::calibrationsJson({c.ratio})).at(0)}};
}

}  // namespace

// {"cles", "separateur", "nom", "octets": base64, "date", "etalonnages":
// those held, "observation": the user's gain, exposure, airmass} → the
// table, the plots, the summary, the values used and the calibration as
// files write it.
Json calibrateSpectrum(const Json& args) {
    const std::string sep = separatorOf(args);
    KeyedJson read = readKeys(args.at("cles"), sep);
    if (!read.first.empty()) return {{"erreur", read.first}};
    if (const std::string e = readCalibrations(args, read.input); !e.empty())
        return {{"erreur", e}};
    const std::string& base64 = args.at("octets").get_ref<const std::string&>();
    if (decodedSize(base64) > design::kMaxSpectrumBytes) return {{"erreur", io::tooLarge()}};
    const auto bytes = decoded(base64);
    if (!bytes) return {{"erreur", "fichier illisible"}};
    const io::SpectrumRead spectrum = io::readSpectrum(*bytes);
    if (!spectrum.error.empty()) return {{"erreur", spectrum.error}};
    const design::Calibration c =
        design::calibrate(read.input, spectrum.spectrum, "", args.value("nom", std::string()),
                          overridesOf(args, sep));
    if (!c.error.empty()) return {{"erreur", c.error}};
    return answerOf(c, read.input, sep);
}

namespace {

double tired(double l) {
    return 0.7 - 0.1 * (l - 5000) / 3000;
}

}  // namespace

// For the benchmark, as the native one measures it: a synthetic spectrum of
// the design given, at most 4,000 samples written as text, read and fitted
// `fois` times → ms per read and fit.
Json timeCalibration(const Json& args) {
    const KeyedJson read = readKeys(args.value("cles", Json::object()), ".");
    if (!read.first.empty()) return {{"erreur", read.first}};
    const design::ObservedSpectrum s = design::syntheticSpectrum(read.input, tired, 60, 5);
    std::string text = "# EXPTIME = 60\n# GAIN = 1\nOBJNAME = 'banc'\n";
    for (std::size_t i = 0; i < s.flux.size() && i < 4000; ++i)
        text += std::to_string(s.lambda_a[i]) + "," + std::to_string(s.flux[i]) + "\n";
    const int times = args.value("fois", 10);
    std::size_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i) {
        const io::SpectrumRead r = io::readSpectrum(text);
        sink += design::calibrate(read.input, r.spectrum, "", "").ratio.points.size();
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return {{"ms", spent.count() / times},
            {"points", std::min<std::size_t>(s.flux.size(), 4000)},
            {"controle", sink}};
}

}  // namespace kelvora::web
