// The text rules per call, beside the bare methods they wrap: the grey rule
// (passing through and replacing), the label text colour rule (themed and
// passing through for an excluded label), the image rules of the thread-cell
// backgrounds and the side panel's highlighted icon (passing through with the
// theme off, and themed), and replaceColorsWith: on a text of 10,000
// characters in up to 1,000 runs, whose cost grows with the runs.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "overrides/host/label_text.h"
#include "overrides/system/grey_color.h"
#include "overrides/system/text_ink.h"
#include "overrides/system/thread_cell_background.h"
#include "platform/foundation/foundation.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/text_attributes.h"
#include "tools/support/themed_process.h"

namespace {

using objc::msg;
using objc::Ref;

// A subclass whose own method is the saved implementation the rule wraps,
// so a send to it costs what the unhooked method costs. Its type encoding is
// the replaced method's.
Class bare_subclass(const char* name, const char* superclass, bool class_side, const char* selector,
                    IMP imp) {
  Class parent = objc_getClass(superclass);
  SEL sel = objc::sel(selector);
  Method replaced =
      class_side ? class_getClassMethod(parent, sel) : class_getInstanceMethod(parent, sel);
  Class cls = objc_allocateClassPair(parent, name, 0);
  objc_registerClassPair(cls);
  Class target = class_side ? object_getClass(reinterpret_cast<id>(cls)) : cls;
  class_addMethod(target, sel, imp, method_getTypeEncoding(replaced));
  return cls;
}

struct Scene {
  Class bare_color;
  Ref bare_label, label, excluded_label;
  Scene() {
    tenebra::testing::bring_up_theme();
    bare_color = bare_subclass("BareGreyColor", "UIColor", true,
                               "colorWithWhite:alpha:", *tenebra::saved_color_with_white.slot());
    Class bare_label_class = bare_subclass("BareTextColorLabel", "UILabel", false, "textColor",
                                           *tenebra::saved_label_text_color.slot());
    Class excluded = objc_allocateClassPair(objc_getClass("UILabel"), "_BenchPrivateLabel", 0);
    objc_registerClassPair(excluded);
    bare_label = Ref::adopt(msg<id>(bare_label_class, "new"));
    label = Ref::adopt(msg<id>(objc_getClass("UILabel"), "new"));
    excluded_label = Ref::adopt(msg<id>(excluded, "new"));
  }
};

Scene& scene() {
  static Scene* s = new Scene;
  return *s;
}

// Sends `selector` with (white, alpha) to `cls`, draining the pool now and
// then so the colours made do not pile up.
void make_greys(benchmark::State& state, Class cls, double white) {
  SEL selector = objc::sel("colorWithWhite:alpha:");
  ns::AutoreleasePool pool;
  unsigned n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(msg<id>(cls, selector, white, 1.0));
    if (++n % 1024 == 0) pool.drain();
  }
}

void BM_BareColorWithWhite(benchmark::State& state) { make_greys(state, scene().bare_color, 0.5); }
BENCHMARK(BM_BareColorWithWhite);
void BM_GreyRulePassingThrough(benchmark::State& state) {
  make_greys(state, objc_getClass("UIColor"), 0.5);
}
BENCHMARK(BM_GreyRulePassingThrough);
void BM_GreyRuleReplacing(benchmark::State& state) {
  make_greys(state, objc_getClass("UIColor"), 0.129);
}
BENCHMARK(BM_GreyRuleReplacing);

void ask_text_color(benchmark::State& state, id label) {
  SEL selector = objc::sel("textColor");
  for (auto _ : state) benchmark::DoNotOptimize(msg<id>(label, selector));
}
void BM_BareLabelTextColor(benchmark::State& state) { ask_text_color(state, scene().bare_label); }
BENCHMARK(BM_BareLabelTextColor);
void BM_LabelRulePassingThrough(benchmark::State& state) {
  ask_text_color(state, scene().excluded_label);
}
BENCHMARK(BM_LabelRulePassingThrough);
void BM_LabelRuleThemed(benchmark::State& state) { ask_text_color(state, scene().label); }
BENCHMARK(BM_LabelRuleThemed);

// The image rows: the app draws its image, the rule hands it on (theme off)
// or puts a plain fill or a tinted copy in its place (theme on). Names are
// "Bare/<row>", "Rule/<row>" and "Themed/<row>".
struct ImageRow {
  int number;
  const char* class_name;
  bool class_side;
  const char* selector;
  IMP* slot;
};
const std::vector<ImageRow>& image_rows() {
  static const std::vector<ImageRow> rows = {
      {11, "ThreadCellFrontView", true,
       "backgroundForPosition:backgroundColor:", tenebra::saved_thread_cell_background.slot()},
      {12, "ThreadCellFrontView", true, "greySelectedBackgroundForPosition:backgroundColor:",
       tenebra::saved_thread_cell_grey_selected_background.slot()},
      {13, "ThreadCellFrontView", true, "highlightedBackgroundForPosition:backgroundColor:",
       tenebra::saved_thread_cell_highlighted_background.slot()},
      {30, "GOOSideViewItemCell", false,
       "getIconHighlightedImageForItem:", tenebra::saved_side_item_highlighted_icon.slot()},
  };
  return rows;
}

enum class ImagePath { kBare, kRule, kThemed };

void make_images(benchmark::State& state, const ImageRow& row, ImagePath path) {
  scene();
  Class cls = objc_getClass(row.class_name);
  if (path == ImagePath::kBare) {
    const std::string name = "Bare" + std::to_string(row.number) + row.class_name;
    cls = objc_getClass(name.c_str());
    if (cls == Nil)
      cls = bare_subclass(name.c_str(), row.class_name, row.class_side, row.selector, *row.slot);
  }
  Ref receiver, argument;
  {
    ns::AutoreleasePool setup;
    receiver =
        row.class_side ? Ref::retain(reinterpret_cast<id>(cls)) : Ref::adopt(msg<id>(cls, "new"));
    argument = Ref::retain(row.class_side ? msg<id>(objc_getClass("UIColor"), "whiteColor")
                                          : ns::string("Inbox"));
  }
  SEL sel = objc::sel(row.selector);
  tenebra::settings.enabled = path == ImagePath::kThemed ? 1 : 0;
  for (auto _ : state) {
    ns::AutoreleasePool turn;
    if (row.class_side) {
      benchmark::DoNotOptimize(msg<id>(receiver.get(), sel, 0L, argument.get()));
    } else {
      benchmark::DoNotOptimize(msg<id>(receiver.get(), sel, argument.get()));
    }
  }
  tenebra::settings = tenebra::default_settings();
}

const int registered_image_rows = [] {
  const std::pair<const char*, ImagePath> paths[] = {
      {"Bare/", ImagePath::kBare}, {"Rule/", ImagePath::kRule}, {"Themed/", ImagePath::kThemed}};
  for (const ImageRow& row : image_rows()) {
    for (const auto& [prefix, path] : paths) {
      benchmark::RegisterBenchmark(
          (prefix + std::to_string(row.number)).c_str(),
          [&row, path = path](benchmark::State& state) { make_images(state, row, path); });
    }
  }
  return 0;
}();

// 10,000 characters in `runs` runs: the first black, each run with its own
// value under a second attribute so that none merge.
Ref text_in_runs(long runs) {
  const std::size_t length = 10000;
  Ref text = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                                "initWithString:", ns::string(std::string(length, 'x'))));
  const std::size_t run_length = length / static_cast<std::size_t>(runs);
  id key = ns::string("run");
  for (long run = 0; run < runs; ++run) {
    // The stand-in's own setter, so the rule on addAttribute:value:range:
    // does not take part in building the text.
    msg<void>(text.get(), "replaceCharactersInRange:withAttributedString:",
              NSMakeRange(static_cast<std::size_t>(run) * run_length, run_length),
              ns::autorelease(msg<id>(
                  msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                  "initWithString:attributes:", ns::string(std::string(run_length, 'x')),
                  ns::dictionary({{key, msg<id>(objc_getClass("NSNumber"), "numberWithInteger:", run)},
                                  {NSForegroundColorAttributeName,
                                   msg<id>(objc_getClass("UIColor"), "blackColor")}}))));
  }
  return text;
}

// The text and the colour are owned here: each turn drains only what the
// call made.
void BM_ReplaceColorsWith(benchmark::State& state) {
  scene();
  Ref text, color;
  {
    ns::AutoreleasePool setup;
    text = text_in_runs(state.range(0));
    color = Ref::retain(
        msg<id>(objc_getClass("UIColor"), "colorWithRed:green:blue:alpha:", 0.8, 0.8, 0.8, 1.0));
  }
  SEL selector = objc::sel("replaceColorsWith:");
  for (auto _ : state) {
    ns::AutoreleasePool turn;
    benchmark::DoNotOptimize(msg<id>(text.get(), selector, color.get()));
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReplaceColorsWith)->RangeMultiplier(10)->Range(10, 1000)->Complexity(benchmark::oN);

}  // namespace
