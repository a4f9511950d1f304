#include "platform/webkit/webkit.h"

#include "platform/webkit/web_views.h"
#include "platform/webkit/wk_configuration.h"

namespace webkit {

void define_webkit_classes() {
  define_configuration_classes();
  define_web_view_classes();
}

}  // namespace webkit
