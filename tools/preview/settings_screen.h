// The settings pane's page as the Settings app shows it: the page's title,
// its groups with their headers and footers, each switch in the state the
// page reads from the settings file, and its buttons and links, drawn in the
// Settings app's own grouped-list look. The pane has no views of its own in
// this model; the page's cells are what the framework would draw.
#pragma once

#include "hosts/settings/settings_app.h"
#include "tools/preview/screen_capture.h"

namespace preview {

Capture settings_capture(const host::SettingsPage& page);

}  // namespace preview
