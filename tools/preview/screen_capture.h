// A screen as the app model shows it, read off its window the way UIKit's
// drawing reads it: every visible view, back to front, with its frame in
// window points, its background, the text it draws and in which colour, the
// image it shows (drawn into its frame), the glyphs of the status bar and
// the keyboard's keys, and the page a web view holds. Everything is read by
// sending the messages the drawing would send, so the theme's rules on
// those getters run as they would while the app draws.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/coregraphics/geometry.h"
#include "platform/objc/runtime.h"
#include "tools/webrender/web_page.h"

namespace preview {

// An sRGB colour, components 0 to 1.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// "#RRGGBB", with "/AA" for the alpha when it is not opaque.
std::string hex_text(const Rgba& color);

struct Box {
  std::string class_name;
  // Where the view sits in the tree ("0.3.1": the window's first subview's
  // fourth subview's second), which pairs a view across two captures of
  // the same screen.
  std::string path;
  CGRect frame{};      // in window points
  double opacity = 1;  // the view's alpha times its ancestors'
  std::optional<Rgba> background;
  std::optional<std::string> text;
  Rgba text_color;
  double font_size = 17;
  bool bold = false;
  bool centered = false;
  double corner_radius = 0;
  // The image drawn into the frame, as PNG bytes; a template image is the
  // mask of a fill in `tint`.
  std::optional<std::string> image_png;
  std::optional<Rgba> tint;
  // A web view's page, rendered on its own (see screen_page.h).
  std::optional<webrender::WebPage> web_page;
};

struct Capture {
  double width = 375;
  double height = 812;
  std::vector<Box> boxes;  // back to front
};

// Reads `window` and every view in it. `scale` is the pixels per point that
// images are drawn at.
Capture capture_window(id window, double scale);

}  // namespace preview
