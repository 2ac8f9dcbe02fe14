#pragma once

// The camera as it is run: its gain setting, converter and temperature
// turn the sensor's figures into those of the exposure (docs/physics.md).

#include <optional>

#include "model/design/design.h"

namespace kelvora::design {

struct CameraAsRun {
    double readNoise;   // e⁻ rms per read at the setting
    double eAdu;        // e⁻ per ADU; NaN where nothing says it
    double saturation;  // e⁻: the lower of the well and the converter's top
    double dark;        // e⁻/s per unbinned pixel at the sensor's temperature
};

CameraAsRun cameraAsRun(const DesignInput& in);

// A setting above the lowest asks for the sensor's published curve.
std::optional<KeyError> checkCamera(const DesignInput& in);

}  // namespace kelvora::design
