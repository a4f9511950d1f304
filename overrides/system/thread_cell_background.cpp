#include "overrides/system/thread_cell_background.h"

#include "core/palette.h"
#include "core/settings.h"
#include "overrides/system/app_image.h"

namespace tenebra {

SavedImplementation<CellBackgroundMaker> saved_thread_cell_background;
SavedImplementation<CellBackgroundMaker> saved_thread_cell_grey_selected_background;
SavedImplementation<CellBackgroundMaker> saved_thread_cell_highlighted_background;

namespace {

// The app's image, or a plain one of its size in `fill`.
id filled(id image, bool enabled, id fill) {
  return themed_app_image(image, enabled, [fill](AppImageSize size) {
    return objc::msg<id>(objc_getClass("UIColor"), "imageWithColor:andBounds:", fill,
                         CGRectMake(0, 0, size.width, size.height));
  });
}

}  // namespace

id thread_cell_background(id self, SEL _cmd, long position, id color) {
  const bool enabled = settings.enabled;
  return filled(saved_thread_cell_background(self, _cmd, position, color), enabled, bgColor);
}

id thread_cell_grey_selected_background(id self, SEL _cmd, long position, id color) {
  const bool enabled = settings.enabled;
  return filled(saved_thread_cell_grey_selected_background(self, _cmd, position, color), enabled,
                bgColor);
}

id thread_cell_highlighted_background(id self, SEL _cmd, long position, id color) {
  const bool enabled = settings.enabled;
  return filled(saved_thread_cell_highlighted_background(self, _cmd, position, color), enabled,
                lighterBgColor);
}

}  // namespace tenebra
