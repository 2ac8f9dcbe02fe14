#include <QGroupBox>
#include <QLabel>
#include <QPalette>

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
    for (const ControlSpec& spec : windowLayout()) {
        const QWidget* w = get(spec.name);
        ASSERT_TRUE(w);
        EXPECT_TRUE(hasKind(w, spec.kind)) << spec.name;
        if (spec.kind != Kind::TextField && std::string_view(spec.name) != "lblLambda") {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(spec.caption)) << spec.name;
        }
        const QString parent = *spec.parent ? spec.parent : "Kelvora";
        EXPECT_EQ(w->parentWidget()->objectName(), parent) << spec.name;
    }
    EXPECT_EQ(get<QLabel>("Label32")->text(), "");
    EXPECT_FALSE(window().windowIcon().isNull());
}

TEST_F(WindowTest, GeometryIsTheTwipsTimesOneFactor) {
    const double f = window().scaleFactor();
    EXPECT_GE(f, 1.0 / kBaseTwipsPerPixel);
    for (const ControlSpec& spec : windowLayout()) {
        const QRect r = get(spec.name)->geometry();
        EXPECT_NEAR(r.x(), spec.left * f, 0.5) << spec.name;
        EXPECT_NEAR(r.y(), spec.top * f, 0.5) << spec.name;
        EXPECT_NEAR(r.width(), spec.width * f, 1.0) << spec.name;
        EXPECT_NEAR(r.height(), spec.height * f, 1.0) << spec.name;
    }
    EXPECT_EQ(window().size(), clientPixels(f));
}

// Every caption and every default text fits, and a smaller factor would cut one.
TEST_F(WindowTest, FactorIsTheSmallestAtWhichEveryCaptionFits) {
    click("cmdCalcul");
    const double f = window().scaleFactor();
    double needed = 1.0 / kBaseTwipsPerPixel;
    for (const ControlSpec& spec : windowLayout()) {
        const QWidget* w = get(spec.name);
        QString t = captionOf(w);
        if (auto* e = qobject_cast<const QLineEdit*>(w)) t = e->text();
        const QSize req = requiredSize(*w, spec.kind, t);
        EXPECT_LE(req.width(), w->width()) << spec.name;
        EXPECT_LE(req.height(), w->height()) << spec.name;
        needed = fittingFactor(needed, req, spec.width, spec.height);
    }
    EXPECT_DOUBLE_EQ(f, needed);
}

TEST_F(WindowTest, ResizingMovesNothing) {
    const QRect before = get("txtSB")->geometry();
    window().resize(window().width() + 200, window().height() + 100);
    EXPECT_EQ(get("txtSB")->geometry(), before);
}

TEST_F(WindowTest, ResultBackgrounds) {
    const QColor bright(255, 255, 0), pale(255, 255, 192);
    const QColor standard = QLineEdit().palette().color(QPalette::Active, QPalette::Base);
    for (const ControlSpec& spec : windowLayout()) {
        if (spec.kind != Kind::TextField) continue;
        const QColor expected = spec.background == Background::BrightYellow ? bright
                                : spec.background == Background::PaleYellow ? pale
                                                                            : standard;
        EXPECT_EQ(field(spec.name)->palette().color(QPalette::Active, QPalette::Base), expected)
            << spec.name;
    }
    EXPECT_EQ(field("txtSB")->palette().color(QPalette::Base), bright);
    EXPECT_EQ(field("txtFD")->palette().color(QPalette::Base), pale);
}

TEST_F(WindowTest, AccessibleNamesAndDescriptions) {
    const std::pair<const char*, const char*> names[] = {
        {"txtDiametre", "Diamètre"},
        {"txtFocale", "Focale"},
        {"txtSeeing", "Seeing"},
        {"txtBruit", "Bruit"},
        {"txtBin1", "Bin X"},
        {"txtBin2", "Bin Y"},
        {"txtTraits", "Traits par mm"},
        {"txtOrdre", "Ordre de diffraction"},
        {"txtCollimateur", "Focale collimateur"},
        {"txtChambre", "Focale objectif"},
        {"txtDistance", "Distance réseau/objectif"},
        {"txtWavelength", "Longueur d'onde centrale"},
        {"txtSlitWide", "Largeur de la fente en mm"},
        {"txtMagEtoile", "Magnitude de l'étoile"},
        {"txtMagCiel", "Magnitude du ciel"},
        {"txtTi", "Pose totale"},
        {"txtNexposure", "Nombre de poses"},
        {"txtAngle", "Angle de diffraction"},
        {"txtDispersion", "Dispersion"},
        {"txtLambda1", "Lambda min."},
        {"txtLambda2", "Lambda max."},
        {"txtDCollimateur", "Diamètre minimal du collimateur"},
        {"txtDGrating", "Largeur minimale du réseau"},
        {"txtDChambre", "Diamètre minimal de l'objectif"},
        {"txtFD", "F#"},
        {"txtSeparation", "Pouvoir séparateur"},
        {"txtResolution", "Résolution"},
        {"txtSB", "Rapport signal/bruit"},
    };
    for (const auto& [name, spoken] : names) {
        EXPECT_EQ(field(name)->accessibleName(), QString::fromUtf8(spoken)) << name;
        const bool result = !isInput(*controlByName(name));
        EXPECT_EQ(field(name)->accessibleDescription(),
                  result ? QString("Résultat calculé") : QString())
            << name;
    }
}

}  // namespace
}  // namespace kelvora::ui
