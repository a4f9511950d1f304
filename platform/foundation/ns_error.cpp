#include "platform/foundation/ns_error.h"

#include <cerrno>
#include <string>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

id NSCocoaErrorDomain = nil;
id NSFilePathErrorKey = nil;
id NSLocalizedDescriptionKey = nil;

namespace ns {
namespace {

const objc::Member<Ref> kDomain{"NSError", "_domain"};
const objc::Member<long> kCode{"NSError", "_code"};
const objc::Member<Ref> kUserInfo{"NSError", "_userInfo"};

id init_with_domain(id self, SEL, id domain, long code, id user_info) {
  kDomain.of(self) = Ref::adopt(msg<id>(domain, "copy"));
  kCode.of(self) = code;
  kUserInfo.of(self) = Ref::adopt(msg<id>(user_info, "copy"));
  return self;
}
id error_with_domain(id self, SEL, id domain, long code, id user_info) {
  return autorelease(init_with_domain(msg<id>(self, "alloc"), nullptr, domain, code, user_info));
}
id domain(id self, SEL) { return kDomain.of(self); }
long code(id self, SEL) { return kCode.of(self); }
// An error always answers a user-information dictionary, empty when it has none.
id user_info(id self, SEL) {
  if (kUserInfo.of(self)) return kUserInfo.of(self);
  return msg<id>(objc_getClass("NSDictionary"), "dictionary");
}
id localized_description(id self, SEL) {
  id given = msg<id>(kUserInfo.of(self).get(), "objectForKey:", NSLocalizedDescriptionKey);
  if (given != nil) return given;
  return string("The operation couldn\u2019t be completed. (" + utf8(kDomain.of(self)) + " error " +
                std::to_string(kCode.of(self)) + ".)");
}
id description(id self, SEL) {
  return string("Error Domain=" + utf8(kDomain.of(self)) +
                " Code=" + std::to_string(kCode.of(self)) + " \"" +
                utf8(localized_description(self, nullptr)) + "\"");
}

}  // namespace

void define_error_classes() {
  objc::ClassDefinition("NSError", objc_getClass("NSObject"))
      .member<Ref>("_domain")
      .member<long>("_code")
      .member<Ref>("_userInfo")
      .class_method("errorWithDomain:code:userInfo:", error_with_domain)
      .method("initWithDomain:code:userInfo:", init_with_domain)
      .method("domain", domain)
      .method("code", code)
      .method("userInfo", user_info)
      .method("localizedDescription", localized_description)
      .method("description", description)
      .finish();
  NSCocoaErrorDomain = constant_string("NSCocoaErrorDomain");
  NSFilePathErrorKey = constant_string("NSFilePath");
  NSLocalizedDescriptionKey = constant_string("NSLocalizedDescription");
}

NSInteger read_error_code(const std::error_code& cause) {
  switch (cause.value()) {
    case ENOENT:
    case ENOTDIR:
      return NSFileReadNoSuchFileError;
    case EACCES:
    case EPERM:
      return NSFileReadNoPermissionError;
    case EFBIG:
      return NSFileReadTooLargeError;
    default:
      return NSFileReadUnknownError;
  }
}

NSInteger write_error_code(const std::error_code& cause) {
  switch (cause.value()) {
    case EACCES:
    case EPERM:
      return NSFileWriteNoPermissionError;
    case EEXIST:
      return NSFileWriteFileExistsError;
    case ENOSPC:
    case EDQUOT:
      return NSFileWriteOutOfSpaceError;
    case EROFS:
      return NSFileWriteVolumeReadOnlyError;
    case ENOENT:
    case ENOTDIR:
      return NSFileNoSuchFileError;
    default:
      return NSFileWriteUnknownError;
  }
}

void report_file_error(id* error_out, NSInteger code, std::string_view device_path,
                       const std::error_code& cause) {
  if (error_out == nullptr) return;
  std::string text = std::string(device_path);
  if (cause) text += ": " + cause.message();
  id info = dictionary(
      {{NSFilePathErrorKey, string(device_path)}, {NSLocalizedDescriptionKey, string(text)}});
  *error_out =
      msg<id>(objc_getClass("NSError"), "errorWithDomain:code:userInfo:", NSCocoaErrorDomain,
              static_cast<long>(code), info);
}

}  // namespace ns
