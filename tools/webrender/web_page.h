// What a web view of the app model was given, and that page rendered in
// Debian's Chromium (render-page.mjs beside this file) as WebKit would show
// it: the HTML at its base URL, the user scripts at their injection time in
// the frames they name, every other request blocked. `tenebra mail` renders
// mail bodies this way, and any tool that shows a web view can too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/objc/runtime.h"

namespace webrender {

struct UserScript {
  std::string source;
  long injection_time = 0;
  bool for_main_frame_only = false;
};

struct WebPage {
  std::optional<std::string> html;      // absent when the web view was given none
  std::optional<std::string> base_url;  // its absolute text
  std::vector<UserScript> user_scripts;  // WKWebView only
};

// Reads the page through the web view's own messages (`loadedHTMLString`,
// `loadedBaseURL`, and for a WKWebView its configuration's user scripts).
WebPage page_of(id web_view);

struct RenderOptions {
  int width = 375;   // CSS pixels
  int height = 812;  // the viewport; the screenshot takes the whole page
  double scale = 1;  // device pixels per CSS pixel
  std::optional<std::string> png;  // where to write the screenshot
};

struct Rendering {
  int frames = 0;              // frames holding a document of the page
  int frames_with_script = 0;  // of those, the frames the mail script ran in
  // From the page's first byte; absent when no frame was (or was dark).
  std::optional<double> first_frame_ms;
  std::optional<double> first_dark_frame_ms;
  double bright_share = 0;  // of the screenshot's pixels
  std::string background;   // "#RRGGBB", the colour most of the page shows
  std::vector<std::string> blocked;  // every request the page tried
};

struct RenderResult {
  std::optional<Rendering> rendering;
  std::string error;  // one line, when there is no rendering
};

RenderResult render(const WebPage& page, const RenderOptions& options);

// Appends `text` as a JSON string, quoted and escaped.
void append_json_string(std::string& out, std::string_view text);

// The job render-page.mjs takes, as JSON text; a program that renders many
// pages in one browser imports its renderPage and hands it such jobs.
std::string job_json(const WebPage& page, const RenderOptions& options);

// Runs `script` (a Node program of ours) on the file `job`, with standard
// output and error written to the files `out` and `err`; its exit status, or
// -1 when it could not be run or did not exit.
int run_node(const std::string& script, const std::string& job, const std::string& out,
             const std::string& err);

}  // namespace webrender
