// The device file system. Every path the platform is given is a DEVICE path
// ("/var/mobile/Library/...", "/User/...", "/Library/..."), and all of them
// live under one host directory, the device root. As on the device, "/User"
// names the same directory as "/var/mobile".
//
// Resolution is lexical and confined, like a chroot: "." is dropped, ".."
// climbs one level but never above the device's "/", and a relative path is
// taken from "/" (the working directory of every process on the device). So
// no device path, however it is spelled, names a host file outside the root.
// Symbolic links that already exist inside the root are followed by the host
// as usual; the device model never makes any.
#pragma once

#include <string>
#include <string_view>

namespace device {

// The host directory that is the device's "/". Starts as $TENEBRA_DEVICE_ROOT
// when that is set and not empty, else the root the build stages.
std::string root();
// Makes `host_directory` the device's "/" for the whole process (trailing
// slashes are dropped). The directory need not exist yet.
void set_root(std::string_view host_directory);

// The device path in its normal form: absolute, no ".", "..", empty or
// trailing components, "/User" spelled "/var/mobile". "" and "/" give "/".
std::string normalize(std::string_view device_path);
// The host path of `device_path` under the current root.
std::string resolve(std::string_view device_path);

// A fresh, empty device root in the host's temporary directory, made the
// process's root for as long as this object lives; the previous root comes
// back and the directory is removed with everything in it at the end.
class TemporaryRoot {
 public:
  TemporaryRoot();
  ~TemporaryRoot();
  TemporaryRoot(const TemporaryRoot&) = delete;
  TemporaryRoot& operator=(const TemporaryRoot&) = delete;

  const std::string& host_path() const { return path_; }

 private:
  std::string previous_;
  std::string path_;
};

}  // namespace device
