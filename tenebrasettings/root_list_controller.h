// TNBRootListController, the pane's root page (a PSListController): its
// cells come from the bundle's "Root" list; each switch shows what the
// settings file holds and writes it back on a change (see settings_file.h);
// three buttons open the support mail, the maker's Twitter profile and the
// donation page (see links.h).
#pragma once

namespace tenebrasettings {

void define_root_list_controller();

}  // namespace tenebrasettings
