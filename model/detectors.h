#pragma once

#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvora {

// One sensor of the catalogue. Pixel size and count come from the sensor's
// data sheet; read noise, dark current, full well and quantum efficiency are
// typical figures of cameras built on it, NaN where the row does not say
// (the window's three CCDs), so that the user's or the default value holds.
struct DetectorModel {
    std::string caption;
    double p = 0;            // pixel size, mm
    double nx = 0;           // pixels along the dispersion (the sensor's long side)
    double readNoise = NAN;  // electrons rms per read
    double dark = NAN;       // electrons per second per pixel
    double fullWell = NAN;   // electrons
    double qe = NAN;         // peak quantum efficiency, 0 to 1
    // The QE's shape: (nm, QE relative to the peak); empty where none is known.
    std::vector<std::pair<double, double>> qeCurve = {};
    // The camera as it is run. The converter's depth in bits (0: unknown);
    // read noise (e⁻) against the gain setting, the high-conversion-gain step
    // as two points at one setting (empty: no published curve); `dark` is
    // at darkReferenceC and doubles every darkDoublingC (0: no law known).
    double bits = 0;
    std::vector<std::pair<double, double>> readNoiseCurve = {};
    double darkReferenceC = 25, darkDoublingC = 0;
    double ny = 0;  // pixels across the dispersion (the short side); 0: unknown
};

// The built-in rows. The first three are the window's three option buttons,
// in their order.
std::span<const DetectorModel> builtInDetectors();
inline constexpr std::size_t kWindowDetectorCount = 3;

// The sensors a user can choose: the built-ins, then the user's own.
class DetectorCatalogue {
  public:
    DetectorCatalogue();
    explicit DetectorCatalogue(std::vector<DetectorModel> userRows);

    const std::vector<DetectorModel>& rows() const { return rows_; }
    const DetectorModel* find(std::string_view caption) const;
    // "KAF-0400, KAF-1600, …" for help texts and error messages.
    std::string captionList() const;

  private:
    std::vector<DetectorModel> rows_;
};

}  // namespace kelvora
