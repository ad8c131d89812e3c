#include "platform/profile/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/faults/file_faults.h"

namespace kit::profile {

namespace {

constexpr std::size_t kChunk = 4096;

FileResult OsFailure() { return FileResult{FileError::Io, errno}; }

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }
  int release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

bool WriteAll(int fd, std::string_view content, const std::function<void(std::size_t)>& afterChunk) {
  std::size_t done = 0;
  while (done < content.size()) {
    const std::size_t n = std::min(kChunk, content.size() - done);
    const ssize_t w = kit::faults::FileStepFails(kit::faults::FileStep::Write) ? -1 : ::write(fd, content.data() + done, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(w);
    if (afterChunk) afterChunk(done);
  }
  return true;
}

}  // namespace

FileResult ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? FileResult{FileError::NotFound, errno} : OsFailure();
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return OsFailure();
  if (!S_ISREG(st.st_mode)) return FileResult{FileError::Io, EISDIR};
  if (static_cast<std::size_t>(st.st_size) > kMaxProfileFileSize) return FileResult{FileError::TooLarge, EFBIG};
  std::vector<char> buffer(kChunk);
  for (;;) {
    const ssize_t r = ::read(fd.get(), buffer.data(), buffer.size());
    if (r < 0) {
      if (errno == EINTR) continue;
      return OsFailure();
    }
    if (r == 0) break;
    content.append(buffer.data(), static_cast<std::size_t>(r));
    if (content.size() > kMaxProfileFileSize) return FileResult{FileError::TooLarge, EFBIG};
  }
  return {};
}

FileResult ReplaceFileAtomically(const std::string& linkOrPath, std::string_view content,
                                 const std::function<void(std::size_t)>& afterChunk) {
  // A symbolic link keeps pointing at the file: the file it names is replaced.
  std::string path = linkOrPath;
  struct stat link {};
  if (::lstat(linkOrPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* target = ::realpath(linkOrPath.c_str(), nullptr)) {
      path = target;
      std::free(target);
    }
  }
  mode_t mode = 0644;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

  const std::string folder = FolderOf(path);
  const auto slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = folder + "/." + name + ".tmp-XXXXXX";
  Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0) return OsFailure();

  const bool written = WriteAll(fd.get(), content, afterChunk) && ::fchmod(fd.get(), mode) == 0 &&
                       !kit::faults::FileStepFails(kit::faults::FileStep::Flush) && ::fsync(fd.get()) == 0;
  if (!written) {
    const FileResult failure = OsFailure();
    ::unlink(temp.c_str());
    return failure;
  }
  if (::close(fd.release()) != 0 || kit::faults::FileStepFails(kit::faults::FileStep::Rename) ||
      ::rename(temp.c_str(), path.c_str()) != 0) {
    const FileResult failure = OsFailure();
    ::unlink(temp.c_str());
    return failure;
  }
  // Make the rename itself durable.
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) (void)::fsync(dir.get());
  return {};
}

}  // namespace kit::profile
