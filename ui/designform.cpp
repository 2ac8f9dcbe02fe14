#include "ui/designform.h"

#include <utility>
#include <vector>

#include "model/design/keys.h"
#include "model/design/shown.h"
#include "model/numbertext.h"

namespace kelvora::ui::designform {

namespace {

// The form's fields that mean the same as a design key.
constexpr std::pair<Control, const char*> kShared[] = {
    {Control::txtDiametre, "diametre_mm"}, {Control::txtFocale, "focale_mm"},
    {Control::txtSeeing, "seeing_arcsec"}, {Control::txtTraits, "traits_mm"},
    {Control::txtOrdre, "ordre"},          {Control::txtCollimateur, "collimateur_mm"},
    {Control::txtChambre, "objectif_mm"},  {Control::txtDistance, "distance_objectif_mm"},
    {Control::txtWavelength, "lambda_a"},  {Control::txtMagEtoile, "mag_etoile"},
    {Control::txtMagCiel, "mag_ciel"},     {Control::txtTi, "pose_s"},
    {Control::txtNexposure, "poses"},      {Control::txtBruit, "bruit_e"},
    {Control::txtBin1, "bin_x"},           {Control::txtBin2, "bin_y"},
};

}  // namespace

std::string separator(const QLocale& locale) {
    return locale.decimalPoint().toStdString();
}

QString resultText(double v, const QLocale& locale) {
    return QString::fromStdString(design::shownResult(v, separator(locale)));
}

design::DesignInput designFromForm(const RunInput& form, const DetectorCatalogue& catalogue,
                                   design::DesignInput base) {
    auto value = [&](Control c) { return kelvora::readNumber(form.texts[indexOf(c)]).value; };
    std::vector<design::KeyValue> keys;
    if (!form.detector.caption.empty()) keys.push_back({"detecteur", form.detector.caption});
    for (const auto& [control, key] : kShared) keys.push_back({key, {}, value(control)});
    keys.push_back({"fente_um", {}, form.barlowSelected ? 0 : value(Control::txtSlitWide) * 1000});
    // The form read every number by its own rule; a fraction where the design
    // counts whole things (an order of 1.5) leaves the design's own value.
    return design::designFromKeys(keys, catalogue, std::move(base)).input;
}

}  // namespace kelvora::ui::designform
