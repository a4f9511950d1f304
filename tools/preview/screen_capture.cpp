#include "tools/preview/screen_capture.h"

#include <algorithm>
#include <cstdio>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/text_attributes.h"
#include "platform/uikit/ui_graphics.h"
#include "platform/uikit/ui_image.h"
#include "platform/uikit/ui_keyboard.h"
#include "platform/uikit/ui_view.h"

namespace preview {
namespace {

using objc::msg;

bool is_kind(id object, const char* class_name) {
  Class cls = objc_getClass(class_name);
  return cls != Nil && msg<BOOL>(object, "isKindOfClass:", cls);
}

bool answers(id object, const char* selector) {
  return objc::responds(object, objc::sel(selector));
}

double unit(double component) { return std::clamp(component, 0.0, 1.0); }

// A pattern colour has neither form and draws as nothing here.
std::optional<Rgba> rgba_of(id color) {
  if (color == nil) return std::nullopt;
  double r = 0, g = 0, b = 0, a = 0;
  if (msg<BOOL>(color, "getRed:green:blue:alpha:", &r, &g, &b, &a)) {
    return Rgba{unit(r), unit(g), unit(b), unit(a)};
  }
  if (msg<BOOL>(color, "getWhite:alpha:", &r, &a)) return Rgba{unit(r), unit(r), unit(r), unit(a)};
  return std::nullopt;
}

Rgba black() { return {0, 0, 0, 1}; }

// The foreground colour at the start of an attributed text, if it sets one.
std::optional<Rgba> foreground_of(id attributed) {
  if (msg<unsigned long>(attributed, "length") == 0) return std::nullopt;
  return rgba_of(msg<id>(attributed, "attribute:atIndex:effectiveRange:",
                         NSForegroundColorAttributeName, 0UL, static_cast<NSRange*>(nullptr)));
}

// The text a view draws and its colour, asked as the view's drawing asks.
// A button's title takes its tint, as a system button draws it.
void read_text(id view, Box& box) {
  if (is_kind(view, "UIButton")) {
    id title = msg<id>(view, "currentTitle");
    if (title == nil) return;
    box.text = ns::utf8(title);
    box.text_color = rgba_of(msg<id>(view, "tintColor")).value_or(black());
    box.centered = true;
    return;
  }
  if (answers(view, "attributedTitle")) {
    id title = msg<id>(view, "attributedTitle");
    if (title == nil) return;
    box.text = ns::utf8(msg<id>(title, "string"));
    box.text_color = foreground_of(title).value_or(black());
    box.centered = true;
    return;
  }
  if (!answers(view, "text")) return;
  id attributed = answers(view, "attributedText") ? msg<id>(view, "attributedText") : nil;
  id text = msg<id>(view, "text");
  if (attributed != nil && msg<unsigned long>(attributed, "length") > 0) {
    box.text = ns::utf8(msg<id>(attributed, "string"));
    box.text_color = foreground_of(attributed).value_or(black());
    if (std::optional<Rgba> own = rgba_of(msg<id>(view, "textColor"));
        own && !foreground_of(attributed)) {
      box.text_color = *own;
    }
  } else if (text != nil) {
    box.text = ns::utf8(text);
    box.text_color = rgba_of(msg<id>(view, "textColor")).value_or(black());
  }
}

// The image as the view shows it, scaled to fill its frame.
void read_image(id view, id image, Box& box, double scale) {
  if (image == nil || box.frame.size.width <= 0 || box.frame.size.height <= 0) return;
  ns::AutoreleasePool pool;
  UIGraphicsBeginImageContextWithOptions(box.frame.size, NO, scale);
  msg<void>(image, "drawInRect:", CGRectMake(0, 0, box.frame.size.width, box.frame.size.height));
  id drawn = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  id data = UIImagePNGRepresentation(drawn);
  if (data == nil) return;
  box.image_png = std::string(static_cast<const char*>(msg<const void*>(data, "bytes")),
                              msg<unsigned long>(data, "length"));
  if (msg<long>(image, "renderingMode") == ui::kRenderingModeAlwaysTemplate) {
    box.tint = rgba_of(msg<id>(view, "tintColor")).value_or(black());
  }
}

// A shape the item draws; its path names it apart from the item's own box.
Box glyph(const Box& item, int number, CGRect frame, Rgba color, double radius) {
  Box box;
  box.class_name = item.class_name;
  box.path = item.path + "/" + std::to_string(number);
  box.frame = frame;
  box.opacity = item.opacity;
  box.background = color;
  box.corner_radius = radius;
  return box;
}

// The status bar's glyphs: the signal's four bars (the inactive ones faint),
// Wi-Fi and battery as their shapes in the tint they report.
void add_status_glyphs(id view, const Box& item, std::vector<Box>& boxes) {
  const CGRect f = item.frame;
  if (is_kind(view, "_UIStatusBarSignalView")) {
    const Rgba active = rgba_of(msg<id>(view, "activeColor")).value_or(black());
    const long bars = msg<long>(view, "numberOfActiveBars");
    for (int bar = 0; bar < 4; ++bar) {
      Rgba color = active;
      if (bar >= bars) color.a *= 0.3;
      const double height = f.size.height * (bar + 1) / 4;
      boxes.push_back(
          glyph(item, bar,
                CGRectMake(f.origin.x + bar * 4.5, f.origin.y + f.size.height - height, 3, height),
                color, 1));
    }
  } else if (is_kind(view, "_UIStatusBarImageView")) {
    boxes.push_back(glyph(item, 0, f, rgba_of(msg<id>(view, "tintColor")).value_or(black()),
                          f.size.height / 3));
  }
}

// The keyboard's keys over its backdrop, in the colours of the render
// configuration the keyboard was given.
void add_keys(id keyboard, const Box& backdrop, std::vector<Box>& boxes) {
  const bool light = msg<BOOL>(msg<id>(keyboard, "renderConfig"), "lightKeyboard") != NO;
  const Rgba key = light ? Rgba{1, 1, 1, 1} : Rgba{107 / 255.0, 107 / 255.0, 107 / 255.0, 1};
  const Rgba letter = light ? black() : Rgba{1, 1, 1, 1};
  const char* const rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const double key_width = 31.5, key_height = 42, gap = 6;
  const CGRect f = backdrop.frame;
  for (int row = 0; row < 3; ++row) {
    const std::string letters = rows[row];
    const double span = letters.size() * key_width + (letters.size() - 1) * gap;
    double x = f.origin.x + (f.size.width - span) / 2;
    const double y = f.origin.y + 8 + row * (key_height + 12);
    for (char c : letters) {
      Box cap = glyph(backdrop, c, CGRectMake(x, y, key_width, key_height), key, 5);
      cap.text = std::string(1, c);
      cap.text_color = letter;
      cap.font_size = 22;
      cap.centered = true;
      boxes.push_back(cap);
      x += key_width + gap;
    }
  }
  Box space = glyph(backdrop, ' ',
                    CGRectMake(f.origin.x + 90, f.origin.y + 8 + 3 * (key_height + 12),
                               f.size.width - 180, key_height),
                    key, 5);
  space.text = "space";
  space.text_color = letter;
  space.font_size = 16;
  space.centered = true;
  boxes.push_back(space);
}

void visit(id view, CGPoint origin, double opacity, const std::string& path, double scale,
           std::vector<Box>& boxes) {
  if (msg<BOOL>(view, "isHidden")) return;
  const CGRect frame = msg<CGRect>(view, "frame");
  Box box;
  box.class_name = class_getName(object_getClass(view));
  box.path = path;
  box.frame = CGRectMake(origin.x + frame.origin.x, origin.y + frame.origin.y, frame.size.width,
                         frame.size.height);
  box.opacity = opacity * std::clamp(msg<double>(view, "alpha"), 0.0, 1.0);
  if (box.opacity <= 0) return;
  box.background = rgba_of(msg<id>(view, "backgroundColor"));
  box.font_size = std::min(17.0, std::max(9.0, frame.size.height * 0.7));
  if (is_kind(view, "UIWebView") || is_kind(view, "WKWebView")) {
    box.web_page = webrender::page_of(view);
    boxes.push_back(std::move(box));
    return;
  }
  read_text(view, box);
  if (is_kind(view, "_UIStatusBarStringView")) {
    box.bold = true;
    box.font_size = 15;
  }
  if (is_kind(view, "UIImageView") && !is_kind(view, "_UIStatusBarImageView")) {
    read_image(view, msg<id>(view, "image"), box, scale);
  } else if (answers(view, "backgroundImage")) {
    // A view that draws its background image over its bounds.
    read_image(view, msg<id>(view, "backgroundImage"), box, scale);
  }
  const Box placed = box;
  boxes.push_back(std::move(box));
  add_status_glyphs(view, placed, boxes);
  if (is_kind(view, "UIKeyboard")) add_keys(view, placed, boxes);

  const CGRect bounds = msg<CGRect>(view, "bounds");
  const CGPoint inner =
      CGPointMake(placed.frame.origin.x - bounds.origin.x, placed.frame.origin.y - bounds.origin.y);
  const std::vector<objc::Ref> subviews = ui::subviews_of(view);
  for (std::size_t i = 0; i < subviews.size(); ++i) {
    visit(subviews[i], inner, placed.opacity, path + "." + std::to_string(i), scale, boxes);
  }
}

int byte(double component) { return static_cast<int>(component * 255 + 0.5); }

}  // namespace

std::string hex_text(const Rgba& color) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(color.r), byte(color.g), byte(color.b));
  std::string out = text;
  if (byte(color.a) != 255) {
    std::snprintf(text, sizeof text, "/%02X", byte(color.a));
    out += text;
  }
  return out;
}

Capture capture_window(id window, double scale) {
  ns::AutoreleasePool pool;
  Capture capture;
  const CGRect frame = msg<CGRect>(window, "frame");
  capture.width = frame.size.width;
  capture.height = frame.size.height;
  visit(window, CGPointMake(-frame.origin.x, -frame.origin.y), 1, "0", scale, capture.boxes);
  return capture;
}

}  // namespace preview
