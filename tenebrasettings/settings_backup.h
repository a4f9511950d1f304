// The copy the pane keeps of a settings file it cannot read as settings,
// before it replaces that file with one holding the new entry: beside it, as
// "NAME.plist.bak", or "NAME.plist.2.bak", "NAME.plist.3.bak" and so on when
// the earlier names hold other files. An earlier copy is never replaced, and
// a file already kept under one of the names is not kept twice. Only what
// holds something of the user's is kept: a file's bytes, or a link they
// made; a FIFO or a device holds nothing a replace could lose, and a
// directory is never replaced (the write fails).
#pragma once

#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace tenebrasettings {

// Names tried before the pane gives up and leaves the file as it is.
inline constexpr unsigned kMaxBackups = 100;

enum class ItemKind { kNone, kFile, kLink, kDirectory, kOther };

// Whether replacing an item of this kind would lose something of the user's.
constexpr bool needs_backup(ItemKind kind) {
  return kind == ItemKind::kFile || kind == ItemKind::kLink;
}

// The `number`th (from 1) name for the copy of the file at `path`.
std::u16string backup_path(std::u16string_view path, unsigned number);

// Keeps a copy of the unreadable settings file at `path` where one is
// needed; false when one is needed and none could be made, and the file
// must then stay as it is.
bool keep_unreadable_file(id path);

}  // namespace tenebrasettings
