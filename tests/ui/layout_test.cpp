#include <QGroupBox>

#include "tests/ui/window_fixture.h"
#include "ui/layout.h"
#include "ui/scaling.h"

namespace kelvora::ui {
namespace {

using testing::WindowTest;

QString captionOf(const QWidget* w) {
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    return {};
}

bool hasKind(const QWidget* w, Kind kind) {
    switch (kind) {
        case Kind::GroupBox:
            return qobject_cast<const QGroupBox*>(w);
        case Kind::Label:
            return qobject_cast<const QLabel*>(w);
        case Kind::TextField:
            return qobject_cast<const QLineEdit*>(w);
        case Kind::Option:
            return qobject_cast<const QRadioButton*>(w);
        case Kind::Button:
            return qobject_cast<const QPushButton*>(w);
    }
    return false;
}

TEST_F(WindowTest, EveryControlHasItsNameKindCaptionAndParent) {
    EXPECT_EQ(window().windowTitle(), "Kelvora");
    EXPECT_FALSE(window().windowIcon().isNull());
    for (const ControlSpec& entry : windowLayout()) {
        const QWidget* w = get(entry.name);
        ASSERT_TRUE(w);
        EXPECT_TRUE(hasKind(w, entry.kind)) << entry.name;
        if (entry.kind != Kind::TextField && std::string_view(entry.name) != "lblLambda") {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(entry.caption)) << entry.name;
        }
        EXPECT_EQ(w->parentWidget()->objectName(), *entry.parent ? entry.parent : "Kelvora");
    }
}

// One factor for every twip; at it every caption and every text of the
// default run fits its box, and a smaller factor would cut one of them.
TEST_F(WindowTest, GeometryIsTheTwipsTimesTheSmallestFittingFactor) {
    click("cmdCalcul");
    const double f = window().scaleFactor();
    double needed = 1.0 / kBaseTwipsPerPixel;
    for (const ControlSpec& entry : windowLayout()) {
        const QWidget* w = get(entry.name);
        const QRect r = w->geometry();
        EXPECT_NEAR(r.x(), entry.left * f, 0.5) << entry.name;
        EXPECT_NEAR(r.y(), entry.top * f, 0.5) << entry.name;
        EXPECT_NEAR(r.width(), entry.width * f, 1.0) << entry.name;
        EXPECT_NEAR(r.height(), entry.height * f, 1.0) << entry.name;
        const QSize req = requiredSize(*w, entry.kind, captionOf(w));
        EXPECT_LE(req.width(), r.width()) << entry.name;
        EXPECT_LE(req.height(), r.height()) << entry.name;
        needed = fittingFactor(needed, req, entry.width, entry.height);
    }
    EXPECT_DOUBLE_EQ(f, needed);
    EXPECT_EQ(window().size(), clientPixels(f));
    const QRect before = get("txtSB")->geometry();
    window().resize(window().width() + 200, window().height() + 100);
    EXPECT_EQ(get("txtSB")->geometry(), before) << "resizing moves nothing";
}

TEST_F(WindowTest, ResultBackgrounds) {
    const auto base = [this](const char* n) {
        return field(n)->palette().color(QPalette::Active, QPalette::Base);
    };
    for (const char* bright : {"txtSeparation", "txtResolution", "txtSB"})
        EXPECT_EQ(base(bright), QColor(255, 255, 0)) << bright;
    for (const char* pale : {"txtAngle", "txtDispersion", "txtLambda1", "txtLambda2",
                             "txtDCollimateur", "txtDGrating", "txtDChambre", "txtFD"})
        EXPECT_EQ(base(pale), QColor(255, 255, 192)) << pale;
    EXPECT_EQ(base("txtDiametre"), QLineEdit().palette().color(QPalette::Active, QPalette::Base));
}

// clang-format off
TEST_F(WindowTest, AccessibleNamesAndDescriptions) {
    const char* const names[][2] = {
        {"txtDiametre", "Diamètre"}, {"txtFocale", "Focale"}, {"txtSeeing", "Seeing"},
        {"txtBruit", "Bruit"}, {"txtBin1", "Bin X"}, {"txtBin2", "Bin Y"},
        {"txtTraits", "Traits par mm"}, {"txtOrdre", "Ordre de diffraction"},
        {"txtCollimateur", "Focale collimateur"}, {"txtChambre", "Focale objectif"},
        {"txtDistance", "Distance réseau/objectif"}, {"txtWavelength", "Longueur d'onde centrale"},
        {"txtSlitWide", "Largeur de la fente en mm"}, {"txtMagEtoile", "Magnitude de l'étoile"},
        {"txtMagCiel", "Magnitude du ciel"}, {"txtTi", "Pose totale"}, {"txtNexposure", "Nombre de poses"},
        {"txtAngle", "Angle de diffraction"}, {"txtDispersion", "Dispersion"},
        {"txtLambda1", "Lambda min."}, {"txtLambda2", "Lambda max."},
        {"txtDCollimateur", "Diamètre minimal du collimateur"},
        {"txtDGrating", "Largeur minimale du réseau"}, {"txtDChambre", "Diamètre minimal de l'objectif"},
        {"txtFD", "F#"}, {"txtSeparation", "Pouvoir séparateur"}, {"txtResolution", "Résolution"},
        {"txtSB", "Rapport signal/bruit"},
    };
    for (std::size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(field(names[i][0])->accessibleName(), QString::fromUtf8(names[i][1]));
        EXPECT_EQ(field(names[i][0])->accessibleDescription(), i < kInputCount ? "" : "Résultat calculé");
    }
}
// clang-format on

}  // namespace
}  // namespace kelvora::ui
