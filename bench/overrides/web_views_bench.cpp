// The web view rules per page: a mail of 40 KB loaded into a UIWebView with
// the installed script read from its file and put after the page's "<head>",
// beside the same load with colorEmail off (the bare load the rule wraps),
// and a WKWebView created with the script added as a user script.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/settings.h"
#include "overrides/host/mail_script.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "tools/support/themed_process.h"

namespace {

using objc::msg;
using objc::Ref;

struct Scene {
  Ref web_view;
  Ref mail;

  Scene() {
    ns::AutoreleasePool pool;
    const std::filesystem::path bundle = device::resolve(tenebra::kScriptBundlePath);
    std::filesystem::create_directories(bundle);
    std::filesystem::copy_file(TENEBRA_MAIL_SCRIPT, bundle / "tenebra.min.js",
                               std::filesystem::copy_options::overwrite_existing);
    std::string html = "<html><head><title>Mail</title></head><body>";
    while (html.size() < 40 * 1024) html += "<p style=\"color:#333\">A line of a mail.</p>";
    mail = Ref::retain(ns::string(html + "</body></html>"));
    web_view = Ref::adopt(msg<id>(objc_getClass("UIWebView"), "new"));
  }
};

Scene& scene() {
  static Scene* s = [] {
    tenebra::testing::bring_up_theme();
    return new Scene;
  }();
  return *s;
}

void load_pages(benchmark::State& state, bool color_email) {
  Scene& s = scene();
  tenebra::settings.colorEmail = color_email ? 1 : 0;
  SEL load = objc::sel("loadHTMLString:baseURL:");
  for (auto _ : state) {
    ns::AutoreleasePool pool;
    msg<void>(s.web_view, load, s.mail.get(), id{nil});
  }
  tenebra::settings.colorEmail = 1;
}
void BM_PageLoadBare(benchmark::State& state) { load_pages(state, false); }
BENCHMARK(BM_PageLoadBare);
void BM_PageLoadWithScript(benchmark::State& state) { load_pages(state, true); }
BENCHMARK(BM_PageLoadWithScript);

void BM_WebViewCreationWithScript(benchmark::State& state) {
  scene();
  Class web_view = objc_getClass("WKWebView");
  for (auto _ : state) {
    ns::AutoreleasePool pool;
    Ref view = Ref::adopt(msg<id>(msg<id>(web_view, "alloc"), "initWithFrame:configuration:",
                                  CGRectMake(0, 0, 375, 600), id{nil}));
    benchmark::DoNotOptimize(view.get());
  }
}
BENCHMARK(BM_WebViewCreationWithScript);

}  // namespace
