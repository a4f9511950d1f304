// SafariServices: the in-app Safari view. A controller made for an HTTP or
// HTTPS URL, with the app's preferred tint for its controls and its bars.
// Its view, made when first asked for, is a bar above the page and a
// toolbar below it, coloured by the preferred tints at that moment.
#pragma once

namespace sf {

// Defines SFSafariViewController; called once at platform start, after UIKit.
void define_safari_classes();

}  // namespace sf
