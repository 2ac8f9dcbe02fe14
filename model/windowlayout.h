#pragma once

// The calculator window's controls as data: captions, places and tab order.
// The desktop window and the browser page both draw the form from it.

#include <array>
#include <span>

#include "model/detectors.h"

namespace kelvora {

enum class Kind { GroupBox, Label, TextField, Option, Button };
enum class Background { Default, PaleYellow, BrightYellow };

// One control of the window, in twips; a control inside a group box is
// placed relative to the group box.
struct ControlSpec {
    const char* name;
    Kind kind;
    const char* caption;  // group box title, label, option or button text
    const char* parent;   // group box name, or "" for the window
    int left, top, width, height;
    int tabIndex;
    Background background = Background::Default;
};

// The window's controls: group boxes before their children, and inside a
// group box each text field right after the label on its left.
std::span<const ControlSpec> windowLayout();

// The detector option buttons, showing the catalogue's first rows in order;
// their captions come from the catalogue.
inline constexpr std::array<const char*, kWindowDetectorCount> kDetectorButtons{
    "optKaf400", "optKaf1600", "optKaf3200"};

inline constexpr const char* kWindowCaption = "Kelvora";
inline constexpr int kClientWidthTwips = 9645;
inline constexpr int kClientHeightTwips = 7440;
inline constexpr double kBaseTwipsPerPixel = 15;  // at 96 dpi

}  // namespace kelvora
