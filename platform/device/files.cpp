#include "platform/device/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/device/device_paths.h"

namespace device {
namespace {

std::error_code last_error() { return {errno, std::generic_category()}; }

// Closes the descriptor on every path out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the close's own failure (a delayed write error).
  std::error_code close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? std::error_code{} : last_error();
  }

 private:
  int fd_;
};

std::error_code write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return last_error();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::string parent_of(const std::string& host_path) {
  auto slash = host_path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : host_path.substr(0, slash);
}

mode_t mode_for(const std::string& host_path) {
  struct stat existing {};
  if (::stat(host_path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    return existing.st_mode & 07777;
  }
  return 0644;
}

std::error_code write_in_place(const std::string& host_path, std::string_view bytes) {
  Descriptor file(::open(host_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (file.get() < 0) return last_error();
  if (auto error = write_all(file.get(), bytes)) return error;
  return file.close();
}

std::error_code write_atomically(const std::string& host_path, std::string_view bytes) {
  std::string directory = parent_of(host_path);
  std::string name = host_path.substr(host_path.rfind('/') + 1);
  std::string temporary = directory + "/." + name + ".XXXXXX";
  Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
  if (file.get() < 0) return last_error();

  std::error_code error = write_all(file.get(), bytes);
  if (!error && ::fchmod(file.get(), mode_for(host_path)) != 0) error = last_error();
  if (!error && ::fsync(file.get()) != 0) error = last_error();
  if (auto closed = file.close(); !error) error = closed;
  if (!error && ::rename(temporary.c_str(), host_path.c_str()) != 0) error = last_error();
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  // The rename itself is durable once the directory is flushed; the new file
  // is already in place, so a failure here changes nothing for readers.
  Descriptor parent(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (parent.get() >= 0) ::fsync(parent.get());
  return {};
}

// The target of the link at `host_path`, or nothing.
std::optional<std::string> link_target(const std::string& host_path) {
  std::string target(4096, '\0');
  ssize_t length = ::readlink(host_path.c_str(), target.data(), target.size());
  if (length < 0 || static_cast<std::size_t>(length) == target.size()) return std::nullopt;
  target.resize(static_cast<std::size_t>(length));
  return target;
}

// The bytes of the regular file at `host_path`, never following a link.
std::optional<std::string> regular_file_bytes(const std::string& host_path) {
  Descriptor file(::open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return content;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

std::error_code copy_regular_file(const std::string& from, const std::string& to) {
  Descriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (source.get() < 0) return last_error();
  struct stat info {};
  if (::fstat(source.get(), &info) != 0) return last_error();
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::not_supported);
  Descriptor copy(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (copy.get() < 0) return last_error();
  std::error_code error;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(source.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = last_error();
    if (got <= 0) break;
    if ((error = write_all(copy.get(), std::string_view(buffer, static_cast<std::size_t>(got))))) {
      break;
    }
  }
  if (!error && ::fchmod(copy.get(), info.st_mode & 07777) != 0) error = last_error();
  if (!error && ::fsync(copy.get()) != 0) error = last_error();
  if (auto closed = copy.close(); !error) error = closed;
  if (error) ::unlink(to.c_str());
  return error;
}

}  // namespace

std::optional<std::string> read_file(std::string_view device_path, std::error_code& error,
                                     std::size_t max_bytes) {
  error.clear();
  std::string host_path = resolve(device_path);
  // Non-blocking, so that a named pipe in the file's place cannot stall the
  // open; a regular file reads the same either way.
  Descriptor file(::open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) {
    error = last_error();
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    error = last_error();
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                       : std::errc::invalid_argument);
    return std::nullopt;
  }
  if (static_cast<std::size_t>(info.st_size) > max_bytes) {
    error = std::make_error_code(std::errc::file_too_large);
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = last_error();
      return std::nullopt;
    }
    if (got == 0) break;
    // The file may grow while it is read: the limit holds for what is read.
    if (content.size() + static_cast<std::size_t>(got) > max_bytes) {
      error = std::make_error_code(std::errc::file_too_large);
      return std::nullopt;
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
  return content;
}

std::error_code write_file(std::string_view device_path, std::string_view bytes, WriteMode mode) {
  // The device's "/" is a directory; its temporary file would land outside it.
  if (normalize(device_path) == "/") return std::make_error_code(std::errc::is_a_directory);
  std::string host_path = resolve(device_path);
  return mode == WriteMode::kAtomic ? write_atomically(host_path, bytes)
                                    : write_in_place(host_path, bytes);
}

std::error_code copy_item(std::string_view from, std::string_view to) {
  const std::string source = resolve(from), copy = resolve(to);
  struct stat info {};
  if (::lstat(source.c_str(), &info) != 0) return last_error();
  if (S_ISREG(info.st_mode)) return copy_regular_file(source, copy);
  if (!S_ISLNK(info.st_mode)) return std::make_error_code(std::errc::not_supported);
  const auto target = link_target(source);
  if (!target) return std::make_error_code(std::errc::io_error);
  return ::symlink(target->c_str(), copy.c_str()) == 0 ? std::error_code{} : last_error();
}

bool same_item_contents(std::string_view a, std::string_view b) {
  const std::string first = resolve(a), second = resolve(b);
  struct stat one {}, other {};
  if (::lstat(first.c_str(), &one) != 0 || ::lstat(second.c_str(), &other) != 0) return false;
  if (one.st_dev == other.st_dev && one.st_ino == other.st_ino) return true;
  if ((one.st_mode & S_IFMT) != (other.st_mode & S_IFMT)) return false;
  if (S_ISLNK(one.st_mode)) {
    const auto target = link_target(first);
    return target && target == link_target(second);
  }
  if (!S_ISREG(one.st_mode) || one.st_size != other.st_size) return false;
  const auto bytes = regular_file_bytes(first);
  return bytes && bytes == regular_file_bytes(second);
}

}  // namespace device
