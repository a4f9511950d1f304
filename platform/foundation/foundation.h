// Foundation, the platform's base framework: what device code reaches with
// #import <Foundation/Foundation.h>.
#pragma once

#include "platform/foundation/format.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/key_value_coding.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_attributed_string.h"
#include "platform/foundation/ns_bundle_loading.h"
#include "platform/foundation/ns_character_set.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_error.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_scanner.h"
#include "platform/foundation/ns_set.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/ns_url.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/string_encoding.h"

namespace ns {

// Defines Foundation's classes beyond NSObject, NSString and NSException
// (which come first), in dependency order; called once at platform start.
void define_foundation_classes();

}  // namespace ns
