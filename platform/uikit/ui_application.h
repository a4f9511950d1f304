// UIApplication as far as opening URLs goes: the shared application object
// hands a URL to the system, which opens it when an installed app claims its
// scheme. The system's own apps claim "http", "https" (Safari) and "mailto"
// (Mail); a model of a device with more apps names their schemes with
// -setInstalledURLSchemes:, which exists only in this model, as do
// -openedURLs (every URL opened so far, in order) and
// -setAnswersOpenURLWithOptions: (NO models a system older than
// openURL:options:completionHandler:, whose application object does not
// respond to it). Schemes compare without regard to case.
//
// The application also answers its key window (the window that last
// received makeKeyAndVisible) and keeps its delegate, which the app sets at
// launch; unlike UIKit's, this delegate is retained, since no
// UIApplicationMain holds it.
//
// The model has no blocks, so openURL:options:completionHandler: never calls
// a completion handler.
#pragma once

namespace ui {

// Defines UIApplication; called once at platform start.
void define_application_classes();

}  // namespace ui
