// NSError: a domain, a code and a user-information dictionary, handed back
// through an `NSError**` out-parameter by operations whose failure is
// expected (a missing file). Foundation's file operations report in the
// Cocoa domain with the platform's codes below.
#pragma once

#include <string_view>
#include <system_error>

#include "platform/foundation/foundation_types.h"
#include "platform/objc/runtime.h"

// The Cocoa error domain and the user-information keys; set at platform start.
extern id NSCocoaErrorDomain;
extern id NSFilePathErrorKey;
extern id NSLocalizedDescriptionKey;

inline constexpr NSInteger NSFileNoSuchFileError = 4;
inline constexpr NSInteger NSFileReadUnknownError = 256;
inline constexpr NSInteger NSFileReadNoPermissionError = 257;
inline constexpr NSInteger NSFileReadCorruptFileError = 259;
inline constexpr NSInteger NSFileReadNoSuchFileError = 260;
inline constexpr NSInteger NSFileReadInapplicableStringEncodingError = 261;
inline constexpr NSInteger NSFileReadTooLargeError = 263;
inline constexpr NSInteger NSFileWriteUnknownError = 512;
inline constexpr NSInteger NSFileWriteNoPermissionError = 513;
inline constexpr NSInteger NSFileWriteFileExistsError = 516;
inline constexpr NSInteger NSFileWriteInapplicableStringEncodingError = 517;
inline constexpr NSInteger NSFileWriteOutOfSpaceError = 640;
inline constexpr NSInteger NSFileWriteVolumeReadOnlyError = 642;

namespace ns {

void define_error_classes();

// The Cocoa code for a failed read or write with this host error.
NSInteger read_error_code(const std::error_code& cause);
NSInteger write_error_code(const std::error_code& cause);

// When `error_out` is not null, stores a new autoreleased NSError in the
// Cocoa domain with `code`, the file's device path and a description that
// names the host error (when there is one).
void report_file_error(id* error_out, NSInteger code, std::string_view device_path,
                       const std::error_code& cause = {});

}  // namespace ns
