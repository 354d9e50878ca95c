#include "platform/core/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <system_error>

namespace morvane::core {
namespace fs = std::filesystem;
namespace {

std::string Reason(const std::string& what, int err) { return what + ": " + std::strerror(err); }

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

// A name that no other writer picks at the same time: the process id, a counter and a
// random part, so two processes writing the same settings file do not collide.
std::string TemporaryName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned salt = std::random_device{}();
  std::ostringstream name;
  name << "." << target.filename().string() << "." << ::getpid() << "." << salt << "."
       << counter.fetch_add(1) << ".tmp";
  return name.str();
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::chrono::system_clock::time_point FromTimespec(const struct statx_timestamp& t) {
  using namespace std::chrono;
  return system_clock::time_point(
      duration_cast<system_clock::duration>(seconds(t.tv_sec) + nanoseconds(t.tv_nsec)));
}

}  // namespace

bool IsFile(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool IsFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(path, ec) && !ec;
}

FileContents ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FileContents result;
  // Non-blocking, so that opening a pipe does not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int err = errno;
    result.status = (err == ENOENT || err == ENOTDIR) ? FileContents::kMissing : FileContents::kFailed;
    result.error = Reason(path, err);
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    const bool regular = S_ISREG(info.st_mode);
    ::close(fd);
    result.status = FileContents::kFailed;
    result.error = path + ": " + (regular ? "the file is too large" : "not a regular file");
    return result;
  }
  // The size known, a large picture is not grown into through copies of itself.
  result.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      result.status = FileContents::kFailed;
      result.error = Reason(path, errno);
      result.bytes.clear();
      ::close(fd);
      return result;
    }
    if (result.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
      ::close(fd);  // it grew while being read
      result.status = FileContents::kFailed;
      result.error = path + ": the file is too large";
      result.bytes.clear();
      return result;
    }
    result.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  result.status = FileContents::kOk;
  return result;
}

std::string ReadFileStart(const std::string& path, std::size_t count) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    bytes.resize(count);
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = ::read(fd, bytes.data() + got, count - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
  }
  ::close(fd);
  return bytes;
}

namespace {

// The folder a path lies in ("." for a bare name).
fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Writers that reach a file-size limit get EFBIG from write() instead of being killed.
void IgnoreFileSizeSignal() {
  static const bool ignored = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)ignored;
}

// The file a save replaces: links followed to a regular file or to a name that does
// not exist yet. Nothing, with error set, for anything else.
std::optional<fs::path> SaveTarget(const std::string& path, std::string* error) {
  fs::path target(path);
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    // A dangling link or a loop: replacing the link would lose it, and writing where
    // it points is not what was asked.
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
      SetError(error, path + " is not a regular file");
      return std::nullopt;
    }
    target = real;
    std::free(real);
  }
  if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    SetError(error, path + " is not a regular file");
    return std::nullopt;
  }
  return target;
}

// A writer killed between naming its temporary file and the rename leaves it behind;
// the next save of the same file removes those of processes that are gone.
void RemoveStaleTemporaries(const fs::path& folder, const fs::path& target) {
  const std::string prefix = "." + target.filename().string() + ".";
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    pid_t pid = 0;
    const auto [ptr, err] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (err != std::errc() || ptr == rest.data() || *ptr != '.' || pid <= 0) continue;
    if (pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

// Gives an unnamed temporary file the name it is renamed from.
bool NameTemporary(int fd, const fs::path& temp) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  return ::linkat(fd, "", AT_FDCWD, temp.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error,
                     ReadOnlyFiles readOnly) {
  if (path.empty()) {
    SetError(error, "No file name given");
    return false;
  }
  const std::optional<fs::path> resolved = SaveTarget(path, error);
  if (!resolved) return false;
  const fs::path& target = *resolved;
  const fs::path folder = FolderOf(target);

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  // Root may write anything; a file without any write permission is still read-only.
  if (existed && readOnly == ReadOnlyFiles::kRefuse &&
      (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
    SetError(error, Reason("Cannot replace " + target.string(), EACCES));
    return false;
  }
  IgnoreFileSizeSignal();
  RemoveStaleTemporaries(folder, target);

  fs::path temp = folder / TemporaryName(target);
  bool named = false;
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  // File systems without unnamed files get a named one at once.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder / TemporaryName(target);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    named = fd >= 0;
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    SetError(error, Reason("Cannot create a temporary file in " + folder.string(), errno));
    return false;
  }

  int failure = 0;
  std::string step;
  if (!WriteAll(fd, bytes)) {
    failure = errno;
    step = "Cannot write " + target.string();
  } else if (::fsync(fd) != 0) {
    failure = errno;
    step = "Cannot flush " + target.string();
  }
  if (failure == 0 && existed) {
    // Keep who owns the file and who may read it; failing here is not worth losing
    // the write over.
    [[maybe_unused]] const int chown_result = ::fchown(fd, old.st_uid, old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
  }
  if (failure == 0 && !named) {
    if (NameTemporary(fd, temp)) {
      named = true;
    } else {
      failure = errno;
      step = "Cannot create a temporary file in " + folder.string();
    }
  }
  if (::close(fd) != 0 && failure == 0) {
    failure = errno;
    step = "Cannot close " + target.string();
  }
  if (failure == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
    failure = errno;
    step = "Cannot replace " + target.string();
  }
  if (failure != 0) {
    if (named) ::unlink(temp.c_str());
    SetError(error, Reason(step, failure));
    return false;
  }
  // Make the rename itself durable; a failure here leaves a correct file behind.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

FolderLock::FolderLock(const std::string& file) {
  if (file.empty()) return;
  fd_ = ::open(FolderOf(fs::path(file)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
}

bool CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return IsFolder(path);
}

bool FolderIsWritable(const std::string& folder) {
  if (!IsFolder(folder)) return false;
  const fs::path probe = fs::path(folder) / TemporaryName(".probe");
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::optional<FileTime> GetFileTime(const std::string& path, FileTimeKind kind) {
  if (path.empty()) return std::nullopt;
  struct statx sx {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
    return std::nullopt;
  }
  switch (kind) {
    case FileTimeKind::kCreation:
      if (sx.stx_mask & STATX_BTIME) return FromTimespec(sx.stx_btime);
      return FromTimespec(sx.stx_mtime);
    case FileTimeKind::kLastAccess: return FromTimespec(sx.stx_atime);
    case FileTimeKind::kLastWrite: return FromTimespec(sx.stx_mtime);
  }
  return std::nullopt;
}

bool SetFileTime(const std::string& path, FileTimeKind kind, FileTime time) {
  if (path.empty() || kind == FileTimeKind::kCreation) return false;
  using namespace std::chrono;
  const auto since = time.time_since_epoch();
  const auto secs = floor<seconds>(since);
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1] = times[0];
  struct timespec& chosen = kind == FileTimeKind::kLastAccess ? times[0] : times[1];
  chosen.tv_sec = static_cast<time_t>(secs.count());
  chosen.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(since - secs).count());
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace morvane::core
