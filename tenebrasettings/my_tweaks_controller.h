// MyTweaksController, the page of the maker's packages (a
// PSListController): its cells come from the bundle's "my_tweaks" list, and
// a tapped package cell opens that package's page on the repository's web
// site, named by the cell's title in lower case without spaces.
#pragma once

namespace tenebrasettings {

void define_my_tweaks_controller();

}  // namespace tenebrasettings
