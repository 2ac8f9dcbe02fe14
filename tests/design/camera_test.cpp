// The camera as it is run, by hand from docs/physics.md.
#include <gtest/gtest.h>

#include <cmath>

#include "model/design/design.h"
#include "model/design/labels.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

using testkeys::result;
using testkeys::with;

// An IMX571 (51,000 e⁻, 16 bits) at its settings, 0.1 dB each:
//   e⁻/ADU at 0 = 51000 / 65536 = 0.7781982; at g, times 10^(−g/200)
//   g = 60:  0.7781982 · 0.5011872 = 0.3900230; top 65535 · that = 25560.2 e⁻
//   g = 99:  0.7781982 · 0.3198895 = 0.2489375; top 16314.1 e⁻, still 3.5 e⁻
//   g = 100: 0.7781982 · 0.3162278 = 0.2460879; top 16127.4 e⁻, read noise 1.5 e⁻ (the
//            high-conversion-gain step); g = 300: 0.0246088, top 1612.74 e⁻
//   g = 0:   top 65535 · 0.7781982 = 50999.2 e⁻ (below the well), read noise 3.5 e⁻
TEST(CameraAsRun, AGainSettingsReadNoiseAndSaturation) {
    struct Case {
        const char* setting;
        double read, eAdu, saturation;
    };
    const Case cases[] = {{"0", 3.5, 0.7781982, 50999.2},
                          {"60", 3.5, 0.3900230, 25560.2},
                          {"99", 3.5, 0.2489375, 16314.1},
                          {"100", 1.5, 0.2460879, 16127.4},
                          {"300", 1.5, 0.0246088, 1612.74}};
    for (const Case& c : cases) {
        const DesignResult r = result(
            with({{"detecteur", "IMX571"}, {"gain_reglage", c.setting}, {"mag_etoile", "12"}}));
        EXPECT_EQ(r.bruit_reglage_e, c.read) << c.setting;
        EXPECT_NEAR(r.saturation_e / c.saturation, 1, 3e-4) << c.setting;
        EXPECT_NEAR(r.electrons_pic / r.adu_pic / c.eAdu, 1, 3e-4) << c.setting;
    }
}

// Any setting above 0, the first 0.1 dB included, reads the curve (3.5 e⁻
// up to 100): not the read noise typed for the lowest setting.
TEST(CameraAsRun, TheFirstSettingAlreadyReadsTheCurve) {
    for (const auto& [setting, read] : {std::pair{"0", 2.0}, {"1", 3.5}}) {
        const DesignResult r =
            result(with({{"detecteur", "IMX571"}, {"bruit_e", "2"}, {"gain_reglage", setting}}));
        EXPECT_EQ(r.bruit_reglage_e, read) << setting;
    }
}

// The user's own gain wins; the well caps the converter's top.
TEST(CameraAsRun, TheUsersGainAndTheConverter) {
    const DesignResult own = result(with({{"detecteur", "IMX571"}, {"gain_e_adu", "2"}}));
    EXPECT_EQ(own.saturation_e, 51000);  // 65535 · 2 e⁻ is beyond the well
    EXPECT_DOUBLE_EQ(own.adu_pic, own.electrons_pic / 2);
    // A 12-bit converter at 1 e⁻/ADU saturates at 4095 e⁻: the exposure splits.
    const DesignResult twelve = result(with(
        {{"detecteur", "IMX571"}, {"gain_e_adu", "1"}, {"bits_adc", "12"}, {"mag_etoile", "6"}}));
    EXPECT_EQ(twelve.saturation_e, 4095);
    EXPECT_EQ(twelve.poses_min, std::floor(twelve.electrons_pic / 4095) + 1);
    // Without a gain nothing says the ADU.
    EXPECT_TRUE(std::isnan(result(with({{"detecteur", "IMX585"}})).adu_pic));
}

// A setting above the lowest needs the sensor's published curve.
TEST(CameraAsRun, NoCurveNoSetting) {
    const DesignOutcome o = evaluate(with({{"detecteur", "IMX585"}, {"gain_reglage", "100"}}));
    ASSERT_TRUE(o.error);
    EXPECT_EQ(o.error->key, "gain_reglage");
    EXPECT_NE(describe(*o.error, ",").find("IMX585"), std::string::npos) << describe(*o.error, ",");
}

// The KAF-0400's 50 e⁻/s at 25 °C doubling every 5 °C:
//   0 °C: 50 · 2^(−25/5) = 1.5625 e⁻/s;  −10 °C: 50 · 2^(−35/5) = 0.390625 e⁻/s
// and the S/N is the one of a sensor given that dark current as it is.
TEST(CameraAsRun, DarkCurrentAtTwoTemperatures) {
    for (const auto& [celsius, dark] : {std::pair{"0", 1.5625}, std::pair{"-10", 0.390625}}) {
        const DesignResult r = result(with({{"temperature_capteur_c", celsius}}));
        EXPECT_DOUBLE_EQ(r.obscurite_pose_e_s, dark) << celsius;
        const DesignResult fixed =
            result(with({{"doublement_obscurite_c", "0"},
                         {"obscurite_e_s", celsius == std::string("0") ? "1.5625" : "0.390625"}}));
        EXPECT_NEAR(r.snr / fixed.snr, 1, 1e-12) << celsius;
    }
    // Without a law the dark current is the one written, at any temperature.
    EXPECT_EQ(result(with({{"detecteur", "IMX571"}, {"temperature_capteur_c", "-20"}}))
                  .obscurite_pose_e_s,
              0.001);
}

}  // namespace
}  // namespace kelvora::design
