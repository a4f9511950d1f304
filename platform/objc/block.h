// Blocks as the platform lays them out (the Blocks ABI): a literal whose
// invoke function takes the block itself first. C++ code makes one from any
// callable for the time of a call (a stack block, never copied), and the
// platform's methods that take a block call it through `call_block`.
#pragma once

#include <functional>
#include <utility>

#include "platform/objc/runtime.h"

namespace objc {

// The fields every block starts with, in the ABI's order.
struct BlockLiteral {
  void* isa = nullptr;
  int flags = 0;
  int reserved = 0;
  void (*invoke)() = nullptr;
  const void* descriptor = nullptr;
};

template <typename Fn>
class StackBlock;

// A block over a C++ callable, alive as long as this object; pass `get()`
// where a method takes a block.
template <typename... Args>
class StackBlock<void(Args...)> {
 public:
  explicit StackBlock(std::function<void(Args...)> body) : body_(std::move(body)) {
    literal_.invoke = reinterpret_cast<void (*)()>(&StackBlock::trampoline);
  }
  StackBlock(const StackBlock&) = delete;
  StackBlock& operator=(const StackBlock&) = delete;

  id get() { return reinterpret_cast<id>(&literal_); }

 private:
  static void trampoline(BlockLiteral* literal, Args... args) {
    reinterpret_cast<StackBlock*>(literal)->body_(args...);
  }

  BlockLiteral literal_;  // first, so the block's address is the object's
  std::function<void(Args...)> body_;
};

// Calls a block that takes `Args...` and returns nothing; nil is not called.
template <typename... Args>
void call_block(id block, Args... args) {
  if (block == nil) return;
  auto* literal = reinterpret_cast<BlockLiteral*>(block);
  reinterpret_cast<void (*)(BlockLiteral*, Args...)>(literal->invoke)(literal, args...);
}

}  // namespace objc
