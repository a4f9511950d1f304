// The Preferences framework, which the Settings app and its preference
// bundles are written against: specifiers (PSSpecifier), the description of
// one cell, and list controllers (PSListController), the pages that show them.
// A page loads its specifiers from a property list in its own bundle, with
// the item keys the framework honours (see specifier_plist.h).
#pragma once

namespace ps {

// The framework's cell kinds (PSCellType), with the device's values.
enum PSCellType : long {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSGiantIconCell = 10,
  PSGiantCell = 11,
  PSSecureEditTextCell = 12,
  PSButtonCell = 13,
  PSEditTextViewCell = 14,
};

// Defines PSSpecifier, PSViewController and PSListController; called once
// at platform start, after UIKit.
void define_preferences_classes();

}  // namespace ps
