// UIKit as the theme sees it: colours, the view tree and its responder chain,
// view controllers, the text and bar views whose colours the theme reads,
// and appearance proxies.
#pragma once

namespace ui {

// Defines every UIKit class in dependency order; called once at platform
// start, after Foundation.
void define_uikit_classes();

}  // namespace ui
