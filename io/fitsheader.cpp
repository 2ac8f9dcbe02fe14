#include "io/fitsheader.h"

#include <cmath>

#include "model/floatconv.h"

namespace kelvora::io::fits {

namespace {

constexpr std::size_t kMaxHeaderBlocks = 1000;  // 36,000 cards

std::string trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

// The value of a card after "= ": a quoted string, or the text before '/'.
std::string valueOf(std::string_view field) {
    const auto start = field.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    if (field[start] != '\'') return trimmed(field.substr(start, field.find('/', start) - start));
    std::string out;
    for (std::size_t i = start + 1; i < field.size(); ++i) {
        if (field[i] != '\'') {
            out += field[i];
        } else if (i + 1 < field.size() && field[i + 1] == '\'') {
            out += '\'';
            ++i;
        } else {
            break;
        }
    }
    return trimmed(out);
}

}  // namespace

std::optional<std::string> Header::text(const std::string& key) const {
    const auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

std::optional<double> number(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::string s(text);
    for (char& c : s)
        if (c == 'D' || c == 'd') c = 'E';  // FORTRAN's double exponent
    const floatconv::Read r = floatconv::readDecimal(s);
    if (s.empty() || r.status != floatconv::ReadStatus::Ok || r.length != s.size() ||
        !std::isfinite(r.value))
        return std::nullopt;
    return r.value;
}

std::optional<double> Header::number(const std::string& key) const {
    const auto t = text(key);
    return t ? fits::number(*t) : std::nullopt;
}

Header readHeader(std::string_view bytes, std::size_t start, std::string& error) {
    Header h;
    for (std::size_t block = 0; block < kMaxHeaderBlocks; ++block) {
        const std::size_t at = start + block * kBlock;
        if (at + kBlock > bytes.size()) {
            error = "en-tête FITS incomplet : le fichier s'arrête avant END";
            return h;
        }
        for (std::size_t c = 0; c < kBlock; c += kCard) {
            const std::string_view card = bytes.substr(at + c, kCard);
            const std::string key = trimmed(card.substr(0, 8));
            if (key == "END") {
                h.dataStart = at + kBlock;
                return h;
            }
            if (card.substr(8, 2) == "= " && !key.empty() && !h.values.count(key))
                h.values[key] = valueOf(card.substr(10));
        }
    }
    error = "en-tête FITS sans END";
    return h;
}

}  // namespace kelvora::io::fits
