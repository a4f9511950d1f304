#include "tools/settings/settings_command.h"

#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "hosts/settings/settings_app.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"

namespace tools {
namespace {

using objc::msg;

constexpr const char* kUsage =
    "usage: tenebra settings [--root DIR] [--installed SCHEME...] [COMMAND...]\n"
    "commands: show | set KEY on|off | tap LABEL | page LABEL\n";

// The pane that PreferenceLoader's entry of this name opens.
constexpr const char* kPane = "tenebrasettings";

enum class Verb { kShow, kSet, kTap, kPage };

struct Command {
  Verb verb = Verb::kShow;
  std::string subject;  // the key or label
  bool on = false;      // for set
};

struct Options {
  std::optional<std::string> root;
  std::vector<std::string> schemes;
  std::vector<Command> commands;
};

std::optional<Verb> verb_named(const std::string& word) {
  if (word == "show") return Verb::kShow;
  if (word == "set") return Verb::kSet;
  if (word == "tap") return Verb::kTap;
  if (word == "page") return Verb::kPage;
  return std::nullopt;
}

// The options, or a one-line reason for the usage error.
std::optional<Options> read_options(int argc, char** argv, std::string& why) {
  Options options;
  for (int i = 0; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--root") {
      if (i + 1 >= argc) return why = "--root needs a directory", std::nullopt;
      options.root = argv[++i];
    } else if (word.starts_with("--root=")) {
      options.root = word.substr(std::strlen("--root="));
    } else if (word == "--installed") {
      while (i + 1 < argc && argv[i + 1][0] != '-' && !verb_named(argv[i + 1])) {
        options.schemes.push_back(argv[++i]);
      }
    } else if (std::optional<Verb> verb = verb_named(word)) {
      Command command{*verb, {}, false};
      if (*verb != Verb::kShow) {
        if (i + 1 >= argc) return why = word + " needs an argument", std::nullopt;
        command.subject = argv[++i];
      }
      if (*verb == Verb::kSet) {
        const std::string value = i + 1 < argc ? argv[++i] : "";
        if (value != "on" && value != "off") {
          return why = "set " + command.subject + " takes on or off, not \"" + value + "\"",
                 std::nullopt;
        }
        command.on = value == "on";
      }
      options.commands.push_back(std::move(command));
    } else {
      return why = "unknown argument \"" + word + "\"", std::nullopt;
    }
  }
  return options;
}

std::string shown_value(id value) {
  if (value == nil) return "unset";
  if (ns::is_number(value)) return msg<BOOL>(value, "boolValue") ? "on" : "off";
  return "\"" + ns::utf8(msg<id>(value, "description")) + "\" (neither on nor off)";
}

void show(const host::SettingsPage& page, std::ostream& out) {
  const std::vector<host::Cell> cells = page.cells();  // loading them sets the title
  out << page.title() << "\n";
  std::string pending_footer;
  auto end_group = [&] {
    if (!pending_footer.empty()) out << "  (" << pending_footer << ")\n";
    pending_footer.clear();
  };
  for (const host::Cell& cell : cells) {
    switch (cell.kind) {
      case host::CellKind::kGroup:
        end_group();
        out << "\n" << cell.label << "\n";
        pending_footer = cell.footer;
        break;
      case host::CellKind::kSwitch:
        out << "  " << std::left << std::setw(24) << cell.label << " " << std::setw(5)
            << shown_value(page.value(cell)) << " " << cell.key << "\n";
        break;
      case host::CellKind::kButton:
        out << "  " << std::left << std::setw(24) << cell.label << " button\n";
        break;
      case host::CellKind::kLink:
        out << "  " << std::left << std::setw(24) << cell.label << " >\n";
        break;
      case host::CellKind::kText:
        out << "  " << cell.label << "\n";
        break;
    }
  }
  end_group();
}

// Runs the commands; false once one fails.
bool run_commands(host::SettingsApp& app, host::SettingsPage page,
                  const std::vector<Command>& commands, std::ostream& out, std::ostream& err) {
  auto report = [&](const host::ActionReport& action) {
    for (const std::string& url : action.opened_urls) out << "opened " << url << "\n";
    if (action.error.empty()) return true;
    err << "error: " << action.error << "\n";
    return false;
  };
  for (const Command& command : commands) {
    ns::AutoreleasePool pool;
    switch (command.verb) {
      case Verb::kShow:
        show(page, out);
        break;
      case Verb::kSet: {
        std::optional<host::Cell> cell = page.switch_for_key(command.subject);
        if (!cell) {
          err << "error: the page \"" << page.title() << "\" has no switch with the key \""
              << command.subject << "\"\n";
          return false;
        }
        if (!report(app.flip(page, *cell, command.on))) return false;
        out << command.subject << " " << shown_value(page.value(*cell)) << "\n";
        break;
      }
      case Verb::kTap: {
        std::optional<host::Cell> cell =
            page.cell_labelled(host::CellKind::kButton, command.subject);
        if (!cell) {
          err << "error: the page \"" << page.title() << "\" has no button labelled \""
              << command.subject << "\"\n";
          return false;
        }
        const host::ActionReport action = app.tap(page, *cell);
        if (!report(action)) return false;
        if (action.opened_urls.empty()) out << "opened nothing\n";
        break;
      }
      case Verb::kPage: {
        std::optional<host::Cell> cell = page.cell_labelled(host::CellKind::kLink, command.subject);
        if (!cell) {
          err << "error: the page \"" << page.title() << "\" has no link to a page \""
              << command.subject << "\"\n";
          return false;
        }
        host::PageResult opened = app.open_link(page, *cell);
        if (!opened.page) {
          err << "error: " << opened.error << "\n";
          return false;
        }
        page = std::move(*opened.page);
        break;
      }
    }
  }
  if (commands.empty() || commands.back().verb == Verb::kPage) show(page, out);
  return true;
}

}  // namespace

int run_settings(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc == 1 && (std::strcmp(argv[0], "--help") == 0 || std::strcmp(argv[0], "-h") == 0)) {
    out << kUsage;
    return 0;
  }
  std::string why;
  const std::optional<Options> options = read_options(argc, argv, why);
  if (!options) {
    err << "error: " << why << "\n" << kUsage;
    return 2;
  }
  if (options->root) {
    if (!std::filesystem::is_directory(*options->root)) {
      err << "error: the device root \"" << *options->root << "\" is not a directory\n";
      return 2;
    }
    device::set_root(*options->root);
  }
  ns::AutoreleasePool pool;
  host::SettingsOptions settings;
  settings.installed_url_schemes = options->schemes;
  host::SettingsApp app(settings);
  app.launch();
  host::PageResult root = app.open_pane(kPane);
  if (!root.page) {
    err << "error: " << root.error << "\n";
    return 1;
  }
  try {
    return run_commands(app, std::move(*root.page), options->commands, out, err) ? 0 : 1;
  } catch (const objc::Exception& raised) {
    err << "error: the pane raised an exception: "
        << ns::utf8(msg<id>(raised.object(), "description")) << "\n";
    return 1;
  }
}

}  // namespace tools
