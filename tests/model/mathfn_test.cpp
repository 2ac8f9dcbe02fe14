// The model's own mathematical functions: the same bits in every build
// (these were read off one; the Clang and WebAssembly builds must agree),
// and never more than one unit in the last place from the C library's.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>

#include "model/mathfn.h"

namespace kelvora {
namespace {

TEST(MathFunctions, GiveTheSameBitsInEveryBuild) {
    const struct {
        const char* call;
        double value;
        std::uint64_t bits;
    } cases[] = {
        {"sin(0.3)", fn::sin(0.3), 0x3fd2e9cd95baba33},
        {"sin(1e22)", fn::sin(1e22), 0xbfeb453ab76bf397},  // the large argument reduction
        {"cos(2.5)", fn::cos(2.5), 0xbfe9a2f7ef858b7d},
        {"tan(1.2)", fn::tan(1.2), 0x400493c43acb164d},
        {"asin(0.6)", fn::asin(0.6), 0x3fe4978fa3269ee1},
        {"atan(12.5)", fn::atan(12.5), 0x3ff7daff85a63058},
        {"pow(10, -2.72)", fn::pow(10, -2.72), 0x3f5f3814ddeaf193},
        {"exp(-0.3125)", fn::exp(-0.3125), 0x3fe769652df22f7e},
        {"log(2)", fn::log(2), 0x3fe62e42fefa39ef},
        {"log10(1234.5)", fn::log10(1234.5), 0x4008bb5faece0c80},
        {"expm1(2.6)", fn::expm1(2.6), 0x4028ed6f125c7cb5},
        {"erf(0.83)", fn::erf(0.83), 0x3fe84e04c412a633},
    };
    for (const auto& c : cases) EXPECT_EQ(std::bit_cast<std::uint64_t>(c.value), c.bits) << c.call;
}

// Units in the last place between two finite doubles of the same sign.
std::uint64_t ulps(double a, double b) {
    const auto x = std::bit_cast<std::int64_t>(a), y = std::bit_cast<std::int64_t>(b);
    return x > y ? static_cast<std::uint64_t>(x - y) : static_cast<std::uint64_t>(y - x);
}

TEST(MathFunctions, StayWithinOneUlpOfTheCLibrary) {
    using F = std::function<double(double)>;
    const struct {
        const char* name;
        F own, c;
        double low, high;
    } functions[] = {
        {"sin", fn::sin, [](double x) { return std::sin(x); }, -1e6, 1e6},
        {"cos", fn::cos, [](double x) { return std::cos(x); }, -1e6, 1e6},
        {"tan", fn::tan, [](double x) { return std::tan(x); }, -1.5, 1.5},
        {"asin", fn::asin, [](double x) { return std::asin(x); }, -1, 1},
        {"atan", fn::atan, [](double x) { return std::atan(x); }, -1e3, 1e3},
        {"exp", fn::exp, [](double x) { return std::exp(x); }, -700, 700},
        {"log", fn::log, [](double x) { return std::log(x); }, 1e-300, 1e300},
        {"log10", fn::log10, [](double x) { return std::log10(x); }, 1e-300, 1e300},
        {"expm1", fn::expm1, [](double x) { return std::expm1(x); }, -40, 700},
        {"erf", fn::erf, [](double x) { return std::erf(x); }, -6, 6},
        {"pow10", [](double x) { return fn::pow(10, x); }, [](double x) { return std::pow(10, x); },
         -300, 300},
    };
    std::mt19937_64 random(20261207);
    for (const auto& f : functions) {
        std::uniform_real_distribution<double> pick(f.low, f.high);
        for (int i = 0; i < 20000; ++i) {
            const double x = pick(random), own = f.own(x), c = f.c(x);
            if (own == c) continue;
            ASSERT_EQ(std::signbit(own), std::signbit(c)) << f.name << "(" << x << ")";
            ASSERT_LE(ulps(own, c), 1u) << f.name << "(" << x << ")";
        }
    }
}

}  // namespace
}  // namespace kelvora
