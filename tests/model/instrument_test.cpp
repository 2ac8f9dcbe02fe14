#include "model/instrument.h"

#include <gtest/gtest.h>

#include "model/fault.h"

namespace kelvora {
namespace {

TEST(Instrument, DefaultTextsInLoadOrder) {
    const char* expected[] = {"200", "1200", "2",  "300", "1", "125", "50", "25", "5500",
                              "6",   "18",   "60", "1",   "1", "18",  "1",  "1"};
    const InputTexts texts = defaultInputTexts();
    for (std::size_t i = 0; i < kInputCount; ++i) EXPECT_EQ(texts[i], expected[i]) << i;
}

TEST(Instrument, NamesRoundTrip) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const auto c = static_cast<Control>(i);
        EXPECT_EQ(controlByName(controlName(c)), c);
        EXPECT_EQ(inputByName(controlName(c)).has_value(), isInput(c));
    }
    EXPECT_FALSE(controlByName("txtNothing"));
}

TEST(Instrument, DetectorCatalogue) {
    EXPECT_EQ(detectorModel(Detector::Kaf0400).nx, 768);
    EXPECT_EQ(detectorModel(Detector::Kaf1600).nx, 1536);
    EXPECT_EQ(detectorModel(Detector::Kaf3200).p, 0.0068);
    EXPECT_EQ(detectorModel(Detector::None).p, 0);
    EXPECT_EQ(detectorByCaption("KAF-3200"), Detector::Kaf3200);
    EXPECT_FALSE(detectorByCaption("KAF-9999"));
}

TEST(Instrument, AngleConversionsUseTheTenDigitPi) {
    EXPECT_EQ(D2R(180), 3.141592654);
    EXPECT_EQ(R2D(3.141592654), 180);
    EXPECT_NEAR(R2D(D2R(30)), 30, 1e-13);
    EXPECT_THROW(D2R(1.7e308), ArithmeticFault);
}

}  // namespace
}  // namespace kelvora
