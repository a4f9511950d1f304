// The theme's palette: its three colors, made from their hex texts by the
// toolkit's color category and rebuilt by every settings load.
#pragma once

#include "platform/objc/runtime.h"

namespace tenebra {

inline constexpr const char* kBgColorHex = "#000000";
inline constexpr const char* kLighterBgColorHex = "#1B1B1B";
inline constexpr const char* kTextColorHex = "#cccccc";

// Sets all three colors anew from their hex texts.
void rebuild_palette();

}  // namespace tenebra

// The palette, exported as global data under these names. Empty until the
// first load; every load sets all three anew.
extern "C" {
extern __attribute__((visibility("default"))) id bgColor;
extern __attribute__((visibility("default"))) id lighterBgColor;
extern __attribute__((visibility("default"))) id textColor;
}
