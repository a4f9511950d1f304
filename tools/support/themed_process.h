// A test or benchmark process with the theme wired in, as the library's start-up
// would do it, but without loading the library: its classes and categories,
// the host app's classes, the first settings load and the hooks, under a
// temporary device root. Once per process.
#pragma once

namespace tenebra::testing {

void bring_up_theme();

}  // namespace tenebra::testing
