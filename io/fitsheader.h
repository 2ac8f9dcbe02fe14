#pragma once

// FITS headers: 80-character cards in 2880-byte blocks up to END, each
// value read as the standard writes it (strings in quotes with '' for a
// quote, T or F, integers, reals with E or D exponents).

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::io::fits {

inline constexpr std::size_t kBlock = 2880, kCard = 80;

struct Header {
    std::map<std::string, std::string> values;  // keyword → value text, strings unquoted
    std::size_t dataStart = 0;                  // the byte after the header's last block
    std::optional<std::string> text(const std::string& key) const;
    // A number; nullopt if absent, or not a finite number.
    std::optional<double> number(const std::string& key) const;
    bool has(const std::string& key) const { return values.count(key) != 0; }
};

// A number as FITS cards and spectrum texts write it: an optional sign
// (« + » included), a D exponent read as E; nullopt unless the whole text is
// one finite number.
std::optional<double> number(std::string_view text);

// The header starting at `start`; its French refusal in `error`.
Header readHeader(std::string_view bytes, std::size_t start, std::string& error);

}  // namespace kelvora::io::fits
