#pragma once

// The night a spectrum was taken, from what its header says of the time:
// DATE-OBS in the standard's ISO form or its old DD/MM/YY one, else
// MJD-OBS; a night runs from noon to noon UT, so that one crossing 0 h UT
// is one date. Otherwise « date inconnue », said, and kept out of the
// drift plot.

#include <string>

namespace kelvora::design {

inline constexpr const char* kUnknownDate = "date inconnue";

struct ObservationNight {
    std::string date;  // AAAA-MM-JJ, or kUnknownDate
    std::string note;  // how the date was read, or why it is unknown; "" for plain ISO
};

// `dateObs` as the header writes it ("" without one); `mjd` NaN without MJD-OBS.
ObservationNight observationNight(const std::string& dateObs, double mjd);

}  // namespace kelvora::design
