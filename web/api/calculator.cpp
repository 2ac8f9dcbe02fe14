#include "web/api/calls.h"

#include "model/calculation.h"
#include "model/numbertext.h"
#include "model/windowlayout.h"

namespace kelvora::web {

namespace {

const char* kindName(Kind k) {
    switch (k) {
        case Kind::GroupBox:
            return "groupe";
        case Kind::Label:
            return "etiquette";
        case Kind::TextField:
            return "champ";
        case Kind::Option:
            return "option";
        case Kind::Button:
            return "bouton";
    }
    return "";
}

const char* backgroundName(Background b) {
    switch (b) {
        case Background::PaleYellow:
            return "jaune-pale";
        case Background::BrightYellow:
            return "jaune-vif";
        case Background::Default:
            break;
    }
    return "";
}

// The option buttons' captions come from the catalogue's first rows.
std::string captionOf(const ControlSpec& c) {
    for (std::size_t i = 0; i < kDetectorButtons.size(); ++i)
        if (std::string_view(c.name) == kDetectorButtons[i]) return builtInDetectors()[i].caption;
    return c.caption;
}

}  // namespace

Json formSchema() {
    Json controls = Json::array();
    for (const ControlSpec& c : windowLayout())
        controls.push_back({{"nom", c.name},
                            {"genre", kindName(c.kind)},
                            {"texte", captionOf(c)},
                            {"parent", c.parent},
                            {"x", c.left},
                            {"y", c.top},
                            {"l", c.width},
                            {"h", c.height},
                            {"tab", c.tabIndex},
                            {"fond", backgroundName(c.background)}});
    Json defaults = Json::object();
    for (std::size_t i = 0; i < kInputCount; ++i)
        defaults[std::string(controlName(inputAt(i)))] = defaultText(inputAt(i));
    Json shown = Json::array();
    for (std::size_t i = 0; i < kShownCount; ++i)
        shown.push_back(std::string(controlName(shownAt(i))));
    Json buttons = Json::array();
    for (const char* b : kDetectorButtons) buttons.push_back(b);
    return {{"controles", controls},        {"defauts", defaults},
            {"resultats", shown},           {"boutonsCapteur", buttons},
            {"titre", kWindowCaption},      {"largeur", kClientWidthTwips},
            {"hauteur", kClientHeightTwips}};
}

// {"textes": {"txtDiametre": "200", …}, "capteur": 0..2 or -1, "barlow": true,
//  "separateur": "."} → {"affiches": {control: text}, "vides": [...], "faute": msg|null}
Json calculate(const Json& args) {
    RunInput in;
    const Json& texts = args.at("textes");
    for (std::size_t i = 0; i < kInputCount; ++i) {
        const std::string name(controlName(inputAt(i)));
        if (texts.contains(name)) in.texts[i] = texts.at(name).get<std::string>();
    }
    const int detector = args.value("capteur", 0);
    in.detector = detector >= 0 && detector < static_cast<int>(kDetectorButtons.size())
                      ? builtInDetectors()[static_cast<std::size_t>(detector)]
                      : DetectorModel{};
    in.barlowSelected = args.value("barlow", true);
    in.decimalSeparator = args.value("separateur", std::string("."));
    const RunOutput out = runCalculation(in);
    Json shown = Json::array();
    for (const ShownText& s : out.shown)
        shown.push_back({std::string(controlName(s.control)), s.text});
    Json emptied = Json::array();
    if (out.fault)
        for (std::size_t i = out.shown.size(); i < kShownCount; ++i)
            emptied.push_back(std::string(controlName(shownAt(i))));
    return {{"affiches", shown},
            {"vides", emptied},
            {"faute", out.fault ? Json(faultMessage(*out.fault)) : Json()}};
}

// {"textes": {control: text}} → {control: note} for each text the
// leading-number rule does not read whole: the note the window shows.
Json readingNotes(const Json& args) {
    Json notes = Json::object();
    for (const auto& [name, text] : args.at("textes").items()) {
        const std::string note = readingNote(text.get<std::string>());
        if (!note.empty()) notes[name] = note;
    }
    return notes;
}

}  // namespace kelvora::web
