#include "tenebrasettings/settings_backup.h"

#include "platform/foundation/ns_error.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace tenebrasettings {
namespace {

using objc::msg;

ItemKind kind_of_item(id files, id path) {
  id attributes = msg<id>(files, "attributesOfItemAtPath:error:", path, static_cast<id*>(nullptr));
  if (attributes == nil) return ItemKind::kNone;
  id type = msg<id>(attributes, "objectForKey:", NSFileType);
  if (msg<BOOL>(type, "isEqual:", NSFileTypeRegular)) return ItemKind::kFile;
  if (msg<BOOL>(type, "isEqual:", NSFileTypeSymbolicLink)) return ItemKind::kLink;
  if (msg<BOOL>(type, "isEqual:", NSFileTypeDirectory)) return ItemKind::kDirectory;
  return ItemKind::kOther;
}

}  // namespace

std::u16string backup_path(std::u16string_view path, unsigned number) {
  std::u16string name(path);
  if (number > 1) {
    name += u'.';
    for (char digit : std::to_string(number)) name += static_cast<char16_t>(digit);
  }
  return name + u".bak";
}

bool keep_unreadable_file(id path) {
  id files = msg<id>(objc_getClass("NSFileManager"), "defaultManager");
  if (!needs_backup(kind_of_item(files, path))) return true;
  const std::u16string original = ns::characters(path);
  for (unsigned number = 1; number <= kMaxBackups; ++number) {
    id backup = ns::string(std::u16string_view(backup_path(original, number)));
    if (msg<BOOL>(files, "contentsEqualAtPath:andPath:", path, backup)) return true;
    id error = nil;
    if (msg<BOOL>(files, "copyItemAtPath:toPath:error:", path, backup, &error)) return true;
    if (msg<NSInteger>(error, "code") != NSFileWriteFileExistsError) return false;
  }
  return false;
}

}  // namespace tenebrasettings
