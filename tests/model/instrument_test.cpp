#include "model/instrument.h"

#include <gtest/gtest.h>

#include "model/fault.h"

namespace kelvora {
namespace {

TEST(Instrument, AngleConversionsUseTheTenDigitPi) {
    EXPECT_EQ(D2R(180), 3.141592654);
    EXPECT_EQ(R2D(3.141592654), 180);
    EXPECT_NEAR(R2D(D2R(30)), 30, 1e-13);
    EXPECT_THROW(D2R(1.7e308), ArithmeticFault);
}

}  // namespace
}  // namespace kelvora
