#include "overrides/system/navigation_chrome.h"

namespace tenebra {

SavedImplementation<void(id, SEL, id)> saved_navigation_bar_set_custom_bar_tint_color;
SavedImplementation<void(id, SEL, id)> saved_navigation_bar_set_bar_tint_color;
SavedImplementation<void(id, SEL, id)> saved_cell_selection_set_selection_tint_color;

}  // namespace tenebra
