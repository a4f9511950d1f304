#include "tools/console/c_functions.h"

#include <array>

#include "platform/coregraphics/cg_context.h"
#include "platform/objc/type_encoding.h"
#include "platform/uikit/ui_graphics.h"
#include "platform/uikit/ui_image.h"

namespace console {
namespace {

template <typename R, typename... Args>
CFunction function(const char* name, R (*address)(Args...)) {
  return {name, (objc::Encoding<R>::value() + ... + objc::Encoding<Args>::value()),
          reinterpret_cast<void (*)()>(address)};
}

const auto& functions() {
  static const std::array table = {
      function("UIImagePNGRepresentation", UIImagePNGRepresentation),
      function("UIGraphicsBeginImageContext", UIGraphicsBeginImageContext),
      function("UIGraphicsBeginImageContextWithOptions", UIGraphicsBeginImageContextWithOptions),
      function("UIGraphicsGetCurrentContext", UIGraphicsGetCurrentContext),
      function("UIGraphicsGetImageFromCurrentImageContext",
               UIGraphicsGetImageFromCurrentImageContext),
      function("UIGraphicsEndImageContext", UIGraphicsEndImageContext),
      function("UIRectFill", UIRectFill),
      function("UIRectFillUsingBlendMode", UIRectFillUsingBlendMode),
      function("CGImageGetWidth", CGImageGetWidth),
      function("CGImageGetHeight", CGImageGetHeight),
      function("CGImageGetBitsPerComponent", CGImageGetBitsPerComponent),
      function("CGImageGetBitsPerPixel", CGImageGetBitsPerPixel),
      function("CGImageGetBytesPerRow", CGImageGetBytesPerRow),
      function("CGImageGetAlphaInfo", CGImageGetAlphaInfo),
      function("CGImageGetBitmapInfo", CGImageGetBitmapInfo),
      function("CGImageRelease", CGImageRelease),
      function("CGBitmapContextCreateImage", CGBitmapContextCreateImage),
      function("CGContextSaveGState", CGContextSaveGState),
      function("CGContextRestoreGState", CGContextRestoreGState),
      function("CGContextTranslateCTM", CGContextTranslateCTM),
      function("CGContextScaleCTM", CGContextScaleCTM),
      function("CGContextSetBlendMode", CGContextSetBlendMode),
      function("CGContextSetFillColorWithColor", CGContextSetFillColorWithColor),
      function("CGContextSetRGBFillColor", CGContextSetRGBFillColor),
      function("CGContextFillRect", CGContextFillRect),
      function("CGContextClearRect", CGContextClearRect),
      function("CGContextClipToRect", CGContextClipToRect),
      function("CGContextDrawImage", CGContextDrawImage),
  };
  return table;
}

}  // namespace

const CFunction* find_c_function(std::string_view name) {
  for (const CFunction& f : functions()) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

}  // namespace console
