// The image choice as a pure decision: the Part's table of sizes, alpha,
// stretchable images and owners, one row each.
#include "overrides/host/image_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tenebra {
namespace {

struct FakeImage {
  bool is_present = true;
  double width = 0, height = 0;
  bool alpha = true;
  bool resizable = false;
  const char* owner = "InboxViewController";

  bool present() const { return is_present; }
  ImageSize size() const { return {width, height}; }
  bool has_alpha() const { return alpha; }
  bool is_resizable() const { return resizable; }
  const char* owner_class_name() const { return owner; }
};

constexpr ImageDecision kIncoming{};
constexpr ImageDecision solid(ImagePalette c) { return {ImageTreatment::kSolid, c}; }
constexpr ImageDecision tinted(ImagePalette c) { return {ImageTreatment::kTemplate, c}; }

TEST(ImageChoice, SizesAlphaStretchabilityAndOwnerChooseTheTreatment) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Row {
    const char* name;
    FakeImage image;
    ImageDecision expected;
  };
  const Row rows[] = {
      {"24 with alpha", {true, 24, 24}, tinted(ImagePalette::kText)},
      {"24 photo", {true, 24, 24, false}, kIncoming},
      {"44 with alpha", {true, 44, 44}, solid(ImagePalette::kBg)},
      {"44 photo", {true, 44, 44, false}, kIncoming},
      {"40 in a thread",
       {true, 40, 40, true, false, "ThreadViewController"},
       tinted(ImagePalette::kLighterBg)},
      {"40 elsewhere", {true, 40, 40}, kIncoming},
      {"40 with no owner", {true, 40, 40, true, false, nullptr}, kIncoming},
      {"40 in a subclass-named thread",
       {true, 40, 40, true, false, "ThreadViewController2"},
       kIncoming},
      {"16.5 square", {true, 16.5, 16.5}, tinted(ImagePalette::kBg)},
      {"16 square", {true, 16, 16}, kIncoming},
      {"17 square", {true, 17, 17}, kIncoming},
      {"16.5 by 16", {true, 16.5, 16}, kIncoming},
      {"stretchable 17 by 17", {true, 17, 17, false, true}, tinted(ImagePalette::kLighterBg)},
      {"stretchable 17 by 1", {true, 17, 1, false, true}, solid(ImagePalette::kBg)},
      {"stretchable 16.5 by 0.5", {true, 16.5, 0.5, true, true}, solid(ImagePalette::kBg)},
      {"plain 17 by 1", {true, 17, 1}, kIncoming},
      {"plain 16.5 by 0.5", {true, 16.5, 0.5}, kIncoming},
      {"stretchable 24 falls through", {true, 24, 24, true, true}, tinted(ImagePalette::kText)},
      {"stretchable 16.5 by 1", {true, 16.5, 1, true, true}, kIncoming},
      {"not a number", {true, nan, nan}, kIncoming},
      {"stretchable not a number", {true, nan, 1, true, true}, kIncoming},
      {"absent", {false, 24, 24}, kIncoming},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(choose_image(row.image, true), row.expected) << row.name;
    EXPECT_EQ(choose_image(row.image, false), kIncoming) << row.name;
  }
}

// The owner walk is the costly fact: only a 40-point image with alpha asks.
TEST(ImageChoice, OnlyThe40PointTestAsksForTheOwner) {
  struct Counting : FakeImage {
    mutable int asked = 0;
    const char* owner_class_name() const {
      ++asked;
      return owner;
    }
  };
  for (double side : {24.0, 44.0, 16.5, 100.0}) {
    Counting image;
    image.width = image.height = side;
    choose_image(image, true);
    EXPECT_EQ(image.asked, 0) << side;
  }
  Counting forty;
  forty.width = forty.height = 40;
  choose_image(forty, true);
  EXPECT_EQ(forty.asked, 1);
}

}  // namespace
}  // namespace tenebra
