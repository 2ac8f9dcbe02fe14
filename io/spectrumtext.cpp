// A spectrum as text: two columns (λ, flux) separated by commas, semicolons
// or blanks, '#' comments, and the FITS-like header lines (« EXPTIME = 120 »)
// amateurs' software writes, with or without a leading '#'.
#include <cctype>
#include <cmath>

#include "io/spectrum_internal.h"
#include "io/spectrumfile.h"

namespace kelvora::io {

namespace {

constexpr std::size_t kMaxLine = 4096;

unsigned char uchar(char c) {
    return static_cast<unsigned char>(c);
}

std::vector<std::string> fields(std::string_view line, std::string_view separators) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && separators.find(line[i]) != std::string_view::npos) ++i;
        const std::size_t start = i;
        while (i < line.size() && separators.find(line[i]) == std::string_view::npos) ++i;
        if (i > start) out.emplace_back(line.substr(start, i - start));
    }
    return out;
}

// A line's numbers. Where a semicolon or a tab separates them, a comma is
// the decimal one (« 5070,201;46716,5 », as French spreadsheets write);
// otherwise a comma separates, unless the line has no period and a comma
// could be either (« 5070,2 46716,5 »): then nothing is guessed.
struct Split {
    std::vector<std::string> values;
    bool ambiguous = false;
};

Split splitLine(std::string_view line) {
    if (line.find_first_of(";\t") != std::string_view::npos) {
        Split s{fields(line, " ;\t")};
        for (std::string& v : s.values)
            for (char& c : v)
                if (c == ',') c = '.';
        return s;
    }
    Split s{fields(line, " ,")};
    bool commaInNumber = false;  // « 5,2 », not « 5, 2 »
    for (std::size_t i = 1; i + 1 < line.size(); ++i)
        commaInNumber = commaInNumber || (line[i] == ',' && std::isdigit(uchar(line[i - 1])) &&
                                          std::isdigit(uchar(line[i + 1])));
    s.ambiguous = commaInNumber && line.find('.') == std::string_view::npos &&
                  (fields(line, " ").size() >= 2 || s.values.size() != 2);
    return s;
}

// « KEY = value / comment »: the value into the header, unquoted.
bool headerLine(std::string_view line, fits::Header& h) {
    std::size_t i = 0;
    const auto blanks = [&] {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    };
    blanks();
    if (i < line.size() && line[i] == '#') ++i;
    blanks();
    const std::size_t key = i;
    if (i >= line.size() || !std::isupper(static_cast<unsigned char>(line[i]))) return false;
    while (i < line.size() && i - key < 8 &&
           (std::isupper(static_cast<unsigned char>(line[i])) ||
            std::isdigit(static_cast<unsigned char>(line[i])) || line[i] == '_' || line[i] == '-'))
        ++i;
    const std::string name(line.substr(key, i - key));
    blanks();
    if (i >= line.size() || line[i] != '=') return false;
    ++i;
    blanks();
    std::string value(line.substr(i));
    if (!value.empty() && value.front() == '\'') {
        const auto end = value.find('\'', 1);
        value = value.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    } else {
        value = value.substr(0, value.find('/'));
    }
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    h.values.emplace(name, value);
    return true;
}

}  // namespace

SpectrumRead readTextSpectrum(std::string_view text) {
    // A byte-order mark is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return {{}, "fichier vide"};
    SpectrumRead r;
    fits::Header h;
    std::size_t lineNumber = 0, words = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxLine)
            return {{}, "ligne " + std::to_string(lineNumber) + " trop longue"};
        if (line.find('\0') != std::string_view::npos) return {{}, "ce n'est pas un fichier texte"};
        if (headerLine(line, h)) continue;
        const Split split = splitLine(line.substr(0, line.find('#')));
        const auto& f = split.values;
        if (f.empty()) continue;
        if (split.ambiguous)
            return {{},
                    "ligne " + std::to_string(lineNumber) + " : « " +
                        std::string(line.substr(0, 60)) +
                        " » : la virgule peut y séparer les colonnes ou les décimales ; "
                        "séparez les colonnes par un point-virgule ou une tabulation"};
        const auto l = fits::number(f[0]), v = f.size() > 1 ? fits::number(f[1]) : std::nullopt;
        if (!l || !v) {
            // A line of column names may come before the numbers.
            if (r.spectrum.lambda_a.empty() && ++words <= 1) continue;
            return {{},
                    "ligne " + std::to_string(lineNumber) +
                        " : deux nombres attendus (λ et flux), lu « " +
                        std::string(line.substr(0, 60)) + " »"};
        }
        if (r.spectrum.lambda_a.size() >= kMaxSpectrumSamples)
            return {{}, "trop de points pour un spectre"};
        r.spectrum.lambda_a.push_back(*l);
        r.spectrum.flux.push_back(*v);
    }
    if (r.spectrum.lambda_a.empty()) return {{}, "aucune ligne de données (λ et flux)"};
    // Wavelengths written in nm (every one under 2000) become Å, as does a stated unit.
    double unit = detail::angstromsPer(h.text("CUNIT1").value_or(h.text("WAVEUNIT").value_or("")));
    if (unit == 0) return {{}, "unité des longueurs d'onde inconnue"};
    bool allSmall = !r.spectrum.lambda_a.empty();
    for (double l : r.spectrum.lambda_a) allSmall = allSmall && std::fabs(l) < 2000;
    if (!h.has("CUNIT1") && !h.has("WAVEUNIT") && allSmall) unit = 10;
    for (double& l : r.spectrum.lambda_a) l *= unit;
    detail::readKeywords(h, r.spectrum);
    if (const std::string e = detail::finish(r.spectrum); !e.empty()) return {{}, e};
    return r;
}

}  // namespace kelvora::io
