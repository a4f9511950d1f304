#include "tools/preview/index_page.h"

#include <cstdio>

#include "tools/preview/screen_page.h"

namespace preview {
namespace {

std::string swatch(const std::string& color) {
  if (color.size() < 7 || color[0] != '#') return html_text(color);
  return "<span class=\"sw\" style=\"background:" + color.substr(0, 7) + "\"></span>" +
         html_text(color);
}

std::string ratio_text(double ratio) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f:1", ratio);
  return text;
}

void rules_table(const ScreenReport& screen, std::string& out) {
  out += "<h3>Rules that fired (" + std::to_string(screen.rules.size()) + ")</h3>";
  if (screen.rules.empty()) {
    out += "<p>None.</p>";
    return;
  }
  out += "<table><tr><th>Row</th><th>Class</th><th>Selector</th><th>Times</th></tr>";
  for (const RuleFiring& rule : screen.rules) {
    out += "<tr><td>" + std::to_string(rule.row) + "</td><td>" + html_text(rule.class_name) +
           "</td><td>" + std::string(rule.class_side ? "+" : "-") + html_text(rule.selector) +
           "</td><td>" + std::to_string(rule.count) + "</td></tr>";
  }
  out += "</table>";
}

void changes_table(const ScreenReport& screen, std::string& out) {
  out += "<h3>Colours that changed (" + std::to_string(screen.views_themed) + " views)</h3>";
  if (screen.changes.empty()) {
    out += "<p>None.</p>";
    return;
  }
  out += "<table><tr><th>What</th><th>Before</th><th>After</th><th>Views</th><th>Classes</th></tr>";
  for (const ColorChange& change : screen.changes) {
    out += "<tr><td>" + change.property + "</td><td>" + swatch(change.before) + "</td><td>" +
           swatch(change.after) + "</td><td>" + std::to_string(change.views) + "</td><td>" +
           html_text(change.classes) + "</td></tr>";
  }
  out += "</table>";
}

void audit_table(const ScreenReport& screen, std::string& out) {
  out += "<h3>Contrast: " + std::to_string(screen.texts_audited) + " texts, " +
         std::to_string(screen.below.size()) + " below 4.5:1</h3>";
  if (screen.below.empty()) {
    out += "<p>Every text of the themed screen reaches 4.5:1 against what is drawn behind it.</p>";
    return;
  }
  out +=
      "<table><tr><th>Text</th><th>Class</th><th>Colour</th><th>Behind</th><th>Contrast</th>"
      "<th>Why</th></tr>";
  for (const LowContrast& low : screen.below) {
    out += "<tr class=\"low\"><td>" + html_text(low.text) + "</td><td>" +
           html_text(low.class_name) + "</td><td>" + swatch(low.color) + "</td><td>" +
           swatch(low.behind) + "</td><td>" + ratio_text(low.ratio) + "</td><td>" +
           html_text(low.reason) + "</td></tr>";
  }
  out += "</table>";
}

}  // namespace

std::string index_page(const std::vector<ScreenReport>& screens) {
  std::string out =
      "<!doctype html><html><head><meta charset=\"utf-8\"><title>Tenebra preview</title><style>"
      "body{font-family:sans-serif;margin:24px;color:#202124}"
      "section{margin-bottom:48px}"
      ".pair{display:flex;gap:24px;align-items:flex-start}"
      ".pair figure{margin:0}.pair img{width:375px;border:1px solid #ccc}"
      "table{border-collapse:collapse;margin:8px 0;font-size:13px}"
      "td,th{border:1px solid #ddd;padding:3px 8px;text-align:left}"
      "tr.low td{background:#fff4e5}"
      ".sw{display:inline-block;width:12px;height:12px;border:1px solid #888;"
      "margin-right:4px;vertical-align:middle}"
      "</style></head><body><h1>Tenebra preview</h1>"
      "<p>Each screen of the app model, drawn with the theme off (before) and on (after). "
      "Contrast is measured on the themed screens, text colour against the colour drawn "
      "behind it.</p><ul>";
  for (const ScreenReport& screen : screens) {
    out += "<li><a href=\"#" + screen.name + "\">" + html_text(screen.title) + "</a></li>";
  }
  out += "</ul>";
  for (const ScreenReport& screen : screens) {
    out += "<section id=\"" + screen.name + "\"><h2>" + html_text(screen.title) +
           "</h2><div class=\"pair\"><figure><img src=\"" + screen.before_png + "\" alt=\"" +
           html_text(screen.title) +
           ", before\"><figcaption>Before</figcaption>"
           "</figure><figure><img src=\"" +
           screen.after_png + "\" alt=\"" + html_text(screen.title) +
           ", after\"><figcaption>After</figcaption></figure><div>";
    rules_table(screen, out);
    changes_table(screen, out);
    audit_table(screen, out);
    out += "</div></div></section>\n";
  }
  return out + "</body></html>\n";
}

}  // namespace preview
