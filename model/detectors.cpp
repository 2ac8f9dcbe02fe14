#include "model/detectors.h"

#include <array>

namespace kelvora {

namespace {

// Pixel size (mm) and count along the long side from each sensor's data
// sheet. CMOS read noise and full well both at the lowest gain (the full
// dynamic range): one setting, never mixed; dark current, full well and
// peak QE are typical figures of cooled cameras; docs/physics.md lists
// them with their sources. The window's own calculation reads only the
// pixel, the count and the full well of its three CCDs.

// Read noise against the gain setting (0.1 dB steps) of the 3.76 µm
// back-illuminated family on a 16-bit converter: about 3.5 e⁻ from the
// lowest setting to the high-conversion-gain switch at 100, about 1.5 e⁻
// from there (camera makers' gain charts; docs/physics.md).
std::vector<std::pair<double, double>> cmos376ReadNoise() {
    return {{0, 3.5}, {100, 3.5}, {100, 1.5}};
}

// The QE shape of back-illuminated CMOS sensors: the IMX455 maker's curve
// as digitised by Gill et al. (2022, arXiv:2207.13052), relative to its
// 0.91 peak. Sensors of the family take it scaled to their own peak.
const std::vector<std::pair<double, double>>& backIlluminatedCmos() {
    static const std::vector<std::pair<double, double>> shape{
        {400, 0.72 / 0.91}, {450, 1.0},         {500, 1.0},         {600, 0.71 / 0.91},
        {700, 0.46 / 0.91}, {800, 0.28 / 0.91}, {900, 0.15 / 0.91},
    };
    return shape;
}

// The front-illuminated Kodak CCDs' data sheets, relative to their peaks:
// KAF-0400 0.03, 0.33, 0.40, 0.08 at 400, 550, 700, 1000 nm; KAF-3200ME
// 0.60, 0.80, 0.60 at 400, 600, 760 nm.
std::vector<std::pair<double, double>> kaf0400() {
    return {{400, 0.03 / 0.40}, {550, 0.33 / 0.40}, {700, 1.0}, {1000, 0.08 / 0.40}};
}
std::vector<std::pair<double, double>> kaf3200() {
    return {{400, 0.60 / 0.80}, {600, 1.0}, {760, 0.60 / 0.80}};
}

// Built on first use: tables of other files may need it before main.
const std::array<DetectorModel, 15>& builtIn() {
    static const std::array<DetectorModel, 15> rows = [] {
        std::array<DetectorModel, 15> r{{
            {"KAF-0400", 0.009, 768, 13.0, 50, 100000, 0.40},
            {"KAF-1600", 0.009, 1536, 13.0, 50, 100000, 0.40},
            {"KAF-3200", 0.0068, 2184, NAN, NAN, 55000, 0.80},
            {"KAF-8300", 0.0054, 3326, 9.0, 0.02, 25500, 0.56},
            {"ICX285", 0.00645, 1392, 5.0, 0.01, 18000, 0.65},
            {"ICX694", 0.00454, 2750, 5.0, 0.003, 20000, 0.77},
            {"IMX174", 0.00586, 1936, 6.0, 0.01, 32000, 0.77},
            {"IMX178", 0.0024, 3096, 2.2, 0.002, 15000, 0.81},
            {"IMX183", 0.0024, 5496, 3.0, 0.002, 15000, 0.84},
            {"IMX290", 0.0029, 1936, 3.2, 0.005, 14600, 0.80},
            {"IMX294", 0.00463, 4144, 7.3, 0.005, 63700, 0.75},
            {"IMX533", 0.00376, 3008, 3.5, 0.001, 50000, 0.80},
            {"IMX571", 0.00376, 6248, 3.5, 0.001, 51000, 0.80},
            {"IMX455", 0.00376, 9576, 3.5, 0.001, 51000, 0.80},
            {"IMX585", 0.0029, 3856, 3.2, 0.001, 40000, 0.91},
        }};
        for (DetectorModel& d : r)
            if (d.caption.starts_with("IMX") && d.caption != "IMX174")  // front-illuminated
                d.qeCurve = backIlluminatedCmos();
        r[0].qeCurve = r[1].qeCurve = kaf0400();  // the KAF-1600: the same pixel family
        r[2].qeCurve = kaf3200();
        // The KAF-0400's data sheet: 50 e⁻/pixel/s at 25 °C, doubling every 5 °C.
        for (DetectorModel* d : {&r[0], &r[1]}) d->darkDoublingC = 5;
        for (DetectorModel* d : {&r[11], &r[12], &r[13]}) {  // IMX533, IMX571, IMX455
            d->bits = 16;
            d->readNoiseCurve = cmos376ReadNoise();
        }
        r[9].bits = 12;  // IMX290
        // The short side, from the same data sheets as the long one.
        const double across[] = {512,  1024, 1472, 2504, 1040, 2200, 1216, 2080,
                                 3672, 1096, 2822, 3008, 4176, 6388, 2180};
        for (std::size_t i = 0; i < r.size(); ++i) r[i].ny = across[i];
        return r;
    }();
    return rows;
}

}  // namespace

std::span<const DetectorModel> builtInDetectors() {
    return builtIn();
}

DetectorCatalogue::DetectorCatalogue() : DetectorCatalogue(std::vector<DetectorModel>{}) {}

DetectorCatalogue::DetectorCatalogue(std::vector<DetectorModel> userRows)
    : rows_(builtIn().begin(), builtIn().end()) {
    for (DetectorModel& row : userRows)
        if (!find(row.caption)) rows_.push_back(std::move(row));  // a built-in name stays built-in
}

const DetectorModel* DetectorCatalogue::find(std::string_view caption) const {
    for (const DetectorModel& row : rows_)
        if (row.caption == caption) return &row;
    return nullptr;
}

std::string DetectorCatalogue::captionList() const {
    std::string list;
    for (const DetectorModel& row : rows_)
        list.append(list.empty() ? "" : ", ").append(row.caption);
    return list;
}

}  // namespace kelvora
