#include "tools/mail/mail_command.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "hosts/gmail/thread_screen.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/string_encoding.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_view.h"
#include "tools/support/option_value.h"
#include "tools/webrender/web_page.h"

namespace mail_command {
namespace {

using objc::msg;

constexpr int kMaxWidth = 4096;

struct Options {
  std::optional<std::string> root;
  std::string file;
  bool wkwebview = false;
  int width = 375;
  std::optional<std::string> png;
};

std::optional<int> read_width(const std::string& text) {
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int width = std::stoi(text);
  if (width < 1 || width > kMaxWidth) return std::nullopt;
  return width;
}

std::optional<Options> read_options(int argc, char** argv) {
  Options options;
  bool have_file = false;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto value_of = [&](const char* name) {
      return tools::option_value(argc, argv, i, name);
    };
    if (argument == "--wkwebview") {
      options.wkwebview = true;
    } else if (argument.starts_with("--root")) {
      if (!(options.root = value_of("--root"))) return std::nullopt;
    } else if (argument.starts_with("--png")) {
      if (!(options.png = value_of("--png")) || options.png->empty()) return std::nullopt;
    } else if (argument.starts_with("--width")) {
      const std::optional<std::string> text = value_of("--width");
      const std::optional<int> width = text ? read_width(*text) : std::nullopt;
      if (!width) return std::nullopt;
      options.width = *width;
    } else if (argument.size() > 1 && argument.front() == '-') {
      return std::nullopt;
    } else if (!have_file) {
      options.file = argument;
      have_file = true;
    } else {
      return std::nullopt;
    }
  }
  if (!have_file) return std::nullopt;
  return options;
}

// The mail's text, or a one-line reason why there is none.
std::optional<std::string> read_mail(const std::string& path, std::string& error) {
  std::error_code cause;
  if (std::filesystem::is_directory(path, cause)) {
    error = "\"" + path + "\" is a directory";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read \"" + path + "\": " + std::strerror(errno);
    return std::nullopt;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::string html = bytes.str();
  if (!ns::decode(html, NSUTF8StringEncoding)) {
    error = "\"" + path + "\" is not UTF-8 text";
    return std::nullopt;
  }
  return html;
}

std::size_t count_markers(const std::string& html) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = html.find("<head>", at)) != std::string::npos; at += 6) ++count;
  return count;
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The page's head tag as it is written, when it has one: "<head" in any case,
// then a space, "/" or ">", up to the tag's end (cut short when long).
std::optional<std::string> head_tag(const std::string& html) {
  constexpr std::size_t kShown = 40;
  for (std::size_t at = 0; at + 5 < html.size(); ++at) {
    if (html[at] != '<') continue;
    std::string name = html.substr(at + 1, 4);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const char next = html[at + 5];
    if (name != "head" ||
        !(std::isspace(static_cast<unsigned char>(next)) || next == '>' || next == '/')) {
      continue;
    }
    const std::size_t end = html.find('>', at);
    const std::size_t length = end == std::string::npos ? html.size() - at : end + 1 - at;
    return length > kShown ? html.substr(at, kShown) + "..." : html.substr(at, length);
  }
  return std::nullopt;
}

// What the theme did with the page, read off what the web view holds.
std::string script_line(const std::string& given, const webrender::WebPage& page, bool wk,
                        bool theme_active) {
  const bool loaded = objc_getClass("Helper") != Nil;
  if (wk && !page.user_scripts.empty()) {
    const webrender::UserScript& script = page.user_scripts.front();
    return "script: placed as " + plural(page.user_scripts.size(), "user script", "user scripts") +
           ", at document " + (script.injection_time == 0 ? "start" : "end") + " in " +
           (script.for_main_frame_only ? "the main frame" : "every frame") + " (" +
           std::to_string(script.source.size()) + " characters)";
  }
  if (!wk && page.html && *page.html != given) {
    const std::string markers =
        plural(count_markers(given), "\"<head>\" marker", "\"<head>\" markers");
    if (page.html->find("<script>(null)</script>") != std::string::npos) {
      return "script: placed empty after " + markers +
             ": the script file could not be read, so the page holds a script that does nothing";
    }
    return "script: placed after " + markers;
  }
  if (!loaded) return "script: not placed: Tenebra is not loaded into the app";
  if (!theme_active) return "script: not placed: the theme is off";
  if (wk) {
    if (msg<id>(objc_getClass("Helper"), "getScript") == nil) {
      return "script: not placed: the script file could not be read (see the logged exception)";
    }
    return "script: not placed: colorEmail is off";
  }
  if (count_markers(given) == 0) {
    if (const std::optional<std::string> tag = head_tag(given)) {
      return "script: not placed: the page has no literal \"<head>\" (its head tag is written \"" +
             *tag + "\")";
    }
    return "script: not placed: the page has no \"<head>\" tag";
  }
  return "script: not placed: colorEmail is off";
}

// The background the web view reports, and where it comes from.
std::string background_line(id web_view, bool& themed) {
  ns::AutoreleasePool pool;
  id color = msg<id>(web_view, "backgroundColor");
  void* palette = dlsym(RTLD_DEFAULT, "bgColor");
  std::string origin = "as the web view has it";
  themed = false;
  if (color != nil && color == msg<id>(objc_getClass("UIColor"), "blackColor")) {
    origin = "the platform's blackColor";
    themed = true;
  } else if (color != nil && palette != nullptr && color == *static_cast<id*>(palette)) {
    origin = "the palette's bgColor";
    themed = true;
  }
  const std::string text = color == nil ? "none" : ns::utf8(msg<id>(color, "description"));
  return "background: " + text + " (" + origin + ")";
}

std::string milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f ms", ms);
  return text;
}

std::string dark_frame_text(const webrender::Rendering& r) {
  if (!r.first_dark_frame_ms) return "none, the page is not painted dark";
  const std::string when = milliseconds(*r.first_dark_frame_ms) + " after the page's first byte";
  if (r.first_frame_ms && *r.first_frame_ms >= *r.first_dark_frame_ms) {
    return when + " (the first frame)";
  }
  return when + (r.first_frame_ms ? ", first frame at " + milliseconds(*r.first_frame_ms) : "");
}

}  // namespace

int run(int argc, char** argv, const Launch& launch, std::ostream& out, std::ostream& err) {
  const std::optional<Options> options = read_options(argc, argv);
  if (!options) {
    err << "usage:" << (kUsage + std::strlen("      "));
    return 2;
  }
  std::string error;
  const std::optional<std::string> html = read_mail(options->file, error);
  if (!html) {
    err << "error: " << error << "\n";
    return 1;
  }
  if (!launch(options->root)) return 2;

  ns::AutoreleasePool pool;
  const host::ThreadScreen thread = host::open_thread(
      ui::key_window(), *html,
      options->wkwebview ? host::MailWebView::kWKWebView : host::MailWebView::kUIWebView,
      options->width);
  const webrender::WebPage page = webrender::page_of(thread.body);
  webrender::RenderOptions render_options;
  render_options.width = options->width;
  render_options.png = options->png;
  if (::isatty(STDERR_FILENO)) std::cerr << "rendering in Chromium...\n";
  const webrender::RenderResult result = webrender::render(page, render_options);
  if (!result.rendering) {
    err << "error: " << result.error << "\n";
    return 1;
  }
  if (options->png) return 0;

  const webrender::Rendering& r = *result.rendering;
  bool themed = false;
  const std::string background = background_line(thread.body, themed);
  out << "web view: " << (options->wkwebview ? "WKWebView" : "UIWebView") << "\n";
  out << script_line(*html, page, options->wkwebview, themed) << "\n";
  out << background << "\n";
  out << "frames: " << r.frames << ", the script ran in " << r.frames_with_script << "\n";
  out << "first dark frame: " << dark_frame_text(r) << "\n";
  char share[32];
  std::snprintf(share, sizeof share, "%.1f", r.bright_share * 100);
  out << "painted: mostly " << r.background << ", " << share << " % of pixels bright\n";
  out << "remote requests blocked: " << r.blocked.size() << "\n";
  for (const std::string& url : r.blocked) out << "  " << url << "\n";
  return 0;
}

}  // namespace mail_command
