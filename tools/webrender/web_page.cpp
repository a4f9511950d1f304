#include "tools/webrender/web_page.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

extern char** environ;

namespace webrender {
namespace {

namespace fs = std::filesystem;
using objc::msg;

std::optional<std::string> text_of(id object) {
  if (object == nil) return std::nullopt;
  if (ns::is_string(object)) return ns::utf8(object);
  if (objc::responds(object, objc::sel("absoluteString"))) {
    return ns::utf8(msg<id>(object, "absoluteString"));
  }
  return ns::utf8(msg<id>(object, "description"));
}

void append_optional(std::string& out, const std::optional<std::string>& text) {
  if (text) {
    append_json_string(out, *text);
  } else {
    out += "null";
  }
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A directory of its own for one rendering's files, removed afterwards.
class WorkDirectory {
 public:
  WorkDirectory() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("tenebra-render-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
  }
  ~WorkDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Runs the renderer on the job; its exit status, with standard output and
// error kept in files of `work`.
int run_renderer(const WorkDirectory& work) {
  return run_node(TENEBRA_RENDER_SCRIPT, (work.path() / "job.json").string(),
                  (work.path() / "out").string(), (work.path() / "err").string());
}

Rendering read_rendering(const std::string& lines) {
  Rendering rendering;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string key = line.substr(0, space);
    const std::string value = line.substr(space + 1);
    if (key == "frames") {
      rendering.frames = std::stoi(value);
    } else if (key == "frames-with-script") {
      rendering.frames_with_script = std::stoi(value);
    } else if (key == "first-frame-ms" && value != "none") {
      rendering.first_frame_ms = std::stod(value);
    } else if (key == "first-dark-frame-ms" && value != "none") {
      rendering.first_dark_frame_ms = std::stod(value);
    } else if (key == "bright-share") {
      rendering.bright_share = std::stod(value);
    } else if (key == "background") {
      rendering.background = value;
    } else if (key == "blocked") {
      rendering.blocked.push_back(value);
    }
  }
  return rendering;
}

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

std::string job_json(const WebPage& page, const RenderOptions& options) {
  std::string out = "{\"html\":";
  append_optional(out, page.html);
  out += ",\"baseURL\":";
  append_optional(out, page.base_url);
  out += ",\"userScripts\":[";
  for (std::size_t i = 0; i < page.user_scripts.size(); ++i) {
    const UserScript& script = page.user_scripts[i];
    if (i > 0) out += ',';
    out += "{\"source\":";
    append_json_string(out, script.source);
    out += ",\"injectionTime\":" + std::to_string(script.injection_time);
    out += std::string(",\"forMainFrameOnly\":") + (script.for_main_frame_only ? "true" : "false");
    out += '}';
  }
  out += "],\"width\":" + std::to_string(options.width);
  out += ",\"height\":" + std::to_string(options.height);
  out += ",\"scale\":" + std::to_string(options.scale);
  out += ",\"png\":";
  append_optional(out, options.png ? std::optional(fs::absolute(*options.png).string())
                                   : std::nullopt);
  return out + "}";
}

int run_node(const std::string& script, const std::string& job, const std::string& out,
             const std::string& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::string node = TENEBRA_NODE;
  std::string program = script;
  std::string job_path = job;
  char* argv[] = {node.data(), program.data(), job_path.data(), nullptr};
  pid_t child = -1;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

WebPage page_of(id web_view) {
  ns::AutoreleasePool pool;
  WebPage page;
  page.html = text_of(msg<id>(web_view, "loadedHTMLString"));
  page.base_url = text_of(msg<id>(web_view, "loadedBaseURL"));
  if (!objc::responds(web_view, objc::sel("configuration"))) return page;
  id scripts = msg<id>(msg<id>(msg<id>(web_view, "configuration"), "userContentController"),
                       "userScripts");
  const unsigned long count = msg<unsigned long>(scripts, "count");
  for (unsigned long i = 0; i < count; ++i) {
    id script = msg<id>(scripts, "objectAtIndex:", i);
    page.user_scripts.push_back({ns::utf8(msg<id>(script, "source")),
                                 msg<long>(script, "injectionTime"),
                                 msg<BOOL>(script, "isForMainFrameOnly") != NO});
  }
  return page;
}

RenderResult render(const WebPage& page, const RenderOptions& options) {
  WorkDirectory work;
  std::ofstream(work.path() / "job.json", std::ios::binary) << job_json(page, options);
  const int status = run_renderer(work);
  if (status != 0) {
    std::string error = slurp(work.path() / "err");
    while (!error.empty() && error.back() == '\n') error.pop_back();
    if (const std::size_t last = error.rfind('\n'); last != std::string::npos) {
      error = error.substr(last + 1);
    }
    if (error.empty()) error = "the renderer could not be run (" + std::string(TENEBRA_NODE) + ")";
    return {std::nullopt, "rendering in Chromium failed: " + error};
  }
  try {
    return {read_rendering(slurp(work.path() / "out")), ""};
  } catch (const std::logic_error&) {  // a number stoi or stod cannot read
    return {std::nullopt, "rendering in Chromium failed: its report could not be read"};
  }
}

}  // namespace webrender
