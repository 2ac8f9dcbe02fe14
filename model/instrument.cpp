#include "model/instrument.h"

#include "model/checked.h"
#include "model/numbertext.h"

namespace kelvora {

namespace {

struct ControlInfo {
    std::string_view name;
    std::string_view label;
    double defaultValue;
};

constexpr auto kControls = std::to_array<ControlInfo>({
    {"txtDiametre", "Diamètre", 200},
    {"txtFocale", "Focale", 1200},
    {"txtSeeing", "Seeing", 2},
    {"txtTraits", "Traits par mm", 300},
    {"txtOrdre", "Ordre de diffraction", 1},
    {"txtCollimateur", "Focale collimateur", 125},
    {"txtChambre", "Focale objectif", 50},
    {"txtDistance", "Distance réseau/objectif", 25},
    {"txtWavelength", "Longueur d'onde centrale", 5500},
    {"txtMagEtoile", "Magnitude de l'étoile", 6},
    {"txtMagCiel", "Magnitude du ciel", 18},
    {"txtTi", "Pose totale", 60},
    {"txtNexposure", "Nombre de poses", 1},
    {"txtSlitWide", "Largeur de la fente en mm", 1},
    {"txtBruit", "Bruit", 18},
    {"txtBin1", "Bin X", 1},
    {"txtBin2", "Bin Y", 1},
    {"txtAngle", "Angle de diffraction", 0},
    {"txtDispersion", "Dispersion", 0},
    {"txtLambda1", "Lambda min.", 0},
    {"txtLambda2", "Lambda max.", 0},
    {"txtSeparation", "Pouvoir séparateur", 0},
    {"txtResolution", "Résolution", 0},
    {"lblLambda", "Longueur d'onde de la résolution", 0},
    {"txtDCollimateur", "Diamètre minimal du collimateur", 0},
    {"txtDGrating", "Largeur minimale du réseau", 0},
    {"txtDChambre", "Diamètre minimal de l'objectif", 0},
    {"txtFD", "F#", 0},
    {"txtSB", "Rapport signal/bruit", 0},
});

// A missing, extra or misplaced row does not compile.
static_assert(kControls.size() == kControlCount);
constexpr bool rowsFollowTheEnum() {
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (kControls[i].name != kControlNames[i]) return false;
    return true;
}
static_assert(rowsFollowTheEnum());

}  // namespace

std::string_view controlLabel(Control c) {
    return kControls[indexOf(c)].label;
}

std::optional<Control> controlByName(std::string_view name) {
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (kControls[i].name == name) return static_cast<Control>(i);
    return std::nullopt;
}

std::optional<Control> inputByName(std::string_view name) {
    auto c = controlByName(name);
    if (c && isInput(*c)) return c;
    return std::nullopt;
}

double defaultValue(Control input) {
    return kControls[indexOf(input)].defaultValue;
}

// The separator never shows: every default is a whole number.
std::string defaultText(Control input) {
    return plainNumberText(defaultValue(input), ".");
}

InputTexts defaultInputTexts() {
    InputTexts texts;
    for (std::size_t i = 0; i < kInputCount; ++i) texts[i] = defaultText(inputAt(i));
    return texts;
}

double D2R(const double& degrees) {
    return (Num(degrees) * kPi / 180).value();
}
double R2D(double radians) {
    return (Num(radians) * 180 / kPi).value();
}

}  // namespace kelvora
