#include "ui/designform.h"

#include <cmath>

#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/floatconv.h"
#include "model/numbertext.h"

namespace kelvora::ui::designform {

std::vector<std::pair<QString, QString>> wordChoices(std::string_view key) {
    std::vector<std::pair<QString, QString>> out;
    for (const design::WordChoice& c : design::wordChoices())
        if (key == c.key)
            for (int i = 0; i < 2; ++i)
                out.emplace_back(QString::fromLatin1(c.words[i]), QString::fromUtf8(c.captions[i]));
    return out;
}

QString geometryCaption(design::Geometry g) {
    return QString::fromUtf8(design::geometryCaption(g));
}

std::optional<double> readDecimal(const QString& text, const QLocale& locale) {
    QString t = text.trimmed();
    if (locale.decimalPoint() != QStringLiteral("."))
        t.replace(locale.decimalPoint(), QStringLiteral("."));
    return design::strictNumber(t.toStdString());
}

// Plain decimals where they stay readable, the shortest exact text elsewhere.
QString fieldText(const design::DesignInput& in, const std::string& key, const QLocale& locale) {
    const std::string text = design::keyText(in, key);
    const auto v = design::strictNumber(text);
    if (!v) return QString::fromStdString(text);
    QString shown = QString::fromStdString(text);
    if (*v != 0 && std::fabs(*v) >= 1e-6 && std::fabs(*v) < 1e15)
        shown = QString::fromStdString(floatconv::shortestFixed(*v));
    return shown.replace(QLatin1Char('.'), locale.decimalPoint());
}

QString resultText(double v, const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return std::isfinite(v) ? l.toString(v, 'g', 5) : QStringLiteral("—");
}

design::DesignInput designFromForm(const RunInput& form, design::DesignInput in) {
    auto value = [&](Control c) { return kelvora::readNumber(form.texts[indexOf(c)]).value; };
    if (!form.detector.caption.empty()) design::applyDetector(in, form.detector);
    in.diametre_mm = value(Control::txtDiametre);
    in.focale_mm = value(Control::txtFocale);
    in.seeing_arcsec = value(Control::txtSeeing);
    in.traits_mm = value(Control::txtTraits);
    in.ordre = value(Control::txtOrdre);
    in.collimateur_mm = value(Control::txtCollimateur);
    in.objectif_mm = value(Control::txtChambre);
    in.distance_objectif_mm = value(Control::txtDistance);
    in.lambda_a = value(Control::txtWavelength);
    in.mag_etoile = value(Control::txtMagEtoile);
    in.mag_ciel = value(Control::txtMagCiel);
    in.pose_s = value(Control::txtTi);
    in.poses = value(Control::txtNexposure);
    in.bruit_e = value(Control::txtBruit);
    in.bin_x = value(Control::txtBin1);
    in.bin_y = value(Control::txtBin2);
    in.fente_um = form.barlowSelected ? 0 : value(Control::txtSlitWide) * 1000;
    return in;
}

QString hintOf(std::string_view key) {
    return QString::fromUtf8(design::hintOf(key));
}

QString labelOf(std::string_view key) {
    return QString::fromStdString(design::labelOf(key));
}

QString labelled(const std::string& error) {
    return QString::fromStdString(design::labelled(error));
}

}  // namespace kelvora::ui::designform
