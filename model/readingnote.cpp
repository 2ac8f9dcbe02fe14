#include <algorithm>

#include "model/numbertext.h"

namespace kelvora {

namespace {

// The text as the note quotes it: at most 40 characters, cut between
// UTF-8 characters.
std::string quoted(std::string_view text) {
    std::string q = "« ";
    if (text.size() <= 40) return q.append(text).append(" »");
    std::size_t cut = 40;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return q.append(text.substr(0, cut)).append("… »");
}

bool blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
}

}  // namespace

std::string readingNote(std::string_view text) {
    const NumberReading r = readNumber(text);
    if (r.overflow)
        return quoted(text) +
               " est trop grand : le calcul s'arrêtera sur un dépassement de capacité";
    if (!r.number)
        return blank(text) ? "champ vide, lu comme 0"
                           : quoted(text) + " n'est pas un nombre, lu comme 0";
    if (r.whole) return {};
    const std::string read = quoted(text) + " est lu comme " + plainNumberText(r.value, ".");
    const std::string_view rest = text.substr(r.end);
    if (rest.front() == ',') return read + " (le séparateur décimal est le point)";
    return read + " (la suite " + quoted(rest) + " est ignorée)";
}

}  // namespace kelvora
