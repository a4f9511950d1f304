// The code of a bundle: NSBundle's `load`, `isLoaded`, `executablePath`,
// `principalClass`, `classNamed:` and +bundleForClass:. Loading opens the
// bundle's executable (the Info.plist's CFBundleExecutable) as a shared
// library, whose initialisers define its classes, as the device's loader
// does with a bundle's image; the classes that appear while it loads belong
// to that bundle from then on. A bundle whose executable cannot be loaded
// logs one line saying why and answers NO.
#pragma once

namespace ns {

// Adds the loading methods to NSBundle; called after define_file_classes.
void define_bundle_loading();

}  // namespace ns
