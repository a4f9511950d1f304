// What the preview found on each screen, and the index page that shows it:
// the screens side by side, before (theme off) and after (theme on), each
// with the rules that fired on it, the colours that changed and every text
// of the themed side below 4.5:1 with the reason it stays so. Plain HTML
// that names the pictures beside it and fetches nothing.
#pragma once

#include <string>
#include <vector>

namespace preview {

// WCAG 2's minimum contrast for body text.
inline constexpr double kMinimumContrast = 4.5;

struct RuleFiring {
  int row = 0;  // the registry row, from 1
  std::string class_name;
  bool class_side = false;
  std::string selector;
  unsigned long count = 0;
};

struct ColorChange {
  std::string property;  // "background" or "text"
  std::string before;    // "#RRGGBB" or "none"
  std::string after;
  int views = 0;
  std::string classes;  // the views' classes, comma-separated
};

struct LowContrast {
  std::string text;
  std::string class_name;
  std::string color;   // as drawn
  std::string behind;  // what is drawn behind it
  double ratio = 0;
  std::string reason;
};

struct ScreenReport {
  std::string name;        // "inbox"
  std::string title;       // "Inbox"
  std::string before_png;  // relative to the index page
  std::string after_png;
  std::vector<RuleFiring> rules;  // the themed side's
  std::vector<ColorChange> changes;
  int views_themed = 0;
  int texts_audited = 0;
  std::vector<LowContrast> below;  // the themed side's texts below 4.5:1
};

std::string index_page(const std::vector<ScreenReport>& screens);

}  // namespace preview
