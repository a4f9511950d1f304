#include "platform/foundation/foundation.h"

namespace ns {

void define_foundation_classes() {
  define_string_operations();
  define_number_classes();
  define_data_classes();
  define_array_classes();
  define_dictionary_classes();
  define_set_classes();
  define_error_classes();
  define_scanner_classes();
  define_file_classes();
  define_url_classes();
  define_key_value_coding();
}

}  // namespace ns
