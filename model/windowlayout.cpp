#include "model/windowlayout.h"

#include <array>
#include <string_view>

#include "model/instrument.h"

namespace kelvora {

namespace {

constexpr auto G = Kind::GroupBox;
constexpr auto L = Kind::Label;
constexpr auto T = Kind::TextField;
constexpr auto O = Kind::Option;
constexpr auto B = Kind::Button;
constexpr auto Pale = Background::PaleYellow;
constexpr auto Bright = Background::BrightYellow;
constexpr auto Def = Background::Default;

constexpr std::array kLayout = std::to_array<ControlSpec>({
    {"Frame1", G, "Télescope", "", 120, 120, 4575, 1335, 0, Def},
    {"Frame3", G, "CCD", "", 120, 1560, 4575, 1455, 20, Def},
    {"Frame2", G, "Spectrographe", "", 120, 3120, 4575, 3615, 5, Def},
    {"Frame5", G, "Prise de vue", "", 4920, 120, 4575, 1815, 56, Def},
    {"Frame4", G, "Résultat", "", 4920, 2040, 4575, 4695, 24, Def},
    {"cmdCalcul", B, "Calcul", "", 6480, 6960, 1695, 375, 28, Def},
    {"cmdAnnuler", B, "Annuler", "", 8400, 6960, 1095, 375, 69, Def},
    {"Label32", L, "", "", 120, 7080, 2175, 255, 70, Def},

    {"Label1", L, "Diamètre :", "Frame1", 180, 370, 735, 255, 1, Def},
    {"txtDiametre", T, "", "Frame1", 1080, 360, 615, 285, 3, Def},
    {"Label2", L, "Focale :", "Frame1", 2280, 370, 735, 255, 2, Def},
    {"txtFocale", T, "", "Frame1", 3000, 360, 615, 285, 4, Def},
    {"Label7", L, "Seeing :", "Frame1", 120, 850, 735, 255, 14, Def},
    {"txtSeeing", T, "", "Frame1", 1080, 840, 495, 285, 15, Def},
    {"Label8", L, "secondes d'arc", "Frame1", 1680, 860, 1215, 255, 16, Def},

    {"optKaf400", O, "", "Frame3", 240, 360, 1215, 255, 21, Def},
    {"optKaf1600", O, "", "Frame3", 1800, 360, 1095, 255, 22, Def},
    {"optKaf3200", O, "", "Frame3", 3240, 360, 1095, 255, 23, Def},
    {"Label34", L, "Bruit :", "Frame3", 240, 985, 495, 255, 72, Def},
    {"txtBruit", T, "", "Frame3", 730, 960, 495, 285, 73, Def},
    {"Label35", L, "électrons", "Frame3", 1320, 985, 735, 255, 74, Def},
    {"Label36", L, "Bin X :", "Frame3", 2280, 985, 495, 255, 75, Def},
    {"txtBin1", T, "", "Frame3", 2880, 960, 255, 285, 76, Def},
    {"Label37", L, "Bin Y :", "Frame3", 3360, 985, 495, 255, 77, Def},
    {"txtBin2", T, "", "Frame3", 3960, 960, 255, 285, 78, Def},

    {"Label3", L, "Traits par mm :", "Frame2", 240, 370, 1215, 255, 9, Def},
    {"txtTraits", T, "", "Frame2", 1440, 360, 495, 285, 8, Def},
    {"Label13", L, "Ordre de diffraction :", "Frame2", 2520, 370, 1575, 255, 29, Def},
    {"txtOrdre", T, "", "Frame2", 4080, 360, 255, 285, 30, Def},
    {"Label5", L, "Focale collimateur :", "Frame2", 240, 850, 1455, 255, 10, Def},
    {"txtCollimateur", T, "", "Frame2", 1680, 840, 495, 285, 12, Def},
    {"Label6", L, "Focale objectif :", "Frame2", 2640, 850, 1215, 255, 11, Def},
    {"txtChambre", T, "", "Frame2", 3840, 840, 495, 285, 13, Def},
    {"Label21", L, "Distance réseau/objectif :", "Frame2", 240, 1350, 1935, 255, 45, Def},
    {"txtDistance", T, "", "Frame2", 2280, 1320, 495, 285, 46, Def},
    {"Label9", L, "Longueur d'onde centrale :", "Frame2", 240, 1830, 2055, 255, 17, Def},
    {"txtWavelength", T, "", "Frame2", 2280, 1800, 615, 285, 18, Def},
    {"Label10", L, "angstroms", "Frame2", 3000, 1830, 735, 255, 19, Def},
    {"optBarlow", O, "Modèle à barlow", "Frame2", 240, 2520, 1575, 255, 6, Def},
    {"optFente", O, "Modèle à fente", "Frame2", 2280, 2520, 1455, 255, 7, Def},
    {"Label31", L, "Largeur de la fente en mm :", "Frame2", 240, 3140, 1935, 255, 67, Def},
    {"txtSlitWide", T, "", "Frame2", 2280, 3120, 495, 285, 68, Def},

    {"Label26", L, "Magnitude de l'étoile :", "Frame5", 120, 380, 1575, 255, 57, Def},
    {"txtMagEtoile", T, "", "Frame5", 1800, 360, 495, 285, 58, Def},
    {"Label27", L, "Magnitude du ciel :", "Frame5", 120, 865, 1455, 255, 59, Def},
    {"txtMagCiel", T, "", "Frame5", 1800, 840, 495, 285, 60, Def},
    {"Label28", L, "(par secondes d'arc carré)", "Frame5", 2400, 865, 1935, 255, 61, Def},
    {"Label4", L, "Pose totale :", "Frame5", 120, 1340, 975, 255, 62, Def},
    {"txtTi", T, "", "Frame5", 1080, 1320, 495, 285, 63, Def},
    {"Label29", L, "sec.", "Frame5", 1670, 1330, 375, 255, 64, Def},
    {"Label30", L, "Nombre de poses :", "Frame5", 2280, 1350, 1335, 255, 65, Def},
    {"txtNexposure", T, "", "Frame5", 3720, 1320, 495, 285, 66, Def},

    {"Label11", L, "Angle de diffraction :", "Frame4", 240, 370, 1455, 255, 25, Def},
    {"txtAngle", T, "", "Frame4", 1800, 360, 615, 285, 26, Pale},
    {"Label12", L, "degrés", "Frame4", 2520, 370, 735, 255, 27, Def},
    {"Label14", L, "Dispersion :", "Frame4", 240, 850, 855, 255, 31, Def},
    {"txtDispersion", T, "", "Frame4", 1200, 840, 615, 285, 32, Pale},
    {"Label15", L, "A/pixel", "Frame4", 1920, 855, 735, 255, 33, Def},
    {"Label16", L, "Lambda min. :", "Frame4", 240, 1330, 1095, 255, 34, Def},
    {"txtLambda1", T, "", "Frame4", 1440, 1320, 615, 285, 35, Pale},
    {"Label17", L, "Lambda max. :", "Frame4", 2400, 1330, 1095, 255, 36, Def},
    {"txtLambda2", T, "", "Frame4", 3480, 1320, 615, 285, 37, Pale},
    {"Label20", L, "Diamètre minimal du collimateur :", "Frame4", 240, 1815, 2415, 255, 41, Def},
    {"txtDCollimateur", T, "", "Frame4", 2640, 1800, 615, 285, 42, Pale},
    {"txtDReseau", L, "Largeur minimale du réseau :", "Frame4", 240, 2295, 2175, 255, 43, Def},
    {"txtDGrating", T, "", "Frame4", 2640, 2280, 615, 285, 44, Pale},
    {"Label22", L, "Diamètre minimal de l'objectif :", "Frame4", 240, 2790, 2175, 240, 47, Def},
    {"txtDChambre", T, "", "Frame4", 2640, 2760, 615, 285, 48, Pale},
    {"Label24", L, "F# :", "Frame4", 3480, 2790, 375, 255, 52, Def},
    {"txtFD", T, "", "Frame4", 3840, 2760, 495, 285, 53, Pale},
    {"Label18", L, "Pouvoir séparateur :", "Frame4", 240, 3255, 1575, 255, 38, Def},
    {"txtSeparation", T, "", "Frame4", 1800, 3240, 615, 285, 39, Bright},
    {"Label19", L, "angstroms", "Frame4", 2520, 3255, 735, 255, 40, Def},
    {"Label23", L, "Résolution :", "Frame4", 240, 3760, 1095, 255, 49, Def},
    {"txtResolution", T, "", "Frame4", 1200, 3735, 615, 285, 50, Bright},
    {"lblLambda", L, "", "Frame4", 1920, 3765, 2055, 255, 51, Def},
    {"Label25", L, "Rapport signal/bruit :", "Frame4", 240, 4225, 1575, 255, 54, Def},
    {"txtSB", T, "", "Frame4", 1820, 4200, 615, 285, 55, Bright},
    {"Label33", L, "à 5500 angstroms", "Frame4", 2530, 4230, 1455, 255, 71, Def},
});

constexpr bool inLayout(std::string_view name, Kind a, Kind b) {
    for (const ControlSpec& entry : kLayout)
        if (entry.name == name) return entry.kind == a || entry.kind == b;
    return false;
}

// Every control a run reads or writes, and every detector button, has its row.
constexpr bool layoutHoldsTheRunAndTheDetectors() {
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (!inLayout(controlName(static_cast<Control>(i)), Kind::TextField, Kind::Label))
            return false;
    for (const char* name : kDetectorButtons)
        if (!inLayout(name, Kind::Option, Kind::Option)) return false;
    return true;
}
static_assert(layoutHoldsTheRunAndTheDetectors());

}  // namespace

std::span<const ControlSpec> windowLayout() {
    return kLayout;
}

}  // namespace kelvora
