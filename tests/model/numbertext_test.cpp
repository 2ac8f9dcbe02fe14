#include "model/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace kelvora {
namespace {

// clang-format off
TEST(ReadNumber, LeadingNumberRule) {
    const std::pair<std::string, double> cases[] = {
        {"200", 200}, {"  300 ", 300}, {"3e2", 300}, {"", 0}, {"-1", -1}, {"+7", 7},
        {"1 200", 1200}, {"\t1\n2", 12}, {"1 e 3", 1000}, {"1\r2", 1}, {"1\xc2\xa0" "2", 1},
        {"50mm", 50}, {"1,5", 1}, {"5,918", 5}, {"abc", 0}, {"mm50", 0}, {"--1", 0},
        {".5", 0.5}, {"5.", 5}, {"-", 0}, {".", 0}, {"1.2.3", 1.2}, {"0.1", 0.1},
        {"1e", 1}, {"1e+", 1}, {"1E-2", 0.01}, {"2.5e-3x", 0.0025},
        {"1e-400", 0}, {"0e99999", 0}, {"1e-99999999999999999999", 0},
        {"&HFF", 255}, {"&hff", 255}, {"&O17", 15}, {"&o777", 511}, {"& H 10", 16},
        {"&H", 0}, {"&", 0}, {"&X1", 0}, {"&O8", 0}, {"&H1G", 1},
        {"0.9007199254740993", 0.9007199254740993},
        {"&HFFFFFFFFFFFFFFFFFFFF", 1208925819614629174706176.0},   // 2^80 - 1, rounded
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"9007199254740993", 9007199254740992.0},                  // 2^53 + 1, to even
        {"0." + std::string(350, '0') + "1e400", 1e49},
        {std::string(300, '0') + "42", 42}, {std::string(32767, ' '), 0},
    };
    for (const auto& [text, value] : cases) {
        const NumberReading r = readNumber(text);
        EXPECT_FALSE(r.overflow) << '"' << text.substr(0, 40) << '"';
        EXPECT_EQ(r.value, value) << '"' << text.substr(0, 40) << '"';
    }
    EXPECT_TRUE(std::signbit(readNumber("-0").value));
}

TEST(ReadNumber, TooLargeForADoubleIsAnOverflow) {
    const std::string cases[] = {"1e309", "-1e309", "1.8e308", "1e99999999999999999999",
                                 std::string(10000, '9'), "&H" + std::string(257, 'F'),
                                 "&O" + std::string(400, '7')};
    for (const auto& text : cases) EXPECT_TRUE(readNumber(text).overflow) << text.substr(0, 30);
    EXPECT_FALSE(readNumber("1.7976931348623157e308").overflow);
}

struct FormatCase {
    double value;
    const char* pattern;
    const char* separator;
    const char* text;
};

TEST(FormatPattern, RoundingAndShape) {
    const FormatCase cases[] = {
        // The 15-digit form is rounded, halves away from zero.
        {2.675, "#.##", ".", "2.68"}, {1.005, "#.##", ".", "1.01"}, {0.995, "#.##", ".", "1."},
        {-12.345, "#.##", ".", "-12.35"}, {9.9999, "#.###", ".", "10."},
        {0.0005, "#.###", ".", ".001"}, {0.00049999, "#.###", ".", "."},
        {-2.5, "#", ".", "-3"}, {0.5, "#", ".", "1"}, {0.49999999999999994, "#", ".", "1"},
        {0.05, "#.#", ".", ".1"}, {-0.05, "#.#", ".", "-.1"}, {1.0000000000000002, "#.##", ".", "1."},
        // Whole integer part, nothing for zero, no trailing zeros, separator always.
        {123.4567, "##.###", ".", "123.457"}, {425.7, "#", ".", "426"}, {0.5, "#.###", ".", ".5"},
        {2.5, "#.##", ".", "2.5"}, {2, "#.##", ".", "2."}, {24.0038, "#.##", ",", "24,"},
        {0, "#.##", ".", "."}, {0, "#", ".", ""}, {0.04, "#.#", ".", "."}, {-0.0, "#.#", ".", "."},
        {5.9177, "#.###", ",", "5,918"}, {-0.001, "#.##", ".", "-."}, {1e-300, "#.##", ",", ","},
        {3.25, "#.##", "\xd9\xab", "3\xd9\xab" "25"}, {-1234.5, "##.###", ",", "-1234,5"},
        {1e20, "#", ".", "100000000000000000000"}, {123456789012345678.0, "#", ".", "123456789012346000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPattern(c.value, c.pattern, c.separator), c.text) << c.value << ' ' << c.pattern;
    EXPECT_EQ(formatPattern(1.5e300, "#.##", "."), "15" + std::string(299, '0') + ".");
}
// clang-format on

// The 15-digit form and plain texts agree with the C library's printf,
// an independent conversion, on values across every decade results use.
TEST(NumberText, AgreesWithPrintf) {
    std::vector<double> values{1e-3,
                               1e15,
                               999.9999999999999,
                               2.675,
                               99999999999999.95,
                               1000000000000.125,
                               100000000000000.5};
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> exponent(-8, 20);
    for (int i = 0; i < 100000; ++i)
        values.push_back((i % 2 ? -1 : 1) * std::pow(10.0, exponent(random)));
    for (double v : values) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
        ASSERT_EQ(fifteenDigitForm(v), buf) << v;
        std::snprintf(buf, sizeof buf, "%.15G", v);
        ASSERT_EQ(plainNumberText(v, "."), buf) << v;
    }
}

TEST(NumberToText, PlainAndSigned) {
    EXPECT_EQ(plainNumberText(200, "."), "200");
    EXPECT_EQ(plainNumberText(2.5, ","), "2,5");
    EXPECT_EQ(plainNumberText(0.1 + 0.2, "."), "0.3");
    EXPECT_EQ(plainNumberText(1.0 / 3, "."), "0.333333333333333");
    EXPECT_EQ(plainNumberText(1e20, "."), "1E+20");
    EXPECT_EQ(plainNumberText(999999999999999.9, "."), "1E+15");
    EXPECT_EQ(plainNumberText(0.00099999999999999999, "."), "0.001");
    EXPECT_EQ(plainNumberText(-0.0, "."), "0");
    EXPECT_EQ(signedNumberText(5500), " 5500");
    EXPECT_EQ(signedNumberText(-12.5), "-12.5");
    EXPECT_EQ(signedNumberText(-0.0), " 0");
    EXPECT_EQ(signedNumberText(5499.999999999999), " 5500");
}

}  // namespace
}  // namespace kelvora

namespace kelvora {
namespace {

TEST(ReadingNote, SaysHowATextIsReadWhenNotWhole) {
    const std::pair<std::string, std::string> cases[] = {
        {"200", ""},
        {" 1 200 ", ""},
        {"3e2", ""},
        {"&HFF", ""},
        {"&H0", ""},
        {"-.5", ""},
        {"", "champ vide, lu comme 0"},
        {"  ", "champ vide, lu comme 0"},
        {"2,5", "« 2,5 » est lu comme 2 (le séparateur décimal est le point)"},
        {"50mm", "« 50mm » est lu comme 50 (la suite « mm » est ignorée)"},
        {"1e", "« 1e » est lu comme 1 (la suite « e » est ignorée)"},
        {"abc", "« abc » n'est pas un nombre, lu comme 0"},
        {"&H", "« &H » n'est pas un nombre, lu comme 0"},
        {"1e309", "« 1e309 » est trop grand : le calcul s'arrêtera sur un dépassement de capacité"},
        {std::string(50, '1') + "é",
         "« " + std::string(40, '1') +
             "… » est lu comme 1.11111111111111E+49 (la suite « é » est ignorée)"},
    };
    for (const auto& [text, note] : cases) EXPECT_EQ(readingNote(text), note) << text;
}

}  // namespace
}  // namespace kelvora
