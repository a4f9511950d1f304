// NSScanner: reads numbers from a text left to right from a scan location.
// Each scan first skips white space and line breaks; a scan that finds no
// number answers NO and leaves the location where it was.
#pragma once

namespace ns {

void define_scanner_classes();

}  // namespace ns
