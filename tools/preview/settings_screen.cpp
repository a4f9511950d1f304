#include "tools/preview/settings_screen.h"

#include "platform/objc/message.h"

namespace preview {
namespace {

constexpr double kWidth = 375;
constexpr double kRowHeight = 44;
// The Settings app's own colours (grouped list, separators, system tint).
constexpr Rgba kGroupedBackground{242 / 255.0, 242 / 255.0, 247 / 255.0, 1};
constexpr Rgba kCellBackground{1, 1, 1, 1};
constexpr Rgba kLabel{0, 0, 0, 1};
constexpr Rgba kSecondaryLabel{109 / 255.0, 109 / 255.0, 114 / 255.0, 1};
constexpr Rgba kSwitchOn{52 / 255.0, 199 / 255.0, 89 / 255.0, 1};
constexpr Rgba kSwitchOff{233 / 255.0, 233 / 255.0, 234 / 255.0, 1};
constexpr Rgba kSystemBlue{0, 122 / 255.0, 1, 1};
constexpr Rgba kChevron{199 / 255.0, 199 / 255.0, 204 / 255.0, 1};

Box box(const std::string& class_name, CGRect frame) {
  Box made;
  made.class_name = class_name;
  made.frame = frame;
  return made;
}

Box filled(const std::string& class_name, CGRect frame, Rgba color, double radius = 0) {
  Box made = box(class_name, frame);
  made.background = color;
  made.corner_radius = radius;
  return made;
}

Box text(const std::string& class_name, CGRect frame, const std::string& words, Rgba color,
         double size) {
  Box made = box(class_name, frame);
  made.text = words;
  made.text_color = color;
  made.font_size = size;
  return made;
}

}  // namespace

Capture settings_capture(const host::SettingsPage& page) {
  Capture capture;
  auto& boxes = capture.boxes;
  boxes.push_back(filled("UIWindow", CGRectMake(0, 0, kWidth, capture.height), kGroupedBackground));
  Box title = text("UINavigationBar", CGRectMake(0, 44, kWidth, 44), page.title(), kLabel, 17);
  title.bold = true;
  title.centered = true;
  boxes.push_back(title);

  double y = 96;
  std::string footer;
  const auto end_group = [&] {
    if (footer.empty()) return;
    boxes.push_back(
        text("PSTableCell", CGRectMake(20, y + 6, kWidth - 40, 18), footer, kSecondaryLabel, 13));
    y += 30;
    footer.clear();
  };
  for (const host::Cell& cell : page.cells()) {
    if (cell.kind == host::CellKind::kGroup) {
      end_group();
      y += 24;
      if (!cell.label.empty()) {
        boxes.push_back(text("PSTableCell", CGRectMake(20, y, kWidth - 40, 18), cell.label,
                             kSecondaryLabel, 13));
        y += 24;
      }
      footer = cell.footer;
      continue;
    }
    boxes.push_back(filled("PSTableCell", CGRectMake(0, y, kWidth, kRowHeight), kCellBackground));
    const bool button = cell.kind == host::CellKind::kButton;
    boxes.push_back(text("PSTableCell", CGRectMake(16, y, kWidth - 100, kRowHeight), cell.label,
                         button ? kSystemBlue : kLabel, 17));
    if (cell.kind == host::CellKind::kSwitch) {
      id value = page.value(cell);
      const bool on = value != nil && objc::msg<BOOL>(value, "boolValue");
      const double x = kWidth - 16 - 51;
      boxes.push_back(
          filled("UISwitch", CGRectMake(x, y + 6.5, 51, 31), on ? kSwitchOn : kSwitchOff, 15.5));
      boxes.push_back(filled("UISwitch", CGRectMake(on ? x + 22 : x + 2, y + 8.5, 27, 27),
                             kCellBackground, 13.5));
    } else if (cell.kind == host::CellKind::kLink) {
      boxes.push_back(
          text("PSTableCell", CGRectMake(kWidth - 32, y, 16, kRowHeight), ">", kChevron, 17));
    }
    y += kRowHeight;
  }
  end_group();
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i].path = std::to_string(i);
  return capture;
}

}  // namespace preview
