#pragma once

// Which design to build: every combination of the gratings, lenses, slits,
// geometries and binnings a user owns or can buy, evaluated by the design
// model itself, kept when it reaches the target and ranked by the exposure
// it needs; for the Sun, kept when the disc fits, the bandpass isolates the
// line's core and the camera keeps up, ranked by the bandpass.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design/design.h"
#include "model/design/keys.h"

namespace kelvora::design {

struct ProposerRequest {
    double resolution_cible = 0;  // R at lambda_a: required for a star, optional for the Sun
    std::optional<double> lambda_min_a, lambda_max_a;  // the band the range must cover
    std::vector<double> reseaux{150, 300, 600, 1200, 1800, 2400};
    // Common photographic and achromat focal lengths, for collimator and camera.
    std::vector<double> focales{35, 50, 75, 85, 100, 135, 150, 200};
    std::vector<double> fentes{0, 10, 15, 20, 25, 35, 50};  // µm; 0: no slit
    std::vector<Geometry> geometries{Geometry::Littrow};
    std::vector<double> binnings{1, 2};
    // Grating-to-sensor distances (mm) tried in the converging beam.
    std::vector<double> distances{20, 30, 45, 60, 80};
    double largeur_reseau_mm = 25;  // the grating's ruled width
};

// The proposer's own keys ("resolution_cible", "reseaux"…). Lists are
// comma-separated; the single numbers read the face's separator too.
bool isProposerKey(std::string_view key);
[[nodiscard]] std::optional<KeyError> setProposerKey(ProposerRequest& r, std::string_view key,
                                                     std::string_view text,
                                                     std::string_view separator = ".");
std::string proposerKeyText(const ProposerRequest& r, std::string_view key);
std::vector<std::string> proposerKeys();

struct Candidate {
    DesignInput input;  // the fixed keys with this design's own
    DesignResult result;
};

struct Proposal {
    std::vector<Candidate> candidates;  // best first, at most the number asked
    std::size_t evaluated = 0;
    bool stopped = false;  // the progress callback asked to stop
    std::string error;     // French: why none is kept (how close the best comes)
};

// The design keys that make a candidate, in the order a row shows them.
std::vector<std::string> candidateKeys();
// The results a candidate's row shows, in order: the S/N the target aims at
// (per pixel, or per element); for the Sun, what decides a spectroheliograph.
std::vector<std::string> candidateResults(bool perElement, bool sun = false);

// A candidate's value in a column: a design key (NaN where its geometry does
// not use it) or a result; "snr" is the S/N its target aims at.
ResultCell candidateCell(const Candidate& c, std::string_view key);

// How many designs a request would evaluate, and the most any face runs:
// beyond it a search takes minutes and is refused before it starts.
std::size_t combinations(const ProposerRequest& request);
inline constexpr std::size_t kMaxCombinations = 5'000'000;
// Why a request is refused before it starts (too large), in French; "" when it can run.
std::string tooLarge(const ProposerRequest& request);

// Told how far a search is (designs evaluated, of the total) every few
// thousand designs; a false answer stops the search, which then returns
// what it had kept.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

// Why a request cannot start without a resolution (a star's search needs
// one), in French; "" when it can.
std::string missingTarget(const DesignInput& fixed, const ProposerRequest& request);

Proposal propose(const DesignInput& fixed, const ProposerRequest& request, std::size_t count,
                 const Progress& progress = {});

}  // namespace kelvora::design
