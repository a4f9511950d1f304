// A captured screen as a page for Chromium to draw: each box an absolutely
// placed element at its frame in CSS pixels (one per point), its background,
// its image and its text in its colour. Chromium draws text here because the
// platform model draws none; images arrive as the PNGs the model's own
// CoreGraphics drew, and a web view's page is rendered first on its own (its
// HTML with its user scripts, see tools/webrender) and placed as a picture.
// Every text element carries data-text (its box's index) and data-color (its
// colour with the view's opacity applied), which the contrast audit reads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/preview/screen_capture.h"

namespace preview {

struct PageResult {
  std::string html;
  // A job for tools/webrender/render-page.mjs for each web view on the
  // page, which draws the picture the page names; render-screens.mjs runs
  // them before it draws the page.
  std::vector<std::filesystem::path> web_jobs;
};

// The page for `capture`. Each web view's job is written into `assets` as
// `stem`-web-N.json, its picture named `stem`-web-N.png relative to the
// page, which must be written into the same directory.
PageResult screen_page(const Capture& capture, const std::filesystem::path& assets,
                       const std::string& stem, double scale);

// `text` with HTML's special characters as entities.
std::string html_text(const std::string& text);

// "rgba(R,G,B,A)" for CSS.
std::string css_color(const Rgba& color);

}  // namespace preview
