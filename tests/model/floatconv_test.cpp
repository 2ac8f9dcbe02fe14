// The portable conversions against the standard library's own, on the
// native build: the same texts and the same doubles, bit for bit.
#include "model/floatconv.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>

namespace kelvora::floatconv {
namespace {

std::string stdChars(double v, std::chars_format f, int precision = -1) {
    char buf[1100];
    const auto end = precision < 0 ? std::to_chars(buf, buf + sizeof buf, v, f).ptr
                                   : std::to_chars(buf, buf + sizeof buf, v, f, precision).ptr;
    return std::string(buf, end);
}

std::string stdShortest(double v) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// Every bit pattern is as likely: tiny, huge and subnormal numbers included.
double randomDouble(std::mt19937_64& rng) {
    for (;;) {
        const double v = std::bit_cast<double>(rng());
        if (std::isfinite(v)) return v;
    }
}

constexpr int kSamples = 100000;

TEST(FloatConv, FormattingMatchesToChars) {
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < kSamples; ++i) {
        // Half the samples are values a user types: few digits, ordinary exponents.
        const double v =
            i % 2 ? randomDouble(rng)
                  : std::ldexp(static_cast<double>(rng() % 100000000), -static_cast<int>(rng() % 40));
        ASSERT_EQ(shortest(v), stdShortest(v)) << v;
        ASSERT_EQ(scientific(v, 14), stdChars(v, std::chars_format::scientific, 14)) << v;
        ASSERT_EQ(general(v, 15), stdChars(v, std::chars_format::general, 15)) << v;
        ASSERT_EQ(shortestFixed(v), stdChars(v, std::chars_format::fixed)) << v;
    }
    for (const double v : {0.0, -0.0, 1e5, 1e-7, 123456789012345680.0, 5e-324, 1.7976931348623157e308})
        EXPECT_EQ(shortest(v), stdShortest(v)) << v;
}

// Random decimal texts, as a user or a file writes them, read both ways.
TEST(FloatConv, ReadingMatchesFromChars) {
    std::mt19937_64 rng(7);
    const char* const pieces[] = {"0", "1", "9", "5", "00", "123", "4999999999999999", "."};
    for (int i = 0; i < kSamples; ++i) {
        std::string text = rng() % 5 == 0 ? "-" : "";
        for (int k = 0, n = 1 + static_cast<int>(rng() % 5); k < n; ++k) text += pieces[rng() % 8];
        if (rng() % 3 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 700) - 350);
        if (rng() % 7 == 0) text += "x";  // trailing text is not read
        double expected = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), expected);
        const Read mine = readDecimal(text);
        if (r.ec == std::errc::invalid_argument) {
            ASSERT_EQ(mine.status, ReadStatus::Invalid) << text;
            continue;
        }
        ASSERT_EQ(mine.length, static_cast<std::size_t>(r.ptr - text.data())) << text;
        if (r.ec == std::errc::result_out_of_range) {
            ASSERT_EQ(mine.status, ReadStatus::OutOfRange) << text;
            continue;
        }
        ASSERT_EQ(mine.status, ReadStatus::Ok) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(mine.value), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
    // Every shortest text reads back to its double.
    for (int i = 0; i < kSamples; ++i) {
        const double v = randomDouble(rng);
        const Read back = readDecimal(shortest(v));
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back.value), std::bit_cast<std::uint64_t>(v));
    }
}

}  // namespace
}  // namespace kelvora::floatconv
