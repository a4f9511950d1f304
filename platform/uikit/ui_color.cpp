#include "platform/uikit/ui_color.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

namespace ui {
namespace {

using cg::ColorComponents;
using cg::ColorModel;
using objc::msg;
using objc::Ref;

const objc::Member<CGColor> kCGColor{"UIColor", "_cgColor"};
// The image a pattern colour repeats; nil for every other colour.
const objc::Member<Ref> kPatternImage{"UIColor", "_patternImage"};

const objc::ClassRef color_class{"UIColor"};

id new_color(Class cls, const ColorComponents& value, id pattern_image) {
  id color = ns::allocate_instance(cls);
  kCGColor.of(color).components = value;
  kPatternImage.of(color) = Ref::retain(pattern_image);
  return color;
}

// A named colour: made on first use and kept for the process.
id shared_color(const ColorComponents& value) { return new_color(color_class(), value, nil); }

id set_value(id self, const ColorComponents& value) {
  kCGColor.of(self).components = value;
  return self;
}

id init_with_rgba(id self, SEL, double red, double green, double blue, double alpha) {
  return set_value(self, ColorComponents::rgb(red, green, blue, alpha));
}
id init_with_white(id self, SEL, double white, double alpha) {
  return set_value(self, ColorComponents::grey(white, alpha));
}
id init_with_hsba(id self, SEL, double hue, double saturation, double brightness, double alpha) {
  return set_value(self, cg::from_hsb({hue, saturation, brightness, alpha}));
}
// A pattern colour is drawn opaque: its one component is an alpha of 1.
id init_with_pattern_image(id self, SEL, id image) {
  static constexpr double kOpaque[] = {1.0};
  kPatternImage.of(self) = Ref::retain(image);
  return set_value(self, ColorComponents::other(kOpaque));
}
id init_with_cg_color(id self, SEL, CGColorRef cg_color) {
  if (cg_color == nullptr) {
    msg<void>(self, "release");
    return nil;
  }
  return set_value(self, cg_color->components);
}

id autoreleased(id color) { return ns::autorelease(color); }

id color_with_rgba(id self, SEL, double red, double green, double blue, double alpha) {
  return autoreleased(
      msg<id>(msg<id>(self, "alloc"), "initWithRed:green:blue:alpha:", red, green, blue, alpha));
}
id color_with_white(id self, SEL, double white, double alpha) {
  return autoreleased(msg<id>(msg<id>(self, "alloc"), "initWithWhite:alpha:", white, alpha));
}
id color_with_hsba(id self, SEL, double hue, double saturation, double brightness, double alpha) {
  return autoreleased(msg<id>(msg<id>(self, "alloc"), "initWithHue:saturation:brightness:alpha:",
                              hue, saturation, brightness, alpha));
}
id color_with_pattern_image(id self, SEL, id image) {
  return autoreleased(msg<id>(msg<id>(self, "alloc"), "initWithPatternImage:", image));
}
id color_with_cg_color(id self, SEL, CGColorRef cg_color) {
  return autoreleased(msg<id>(msg<id>(self, "alloc"), "initWithCGColor:", cg_color));
}

id white_color(id, SEL) {
  static id color = shared_color(ColorComponents::grey(1.0, 1.0));
  return color;
}
id black_color(id, SEL) {
  static id color = shared_color(ColorComponents::grey(0.0, 1.0));
  return color;
}
id clear_color(id, SEL) {
  static id color = shared_color(ColorComponents::grey(0.0, 0.0));
  return color;
}
id red_color(id, SEL) {
  static id color = shared_color(ColorComponents::rgb(1.0, 0.0, 0.0, 1.0));
  return color;
}

// The views write only through the out-pointers they are given; any may be
// null, as the device allows.
void put(double* out, double value) {
  if (out != nullptr) *out = value;
}

BOOL get_rgba(id self, SEL, double* red, double* green, double* blue, double* alpha) {
  const auto rgba = cg::rgb_view(color_value(self));
  if (!rgba) return NO;
  put(red, rgba->red);
  put(green, rgba->green);
  put(blue, rgba->blue);
  put(alpha, rgba->alpha);
  return YES;
}
BOOL get_hsba(id self, SEL, double* hue, double* saturation, double* brightness, double* alpha) {
  const auto hsba = cg::hsb_view(color_value(self));
  if (!hsba) return NO;
  put(hue, hsba->hue);
  put(saturation, hsba->saturation);
  put(brightness, hsba->brightness);
  put(alpha, hsba->alpha);
  return YES;
}
BOOL get_white(id self, SEL, double* white, double* alpha) {
  const auto grey = cg::white_view(color_value(self));
  if (!grey) return NO;
  put(white, grey->white);
  put(alpha, grey->alpha);
  return YES;
}

CGColorRef cg_color(id self, SEL) { return &kCGColor.of(self); }

ColorComponents with_alpha(const ColorComponents& value, double alpha) {
  switch (value.model()) {
    case ColorModel::kRgb:
      return ColorComponents::rgb(value.at(0), value.at(1), value.at(2), alpha);
    case ColorModel::kGrey:
      return ColorComponents::grey(value.at(0), alpha);
    case ColorModel::kOther:
      break;
  }
  double components[ColorComponents::kMaxComponents] = {};
  const auto count = value.count();
  for (std::size_t i = 0; i < count; ++i) components[i] = value.at(i);
  if (count > 0) components[count - 1] = alpha;
  return ColorComponents::other({components, count});
}

id color_with_alpha(id self, SEL, double alpha) {
  return autoreleased(
      new_color(color_class(), with_alpha(color_value(self), alpha), kPatternImage.of(self)));
}

BOOL is_equal(id self, SEL, id other) {
  if (self == other) return YES;
  if (!is_color(other) || color_value(self) != color_value(other)) return NO;
  id pattern = kPatternImage.of(self);
  id other_pattern = kPatternImage.of(other);
  return pattern == other_pattern || msg<BOOL>(pattern, "isEqual:", other_pattern);
}

// Equal colours have equal components, and 0 equals -0: both hash alike.
unsigned long hash(id self, SEL) {
  const auto& value = color_value(self);
  std::size_t result = static_cast<std::size_t>(value.model());
  for (double component : value.components()) {
    result = result * 31 + std::hash<double>{}(component == 0.0 ? 0.0 : component);
  }
  return result;
}

// As the device prints it: the colour space, then the components with %g.
id description(id self, SEL) {
  const auto& value = color_value(self);
  std::string text;
  switch (value.model()) {
    case ColorModel::kRgb:
      text = "UIExtendedSRGBColorSpace";
      break;
    case ColorModel::kGrey:
      text = "UIExtendedGrayColorSpace";
      break;
    case ColorModel::kOther:
      text = kPatternImage.of(self) ? "UIPatternColorSpace" : "UIUnknownColorSpace";
      break;
  }
  for (double component : value.components()) {
    char field[32];
    std::snprintf(field, sizeof field, " %g", component);
    text += field;
  }
  return ns::string(text);
}

id copy_with_zone(id self, SEL, void*) { return msg<id>(self, "retain"); }

}  // namespace

void define_color_classes() {
  objc::ClassDefinition("UIColor", objc_getClass("NSObject"))
      .member<CGColor>("_cgColor")
      .member<Ref>("_patternImage")
      .class_method("colorWithRed:green:blue:alpha:", color_with_rgba)
      .class_method("colorWithWhite:alpha:", color_with_white)
      .class_method("colorWithHue:saturation:brightness:alpha:", color_with_hsba)
      .class_method("colorWithPatternImage:", color_with_pattern_image)
      .class_method("colorWithCGColor:", color_with_cg_color)
      .class_method("whiteColor", white_color)
      .class_method("blackColor", black_color)
      .class_method("clearColor", clear_color)
      .class_method("redColor", red_color)
      .method("initWithRed:green:blue:alpha:", init_with_rgba)
      .method("initWithWhite:alpha:", init_with_white)
      .method("initWithHue:saturation:brightness:alpha:", init_with_hsba)
      .method("initWithPatternImage:", init_with_pattern_image)
      .method("initWithCGColor:", init_with_cg_color)
      .method("getRed:green:blue:alpha:", get_rgba)
      .method("getHue:saturation:brightness:alpha:", get_hsba)
      .method("getWhite:alpha:", get_white)
      .method("CGColor", cg_color)
      .method("colorWithAlphaComponent:", color_with_alpha)
      .method("isEqual:", is_equal)
      .method("hash", hash)
      .method("description", description)
      .method("copyWithZone:", copy_with_zone)
      .finish();
}

id make_color(const ColorComponents& value) {
  return ns::autorelease(new_color(color_class(), value, nil));
}

const ColorComponents& color_value(id color) {
  if (!is_color(color)) {
    std::fprintf(stderr, "uikit: color_value of %s, which is no UIColor\n",
                 objc::class_name_of(color));
    std::abort();
  }
  return kCGColor.of(color).components;
}

bool is_color(id object) { return objc::is_kind_of(object, color_class()); }

}  // namespace ui
