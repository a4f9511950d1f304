// `tenebra mail FILE.html [--root DIR] [--wkwebview] [--width N] [--png OUT.png]`:
// loads a mail into the thread screen of the host app model, through the
// web view the app uses and whatever the loaded library replaced on it,
// renders what the web view was given in Chromium, and either writes the
// screenshot (--png) or prints what the theme did: whether the script was
// placed and why, the web view's background, when the page was first
// painted dark, and the remote requests the mail tried (all blocked).
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace mail_command {

// Brings the app up on the device root, if one is given; false when the
// root is unusable (the launcher has reported it).
using Launch = std::function<bool(const std::optional<std::string>& root)>;

inline constexpr const char* kUsage =
    "       tenebra mail [--root DIR] [--wkwebview] [--width N] [--png OUT.png] FILE.html\n";

// Exit status: 0 done, 1 the mail could not be read or rendered, 2 usage.
int run(int argc, char** argv, const Launch& launch, std::ostream& out, std::ostream& err);

}  // namespace mail_command
