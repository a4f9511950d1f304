#include "tools/preview/preview_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/hook_registry.h"
#include "core/settings.h"
#include "hosts/gmail/host_app.h"
#include "hosts/settings/settings_app.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_screen.h"
#include "platform/uikit/ui_view.h"
#include "tools/hooks/hook_listing.h"
#include "tools/preview/index_page.h"
#include "tools/preview/screen_page.h"
#include "tools/preview/settings_screen.h"
#include "tools/support/option_value.h"

namespace preview {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: tenebra preview [--root DIR] [--out DIR] [--screens LIST] [--scale N] "
    "[--keyboard dark|light]\n";

struct Screen {
  const char* name;
  const char* title;
  // Shows the screen in the app; null for the Settings app's page.
  std::function<void(host::HostApp&)> show;
};

// A mail as a newsletter sends it: its own light design in a table, with a
// literal <head>, where the web view rule places the mail script.
constexpr const char* kSampleMail = R"(<!doctype html>
<html><head><meta charset="utf-8"><title>Quarterly report</title></head>
<body style="margin:0;background:#f1f3f4;font-family:sans-serif">
<table width="100%" cellpadding="0" cellspacing="0" style="background:#f1f3f4"><tr><td style="padding:16px">
<table width="100%" cellpadding="16" cellspacing="0" style="background:#ffffff;border:1px solid #dadce0">
<tr><td><h2 style="color:#202124;margin:0 0 8px">Quarterly report</h2>
<p style="color:#3c4043">Hi all,</p>
<p style="color:#3c4043">Here are the figures we talked about on Monday. Revenue grew by
<b>12&nbsp;%</b> against the last quarter, and the new region is ahead of plan.</p>
<table cellpadding="6" cellspacing="0" style="border-collapse:collapse;color:#202124">
<tr style="background:#e8f0fe"><th align="left">Region</th><th align="right">Q1</th><th align="right">Q2</th></tr>
<tr><td>North</td><td align="right">1.2 M</td><td align="right">1.4 M</td></tr>
<tr style="background:#f8f9fa"><td>South</td><td align="right">0.9 M</td><td align="right">1.0 M</td></tr>
</table>
<p style="color:#5f6368;font-size:13px">Sent from the finance team &middot; <a href="https://example.com/report" style="color:#1a73e8">full report</a></p>
</td></tr></table></td></tr></table>
</body></html>
)";

const std::vector<Screen>& all_screens() {
  static const std::vector<Screen> screens = {
      {"inbox", "Inbox", [](host::HostApp& app) { app.show_inbox(); }},
      {"thread", "Thread",
       [](host::HostApp& app) { app.show_thread("Quarterly report", kSampleMail); }},
      {"compose", "Compose with the keyboard", [](host::HostApp& app) { app.show_compose(); }},
      {"sidepanel", "Side panel", [](host::HostApp& app) { app.show_side_panel(); }},
      {"datepicker", "Date picker", [](host::HostApp& app) { app.show_date_picker(); }},
      {"safari", "In-app Safari view",
       [](host::HostApp& app) { app.open_link("https://www.example.com/"); }},
      {"settings", "Settings pane", nullptr},
  };
  return screens;
}

struct Options {
  std::optional<std::string> root;
  std::string out = "preview";
  std::vector<const Screen*> screens;
  double scale = 2;
  bool dark_keyboard = true;
};

std::optional<std::vector<const Screen*>> read_screens(const std::string& list) {
  std::vector<const Screen*> chosen;
  std::stringstream in(list);
  for (std::string name; std::getline(in, name, ',');) {
    const Screen* found = nullptr;
    for (const Screen& screen : all_screens()) {
      if (name == screen.name) found = &screen;
    }
    if (found == nullptr) return std::nullopt;
    bool seen = false;
    for (const Screen* already : chosen) seen = seen || already == found;
    if (!seen) chosen.push_back(found);
  }
  if (chosen.empty()) return std::nullopt;
  return chosen;
}

std::optional<Options> read_options(int argc, char** argv) {
  Options options;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto value_of = [&](const char* name) {
      return tools::option_value(argc, argv, i, name);
    };
    std::optional<std::string> value;
    if (argument.starts_with("--root")) {
      if (!(options.root = value_of("--root"))) return std::nullopt;
    } else if (argument.starts_with("--out")) {
      value = value_of("--out");
      if (!value || value->empty()) return std::nullopt;
      options.out = *value;
    } else if (argument.starts_with("--screens")) {
      value = value_of("--screens");
      const auto screens = value ? read_screens(*value) : std::nullopt;
      if (!screens) return std::nullopt;
      options.screens = *screens;
    } else if (argument.starts_with("--scale")) {
      value = value_of("--scale");
      if (!value || value->size() != 1 || (*value)[0] < '1' || (*value)[0] > '4') {
        return std::nullopt;
      }
      options.scale = (*value)[0] - '0';
    } else if (argument.starts_with("--keyboard")) {
      value = value_of("--keyboard");
      if (!value || (*value != "dark" && *value != "light")) return std::nullopt;
      options.dark_keyboard = *value == "dark";
    } else {
      return std::nullopt;
    }
  }
  if (options.screens.empty()) {
    for (const Screen& screen : all_screens()) options.screens.push_back(&screen);
  }
  return options;
}

// One side of the comparison: a device root of its own whose Library is the
// given root's (the installed library, its script and the pane) and whose
// settings file holds the side's settings.
struct Side {
  const char* name;  // "before" or "after"
  bool theme_on;
  fs::path root;
  fs::path work;  // the side's pages and facts
};

void write_settings(const fs::path& root, bool enabled, bool dark_keyboard) {
  const fs::path file = fs::path(root.string() + tenebra::kSettingsPath);
  fs::create_directories(file.parent_path());
  std::ofstream plist(file);
  plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\"><dict>\n";
  for (const tenebra::SettingRow& row : tenebra::kSettingRows) {
    bool value = row.default_value;
    if (row.field == &tenebra::Settings::enabled) value = enabled;
    if (row.field == &tenebra::Settings::enableDarkKeyboard) value = dark_keyboard;
    plist << "<key>" << row.key << "</key>" << (value ? "<true/>" : "<false/>") << "\n";
  }
  plist << "</dict></plist>\n";
}

Side make_side(const char* name, bool theme_on, const fs::path& device_root, const fs::path& work,
               bool dark_keyboard) {
  Side side{name, theme_on, work / (std::string(name) + "-root"), work / name};
  fs::create_directories(side.root);
  fs::create_directories(side.work);
  if (fs::exists(device_root / "Library")) {
    fs::create_directory_symlink(fs::absolute(device_root / "Library"), side.root / "Library");
  }
  write_settings(side.root, theme_on, dark_keyboard);
  return side;
}

// Rule firings, counted at dispatch: a send that resolves to an installed
// rule is that rule running.
std::unordered_map<IMP, unsigned long>* firing_counts = nullptr;
void count_firing(IMP imp) {
  auto it = firing_counts->find(imp);
  if (it != firing_counts->end()) ++it->second;
}

std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

// A screen's facts, one a line: "rule ROW COUNT" for each rule that fired,
// "box INDEX PATH CLASS BACKGROUND TEXT-COLOUR TEXT" for each box (tabs
// between, "-" for none).
void write_facts(const fs::path& file, const Capture& capture,
                 const std::vector<std::pair<int, unsigned long>>& rules) {
  std::ofstream facts(file);
  for (const auto& [row, count] : rules) facts << "rule\t" << row << "\t" << count << "\n";
  for (std::size_t i = 0; i < capture.boxes.size(); ++i) {
    const Box& box = capture.boxes[i];
    facts << "box\t" << i << "\t" << box.path << "\t" << box.class_name << "\t"
          << (box.background ? hex_text(*box.background) : "-") << "\t"
          << (box.text ? hex_text(box.text_color) : "-") << "\t" << one_line(box.text.value_or(""))
          << "\n";
  }
}

void write_page(const Side& side, const Screen& screen, const Capture& capture, double scale) {
  const PageResult page = screen_page(capture, side.work, screen.name, scale);
  std::ofstream(side.work / (std::string(screen.name) + ".html")) << page.html;
}

// The Gmail app model on the side's root: each screen shown, laid out,
// read and written as a page. Runs in a child process of its own.
int draw_app_side(const Side& side, const Options& options) {
  ns::AutoreleasePool pool;
  device::set_root(side.root.string());
  ui::set_main_screen_scale(options.scale);
  host::HostApp app;
  app.launch();
  std::unordered_map<IMP, unsigned long> counts;
  std::map<IMP, int> rows;
  for (const hooks::HookRow& row : hooks::hook_rows()) {
    if (row.implementation == nullptr) continue;
    counts[row.implementation] = 0;
    rows[row.implementation] = row.number;
  }
  firing_counts = &counts;
  for (const Screen* screen : options.screens) {
    if (!screen->show) continue;
    ns::AutoreleasePool screen_pool;
    for (auto& entry : counts) entry.second = 0;
    objc::send_probe = count_firing;
    screen->show(app);
    for (int turn = 0; turn < 3; ++turn) {
      cf::main_run_loop().run_once(std::chrono::milliseconds(0));
    }
    const Capture capture = capture_window(ui::key_window(), options.scale);
    objc::send_probe = nullptr;
    std::vector<std::pair<int, unsigned long>> fired;
    for (const auto& [imp, count] : counts) {
      if (count > 0) fired.emplace_back(rows[imp], count);
    }
    std::sort(fired.begin(), fired.end());
    write_facts(side.work / (std::string(screen->name) + ".facts"), capture, fired);
    write_page(side, *screen, capture, options.scale);
  }
  return 0;
}

// The Settings app model on the side's root, showing the pane's first page.
int draw_settings_side(const Side& side, const Options& options) {
  ns::AutoreleasePool pool;
  device::set_root(side.root.string());
  host::SettingsApp app;
  app.launch();
  const std::vector<std::string> entries = app.entries();
  const host::PageResult opened =
      entries.empty() ? host::PageResult{std::nullopt, "no preference pane is installed"}
                      : app.open_pane(entries.front());
  if (!opened.page) {
    std::cerr << "error: settings: " << opened.error << "\n";
    return 1;
  }
  const Screen& screen = all_screens().back();
  const Capture capture = settings_capture(*opened.page);
  write_facts(side.work / "settings.facts", capture, {});
  write_page(side, screen, capture, options.scale);
  return 0;
}

// Runs `work` in a child process; its exit status, as waitpid reports it.
pid_t fork_child(const std::function<int()>& work) {
  std::cout.flush();
  std::cerr.flush();
  const pid_t child = ::fork();
  if (child == 0) {
    int status = 1;
    try {
      status = work();
    } catch (...) {
      std::cerr << "error: drawing a screen raised an exception\n";
    }
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(status);
  }
  return child;
}

bool wait_for(pid_t child) {
  if (child < 0) return false;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct BoxFacts {
  std::string path, class_name, background, text_color, text;
};

struct ScreenFacts {
  std::vector<std::pair<int, unsigned long>> rules;
  std::vector<BoxFacts> boxes;
};

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) out.push_back(field);
  if (!line.empty() && line.back() == '\t') out.emplace_back();
  return out;
}

ScreenFacts read_facts(const fs::path& file) {
  ScreenFacts facts;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> f = fields(line);
    if (f.size() == 3 && f[0] == "rule") {
      facts.rules.emplace_back(std::atoi(f[1].c_str()), std::strtoul(f[2].c_str(), nullptr, 10));
    } else if (f.size() >= 7 && f[0] == "box") {
      facts.boxes.push_back({f[2], f[3], f[4], f[5], f[6]});
    }
  }
  return facts;
}

// The colours that differ between the two sides' views, grouped by change.
void compare(const ScreenFacts& before, const ScreenFacts& after, ScreenReport& report) {
  std::map<std::string, const BoxFacts*> by_path;
  for (const BoxFacts& box : before.boxes) by_path.emplace(box.path + " " + box.class_name, &box);
  std::map<std::tuple<std::string, std::string, std::string>, std::pair<int, std::set<std::string>>>
      groups;
  std::set<std::string> themed;
  const auto none = [](const std::string& c) { return c == "-" ? std::string("none") : c; };
  for (const BoxFacts& box : after.boxes) {
    auto it = by_path.find(box.path + " " + box.class_name);
    if (it == by_path.end()) continue;
    const BoxFacts& old = *it->second;
    for (const auto& [property, from, to] :
         {std::tuple{"background", old.background, box.background},
          std::tuple{"text", old.text_color, box.text_color}}) {
      if (from == to) continue;
      auto& group = groups[{property, none(from), none(to)}];
      group.second.insert(box.class_name);
      ++group.first;
      themed.insert(box.path);
    }
  }
  for (const auto& [key, group] : groups) {
    std::string classes;
    for (const std::string& name : group.second) classes += (classes.empty() ? "" : ", ") + name;
    report.changes.push_back(
        {std::get<0>(key), std::get<1>(key), std::get<2>(key), group.first, classes});
  }
  report.views_themed = static_cast<int>(themed.size());
}

// Why a text of a themed screen stays below 4.5:1.
std::string reason_for(const std::string& screen, const BoxFacts& box) {
  if (screen == "settings") {
    return "The Settings app draws its page in its own colours: the theme runs only in the "
           "Gmail app.";
  }
  if (box.class_name == "UIButton" || box.class_name == "MDCFloatingButton") {
    return "A button draws its title in its tint colour; no rule of the theme changes a "
           "button's tint or title colour.";
  }
  return "No rule of the theme sets this colour: it is the app's own " + box.text_color + ".";
}

struct AuditLine {
  std::size_t page = 0;
  std::size_t index = 0;
  std::string color, behind;
  double ratio = 0;
};

std::vector<AuditLine> read_audit(const fs::path& file) {
  std::vector<AuditLine> lines;
  std::ifstream in(file);
  for (std::string word; in >> word;) {
    if (word != "text") continue;
    AuditLine line;
    in >> line.page >> line.index >> line.color >> line.behind >> line.ratio;
    if (in) lines.push_back(line);
  }
  return lines;
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
  const std::optional<Options> parsed = read_options(argc, argv);
  if (!parsed) {
    err << kUsage;
    return 2;
  }
  const Options& options = *parsed;
  const fs::path device_root = options.root ? fs::path(*options.root) : fs::path(device::root());
  if (!fs::is_directory(device_root)) {
    err << "error: the device root \"" << device_root.string() << "\" is not a directory\n";
    return 2;
  }
  if (!fs::exists(device_root / "Library/MobileSubstrate/DynamicLibraries/Tenebra.dylib")) {
    err << "note: Tenebra is not installed under \"" << device_root.string()
        << "\": both sides show the app without it\n";
  }
  const bool progress = ::isatty(STDERR_FILENO);
  const fs::path out_dir = options.out;
  std::error_code failed;
  fs::create_directories(out_dir / "before", failed);
  fs::create_directories(out_dir / "after", failed);
  if (failed) {
    err << "error: cannot make \"" << out_dir.string() << "\": " << failed.message() << "\n";
    return 1;
  }
  char work_template[] = "/tmp/tenebra-preview-XXXXXX";
  if (::mkdtemp(work_template) == nullptr) {
    err << "error: cannot make a working directory: " << std::strerror(errno) << "\n";
    return 1;
  }
  const fs::path work = work_template;
  struct Cleanup {
    fs::path path;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } cleanup{work};

  const Side sides[] = {make_side("before", false, device_root, work, options.dark_keyboard),
                        make_side("after", true, device_root, work, options.dark_keyboard)};
  bool want_settings = false;
  for (const Screen* screen : options.screens) want_settings = want_settings || !screen->show;

  if (progress) err << "building the screens, theme off and on...\n";
  std::vector<pid_t> children;
  for (const Side& side : sides) {
    children.push_back(fork_child([&] { return draw_app_side(side, options); }));
    if (want_settings) {
      children.push_back(fork_child([&] { return draw_settings_side(side, options); }));
    }
  }
  bool all_drawn = true;
  for (pid_t child : children) all_drawn = wait_for(child) && all_drawn;

  if (progress) err << "drawing them in Chromium...\n";
  std::string job = "{\"scale\":" + std::to_string(options.scale) + ",\"pages\":[";
  bool first = true;
  for (const Screen* screen : options.screens) {
    for (const Side& side : sides) {
      const fs::path page = side.work / (std::string(screen->name) + ".html");
      if (!fs::exists(page)) continue;
      job += first ? "" : ",";
      first = false;
      job += "{\"page\":";
      webrender::append_json_string(job, page.string());
      job += ",\"png\":";
      webrender::append_json_string(
          job, fs::absolute(out_dir / side.name / (std::string(screen->name) + ".png")).string());
      job += std::string(",\"audit\":") + (side.theme_on ? "true" : "false") + "}";
    }
  }
  job += "],\"webJobs\":[";
  first = true;
  for (const Side& side : sides) {
    for (const fs::directory_entry& entry : fs::directory_iterator(side.work)) {
      if (entry.path().extension() != ".json") continue;
      job += first ? "" : ",";
      first = false;
      webrender::append_json_string(job, entry.path().string());
    }
  }
  job += "]}";
  std::ofstream(work / "job.json") << job;
  const int rendered = webrender::run_node(TENEBRA_SCREENS_SCRIPT, (work / "job.json").string(),
                                           (work / "audit").string(), (work / "err").string());
  if (rendered != 0) {
    std::ifstream reason(work / "err");
    std::string line;
    std::getline(reason, line);
    err << "error: drawing the screens in Chromium failed"
        << (line.empty() ? std::string() : ": " + line) << "\n";
    return 1;
  }

  // Which page of the job is which screen's themed side.
  std::vector<std::string> page_screens;
  for (const Screen* screen : options.screens) {
    for (const Side& side : sides) {
      if (fs::exists(side.work / (std::string(screen->name) + ".html"))) {
        page_screens.push_back(side.theme_on ? screen->name : "");
      }
    }
  }
  const std::vector<AuditLine> audit = read_audit(work / "audit");
  const auto rows = tenebra::hook_registry();
  std::vector<ScreenReport> reports;
  std::size_t themed = 0, audited = 0, below = 0;
  for (const Screen* screen : options.screens) {
    const fs::path before_facts = sides[0].work / (std::string(screen->name) + ".facts");
    const fs::path after_facts = sides[1].work / (std::string(screen->name) + ".facts");
    if (!fs::exists(before_facts) || !fs::exists(after_facts)) continue;
    ScreenReport report;
    report.name = screen->name;
    report.title = screen->title;
    report.before_png = std::string("before/") + screen->name + ".png";
    report.after_png = std::string("after/") + screen->name + ".png";
    const ScreenFacts before = read_facts(before_facts);
    const ScreenFacts after = read_facts(after_facts);
    for (const auto& [row, count] : after.rules) {
      if (row < 1 || static_cast<std::size_t>(row) > rows.size()) continue;
      const tenebra::HookRow& entry = rows[row - 1];
      report.rules.push_back({row, entry.class_name, entry.side == tenebra::Side::kClassMethod,
                              entry.selector, count});
    }
    compare(before, after, report);
    for (const AuditLine& line : audit) {
      if (line.page >= page_screens.size() || page_screens[line.page] != screen->name) continue;
      if (line.index >= after.boxes.size()) continue;
      ++report.texts_audited;
      if (line.ratio >= kMinimumContrast) continue;
      const BoxFacts& box = after.boxes[line.index];
      report.below.push_back({box.text, box.class_name, line.color, line.behind, line.ratio,
                              reason_for(screen->name, box)});
    }
    themed += report.views_themed;
    audited += report.texts_audited;
    below += report.below.size();
    reports.push_back(std::move(report));
  }
  const fs::path index = out_dir / "index.html";
  std::ofstream(index) << index_page(reports);

  out << "screens: " << reports.size() << ", each before and after\n";
  out << "views themed: " << themed << "\n";
  out << "texts audited: " << audited << "\n";
  out << "texts below 4.5:1: " << below << "\n";
  for (const ScreenReport& report : reports) {
    for (const LowContrast& low : report.below) {
      char ratio[16];
      std::snprintf(ratio, sizeof ratio, "%.2f:1", low.ratio);
      out << "  " << report.name << ": \"" << low.text << "\" (" << low.class_name << ") "
          << low.color << " on " << low.behind << ", " << ratio << ": " << low.reason << "\n";
    }
  }
  out << "index: " << index.string() << "\n";
  if (!all_drawn || reports.size() != options.screens.size()) {
    err << "error: " << plural(options.screens.size() - reports.size(), "screen", "screens")
        << " could not be drawn\n";
    return 1;
  }
  return 0;
}

}  // namespace preview
