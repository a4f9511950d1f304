// The colour category UIColor(Kestrow): the toolkit's colour operations
// offered on the platform's UIColor, as the override rules and the palette
// call them: km_UIColorFromHex:, km_hexStringFromColor:, isLightColor,
// offsetColor, lighterColor and darkerColor.
#pragma once

namespace toolkit {

// Adds the category's methods to the runtime class UIColor; called once at
// the library's start-up. UIColor must already be defined (stops the process
// otherwise: the platform is not up).
void register_color_category();

}  // namespace toolkit
