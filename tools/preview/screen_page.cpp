#include "tools/preview/screen_page.h"

#include <cstdio>
#include <fstream>

namespace preview {

namespace fs = std::filesystem;

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

std::string base64(const std::string& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(value >> 18) & 63];
    out += kDigits[(value >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(value >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[value & 63] : '=';
  }
  return out;
}

std::string placement(const Box& box) {
  std::string style = "left:" + number(box.frame.origin.x) +
                      "px;top:" + number(box.frame.origin.y) +
                      "px;width:" + number(box.frame.size.width) +
                      "px;height:" + number(box.frame.size.height) + "px";
  if (box.corner_radius > 0) style += ";border-radius:" + number(box.corner_radius) + "px";
  return style;
}

std::string opacity(const Box& box) {
  return box.opacity < 1 ? ";opacity:" + number(box.opacity) : "";
}

}  // namespace

std::string html_text(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string css_color(const Rgba& color) {
  return "rgba(" + number(color.r * 255) + "," + number(color.g * 255) + "," +
         number(color.b * 255) + "," + number(color.a) + ")";
}

PageResult screen_page(const Capture& capture, const fs::path& assets, const std::string& stem,
                       double scale) {
  PageResult result;
  std::string& out = result.html;
  out =
      "<!doctype html><html><head><meta charset=\"utf-8\"><style>"
      "html,body{margin:0;background:#000}"
      "#screen{position:relative;overflow:hidden;background:#000;width:" +
      number(capture.width) + "px;height:" + number(capture.height) +
      "px}"
      ".b,.t{position:absolute;box-sizing:border-box}"
      ".w{position:absolute;overflow:hidden}.w img{display:block}"
      ".t{display:flex;align-items:center;white-space:nowrap;overflow:hidden;"
      "font-family:\"DejaVu Sans\",\"Liberation Sans\",sans-serif}"
      ".t.c{justify-content:center}"
      "</style></head><body><div id=\"screen\">\n";
  int web_views = 0;
  for (std::size_t i = 0; i < capture.boxes.size(); ++i) {
    const Box& box = capture.boxes[i];
    if (box.background && box.background->a > 0) {
      out += "<div class=\"b\" style=\"" + placement(box) +
             ";background:" + css_color(*box.background) + opacity(box) + "\"></div>\n";
    }
    if (box.web_page) {
      const std::string name = stem + "-web-" + std::to_string(++web_views);
      webrender::RenderOptions options;
      options.width = static_cast<int>(box.frame.size.width);
      options.height = static_cast<int>(box.frame.size.height);
      options.scale = scale;
      options.png = (assets / (name + ".png")).string();
      const fs::path job = assets / (name + ".json");
      std::ofstream(job, std::ios::binary) << webrender::job_json(*box.web_page, options);
      result.web_jobs.push_back(job);
      out += "<div class=\"w\" style=\"" + placement(box) + opacity(box) + "\"><img src=\"" + name +
             ".png\" style=\"width:" + number(box.frame.size.width) + "px\"></div>\n";
    }
    if (box.image_png) {
      const std::string data = "data:image/png;base64," + base64(*box.image_png);
      if (box.tint) {
        out += "<div class=\"b\" style=\"" + placement(box) +
               ";background:" + css_color(*box.tint) + ";-webkit-mask:url(" + data +
               ") 0 0/100% 100%" + opacity(box) + "\"></div>\n";
      } else {
        out += "<img class=\"b\" src=\"" + data + "\" style=\"" + placement(box) + opacity(box) +
               "\">\n";
      }
    }
    if (box.text && !box.text->empty()) {
      Rgba seen = box.text_color;
      seen.a *= box.opacity;
      out += "<div class=\"t" + std::string(box.centered ? " c" : "") + "\" data-text=\"" +
             std::to_string(i) + "\" data-color=\"" + css_color(seen) + "\" style=\"" +
             placement(box) + ";color:" + css_color(seen) + ";font-size:" + number(box.font_size) +
             "px" + (box.bold ? ";font-weight:bold" : "") + "\">" + html_text(*box.text) +
             "</div>\n";
    }
  }
  out += "</div></body></html>\n";
  return result;
}

}  // namespace preview
