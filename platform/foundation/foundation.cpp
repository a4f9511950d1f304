#include "platform/foundation/foundation.h"

#include "platform/foundation/key_value_coding.h"

namespace ns {

void define_foundation_classes() {
  define_string_operations();
  define_number_classes();
  define_key_value_coding();
  define_data_classes();
  define_array_classes();
  define_dictionary_classes();
  define_attributed_string_classes();
  define_set_classes();
  define_error_classes();
  define_scanner_classes();
  define_file_classes();
  define_bundle_loading();
  define_url_classes();
  define_character_set_classes();
}

}  // namespace ns
