// A spectrum in a FITS binary table: a wavelength column and a flux column,
// one sample a row, or one row holding both as vectors.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "io/spectrum_internal.h"
#include "io/spectrumfile.h"

namespace kelvora::io::detail {

namespace {

struct Named {
    Column column;
    std::string name, unit;
};

// The size code of a TFORM type letter; 0 for one a spectrum cannot hold.
int codeOf(char type) {
    switch (type) {
        case 'B':
            return 8;
        case 'I':
            return 16;
        case 'J':
            return 32;
        case 'K':
            return 64;
        case 'E':
            return -32;
        case 'D':
            return -64;
        default:
            return 0;
    }
}

std::size_t bytesOf(char type, std::size_t repeat) {
    switch (type) {
        case 'L':
        case 'A':
        case 'B':
            return repeat;
        case 'X':
            return (repeat + 7) / 8;
        case 'I':
            return 2 * repeat;
        case 'J':
        case 'E':
            return 4 * repeat;
        case 'K':
        case 'D':
        case 'C':
        case 'P':
            return 8 * repeat;
        case 'M':
        case 'Q':
            return 16 * repeat;
        default:
            return 0;
    }
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool startsWithAny(const std::string& name, std::initializer_list<const char*> prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const char* p) { return name.rfind(p, 0) == 0; });
}

// The table's columns, with their place in a row; the row's width.
std::string columns(const fits::Header& h, std::vector<Named>& out, std::size_t& width) {
    const auto fields = whole(h, "TFIELDS");
    if (!fields || *fields < 2 || *fields > 999) return "TFIELDS manquant ou invalide";
    width = 0;
    for (long long i = 1; i <= *fields; ++i) {
        const std::string n = std::to_string(i);
        const std::string form = h.text("TFORM" + n).value_or("");
        std::size_t k = 0, repeat = 0;
        while (k < form.size() && std::isdigit(static_cast<unsigned char>(form[k])) &&
               repeat < 1u << 30)
            repeat = repeat * 10 + static_cast<std::size_t>(form[k++] - '0');
        if (k == 0) repeat = 1;
        if (k >= form.size() || bytesOf(form[k], 1) == 0)
            return "TFORM" + n + " invalide : « " + form + " »";
        Named c;
        c.column.code = codeOf(form[k]);
        c.column.offset = width;
        c.column.repeat = repeat;
        c.column.scale = h.number("TSCAL" + n).value_or(1);
        c.column.zero = h.number("TZERO" + n).value_or(0);
        if (c.column.code > 0) c.column.blank = whole(h, "TNULL" + n);
        c.name = lower(h.text("TTYPE" + n).value_or(""));
        c.unit = h.text("TUNIT" + n).value_or("");
        width += bytesOf(form[k], repeat);
        out.push_back(c);
    }
    return {};
}

struct Found {
    const Named* column = nullptr;
    std::string error;
};

// The column named exactly, else the only one whose name begins so; never
// one set aside; two candidates are not chosen between.
Found find(const std::vector<Named>& cols, std::initializer_list<const char*> names,
           const char* what) {
    std::vector<const Named*> begins;
    for (const Named& c : cols) {
        if (c.column.code == 0 || namesSomethingBeside(c.name)) continue;
        if (std::any_of(names.begin(), names.end(), [&](const char* n) { return c.name == n; }))
            return {&c, {}};
        if (startsWithAny(c.name, names)) begins.push_back(&c);
    }
    if (begins.size() == 1) return {begins.front(), {}};
    if (begins.empty()) return {nullptr, {}};
    std::string list;
    for (const Named* c : begins) list += (list.empty() ? "« " : ", « ") + c->name + " »";
    return {nullptr, std::string("plusieurs colonnes de ") + what + " possibles (" + list +
                         ") : aucune n'est choisie"};
}

}  // namespace

bool namesSomethingBeside(std::string_view name) {
    const std::string n = lower(std::string(name));
    for (const char* mark : {"err", "sig", "var", "ivar", "sky", "mask", "qual", "norm", "flag",
                             "bkg", "back", "noise", "snr", "dq", "cont"})
        if (n.find(mark) != std::string::npos) return true;
    return false;
}

std::string readTable(std::string_view bytes, const fits::Header& h, design::ObservedSpectrum& s) {
    std::vector<Named> cols;
    std::size_t width = 0;
    if (const std::string e = columns(h, cols, width); !e.empty()) return e;
    const auto rowBytes = whole(h, "NAXIS1"), rows = whole(h, "NAXIS2");
    if (whole(h, "NAXIS") != 2 || whole(h, "BITPIX") != 8 || !rows || *rows < 0)
        return "table binaire invalide (NAXIS, BITPIX ou NAXIS2)";
    if (!rowBytes || static_cast<std::size_t>(*rowBytes) != width)
        return "NAXIS1 ne correspond pas à la largeur des colonnes";
    // Checked again here, whatever the header's sizes said before.
    if (static_cast<std::size_t>(*rows) >
        (bytes.size() - std::min(bytes.size(), h.dataStart)) / std::max<std::size_t>(width, 1))
        return "fichier FITS tronqué : la table dépasse la fin du fichier";
    const Found w = find(cols, {"wave", "wavelength", "lambda", "lam", "wl"}, "longueur d'onde");
    const Found f = find(cols, {"flux", "counts", "adu", "intensity", "data"}, "flux");
    if (!w.error.empty() || !f.error.empty()) return w.error.empty() ? f.error : w.error;
    const Named *wave = w.column, *flux = f.column;
    if (!wave || !flux) return "pas de colonne de longueur d'onde et de flux dans la table";
    s.columns = wave->name + " et " + flux->name;
    if (wave->column.repeat != flux->column.repeat || wave->column.repeat == 0)
        return "colonnes de longueurs différentes ou vides";
    const double unit = angstromsPer(wave->unit);
    if (unit == 0) return "unité des longueurs d'onde inconnue : « " + wave->unit + " »";
    s.unit = flux->unit;
    const std::size_t perRow = wave->column.repeat, n = perRow * static_cast<std::size_t>(*rows);
    if (n > kMaxSpectrumSamples) return "table trop grande pour un spectre";
    const std::size_t sizeW = static_cast<std::size_t>(std::abs(wave->column.code)) / 8;
    const std::size_t sizeF = static_cast<std::size_t>(std::abs(flux->column.code)) / 8;
    for (std::size_t r = 0; r < static_cast<std::size_t>(*rows); ++r) {
        const std::size_t row = h.dataStart + r * width;
        for (std::size_t j = 0; j < perRow; ++j) {
            s.lambda_a.push_back(
                unit * valueAt(bytes, row + wave->column.offset + j * sizeW, wave->column));
            s.flux.push_back(valueAt(bytes, row + flux->column.offset + j * sizeF, flux->column));
        }
        // Rows of vectors that overlap are orders, not pieces of one spectrum.
        if (perRow > 1 && r > 0 && !(s.lambda_a[r * perRow] > s.lambda_a[r * perRow - 1]))
            return "table de " + std::to_string(*rows) +
                   " rangées qui se chevauchent en longueur d'onde (plusieurs ordres ?) : "
                   "enregistrez-en un seul";
    }
    return {};
}

}  // namespace kelvora::io::detail
