// The status bar and its item views. The app asks for a status-bar style;
// each request makes a new UIStatusBarNewUIStyleAttributes holding the
// request's background and foreground colours, and the items take the
// foreground colour: the time as its text colour, the Wi-Fi and battery
// glyphs as their tint, the signal bars as their active colour. The items
// read those colours back through their getters when they draw.
#pragma once

namespace ui {

// The styles an app may ask for, as UIStatusBarStyle numbers them.
enum StatusBarStyle : long {
  kStatusBarStyleDefault = 0,       // dark content
  kStatusBarStyleLightContent = 1,  // light content, for dark backgrounds
  kStatusBarStyleDarkContent = 3,
};

// Defines UIStatusBarStyleRequest, UIStatusBarNewUIStyleAttributes, the item
// views and UIStatusBar; called once at platform start, after the views.
void define_status_bar_classes();

}  // namespace ui
