// The `tenebra` program: the front ends to the app model, one subcommand each.
//
//   tenebra console [--root DIR] [-e EXPR]... [FILE...]
//   tenebra hooks [--root DIR]
//   tenebra notify [--root DIR] NAME
//
// runs Objective-C message expressions inside the host app model: each -e
// expression and each script file in the order given, or, with neither, the
// statements typed at the "tenebra> " prompt (or piped in; the prompt shows
// only on a terminal). --root names the device root the app runs against
// (by default $TENEBRA_DEVICE_ROOT, else the root the build stages). Answers
// go to standard output, one line each; errors to standard error, one line
// each starting with "error: ". Exit status: 0 when every statement ran, 1
// when one of the -e expressions or script statements failed (a prompt
// session ends with 0), 2 for a usage error or a device root that is no
// directory.
//
//   tenebra mail [--root DIR] [--wkwebview] [--width N] [--png OUT.png] FILE.html
//
// renders a mail as the themed app shows it (see tools/mail/mail_command.h).
//
//   tenebra preview [--root DIR] [--out DIR] [--screens LIST] [--scale N] [--keyboard dark|light]
//
// draws the app's screens before and after the theme, with the rules that
// fired, the colours that changed and a contrast audit, into an index page
// (see tools/preview/preview_command.h).
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/gmail/host_app.h"
#include "platform/corefoundation/cf_notification_center.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "tools/console/session.h"
#include "tools/hooks/hook_listing.h"
#include "tools/mail/mail_command.h"
#include "tools/preview/preview_command.h"
#include "tools/settings/settings_command.h"

namespace {

constexpr const char* kUsage =
    "usage: tenebra console [--root DIR] [-e EXPR]... [FILE...]\n"
    "       tenebra hooks [--root DIR]\n"
    "       tenebra notify [--root DIR] NAME\n"
    "       tenebra mail [--root DIR] [--wkwebview] [--width N] [--png OUT.png] FILE.html\n"
    "       tenebra settings [--root DIR] [--installed SCHEME...] [COMMAND...]\n"
    "       tenebra preview [--root DIR] [--out DIR] [--screens LIST] [--scale N] "
    "[--keyboard dark|light]\n";

struct ConsoleInput {
  bool is_expression = false;
  std::string text;  // the expression, or the script's path
};

struct ConsoleOptions {
  std::optional<std::string> root;
  std::vector<ConsoleInput> inputs;
};

std::optional<ConsoleOptions> read_console_options(int argc, char** argv) {
  ConsoleOptions options;
  bool options_ended = false;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!options_ended && argument == "--") {
      options_ended = true;
    } else if (!options_ended && argument == "-e") {
      if (i + 1 >= argc) return std::nullopt;
      options.inputs.push_back({true, argv[++i]});
    } else if (!options_ended && argument == "--root") {
      if (i + 1 >= argc) return std::nullopt;
      options.root = argv[++i];
    } else if (!options_ended && argument.starts_with("--root=")) {
      options.root = argument.substr(std::strlen("--root="));
    } else if (!options_ended && argument.size() > 1 && argument.front() == '-') {
      return std::nullopt;
    } else {
      options.inputs.push_back({false, argument});
    }
  }
  return options;
}

// Brings up the app the console runs in, on the device root `root` when one
// is given, and answers the step that lets it run for a moment: one turn of
// its main run loop that does not wait, which runs the work posted to it and
// the notifications that have arrived. A mistyped --root is reported before
// anything runs.
std::optional<std::function<void()>> launch_app(const std::optional<std::string>& root) {
  if (root) {
    if (!std::filesystem::is_directory(*root)) {
      std::cerr << "error: the device root \"" << *root << "\" is not a directory\n";
      return std::nullopt;
    }
    device::set_root(*root);
  }
  static host::HostApp app;
  app.launch();
  return std::function<void()>(
      []() { cf::main_run_loop().run_once(std::chrono::milliseconds(0)); });
}

int run_console(int argc, char** argv) {
  const std::optional<ConsoleOptions> options = read_console_options(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  const std::optional<std::function<void()>> run_loop = launch_app(options->root);
  if (!run_loop) return 2;
  console::Session session(std::cout, std::cerr, *run_loop);
  if (options->inputs.empty()) {
    session.run_prompt(STDIN_FILENO, ::isatty(STDIN_FILENO) ? "tenebra> " : "");
    return 0;
  }
  for (const ConsoleInput& input : options->inputs) {
    if (input.is_expression) {
      session.run(input.text);
    } else {
      session.run_file(input.text);
    }
  }
  return session.failed() ? 1 : 0;
}

int run_hooks(int argc, char** argv) {
  std::optional<std::string> root;
  if (argc == 2 && std::strcmp(argv[0], "--root") == 0) {
    root = argv[1];
  } else if (argc == 1 && std::string_view(argv[0]).starts_with("--root=")) {
    root = std::string(argv[0] + std::strlen("--root="));
  } else if (argc != 0) {
    std::cerr << kUsage;
    return 2;
  }
  if (!launch_app(root)) return 2;
  for (const hooks::HookRow& row : hooks::hook_rows()) {
    std::cout << hooks::format_hook_row(row) << "\n";
  }
  return 0;
}

// Posts the Darwin notification NAME, as the device's notifyutil -p does.
int run_notify(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[0], "--root") == 0) {
    device::set_root(argv[1]);
    argc -= 2;
    argv += 2;
  }
  if (argc != 1) {
    std::cerr << kUsage;
    return 2;
  }
  ns::AutoreleasePool pool;
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       ns::string(argv[0]), nullptr, nullptr, true);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "console") == 0) return run_console(argc - 2, argv + 2);
  if (argc >= 2 && std::strcmp(argv[1], "hooks") == 0) return run_hooks(argc - 2, argv + 2);
  if (argc >= 2 && std::strcmp(argv[1], "notify") == 0) return run_notify(argc - 2, argv + 2);
  if (argc >= 2 && std::strcmp(argv[1], "mail") == 0) {
    return mail_command::run(
        argc - 2, argv + 2,
        [](const std::optional<std::string>& root) { return launch_app(root).has_value(); },
        std::cout, std::cerr);
  }
  if (argc >= 2 && std::strcmp(argv[1], "settings") == 0) {
    return tools::run_settings(argc - 2, argv + 2, std::cout, std::cerr);
  }
  if (argc >= 2 && std::strcmp(argv[1], "preview") == 0) {
    return preview::run(argc - 2, argv + 2, std::cout, std::cerr);
  }
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  std::cerr << kUsage;
  return 2;
}
