#include "ui/whole_file.h"

#include "text/percent_encoding.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace shareseek {
namespace {

namespace fs = std::filesystem;

// A file descriptor closed when it goes out of scope, unless closed first.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // False when closing reports a failed write.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const Bytes& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a chain of symbolic links ends at (at most 40 links, as the kernel allows).
fs::path linkTarget(const fs::path& path) {
    fs::path at = path;
    std::error_code error;
    for (int links = 0; links < 40 && fs::is_symlink(fs::symlink_status(at, error)); ++links) {
        const fs::path next = fs::read_symlink(at, error);
        if (error)
            break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

// A name beside `target` that no other writer picks.
fs::path asideName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random{std::random_device{}()};
    const unsigned tag = random() ^ (counter++ * 2654435761u);
    std::string suffix = ".";
    for (int shift = 28; shift >= 0; shift -= 4)
        suffix += hexDigits[(tag >> shift) & 15];
    return target.parent_path() / ("." + target.filename().native() + suffix + ".part");
}

enum class Aside { written, failed, folderRefused };

// Written beside the target and renamed over it; the new file keeps the old one's mode.
Aside writeAside(const fs::path& target, const Bytes& bytes) {
    fs::path aside;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        aside = asideName(target);
        fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return Aside::folderRefused;
    }
    Descriptor file(fd);
    if (!file.valid())
        return Aside::folderRefused;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(file.get(), old.st_mode & 07777);
    const bool ok = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.close() &&
                    ::rename(aside.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(aside.c_str());
    return ok ? Aside::written : Aside::failed;
}

bool writeInPlace(const fs::path& target, const Bytes& bytes) {
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return file.valid() && writeAll(file.get(), bytes) && file.close();
}

} // namespace

bool canWriteWholeFile(const FilePath& path) {
    const fs::path target = linkTarget(path);
    std::error_code error;
    if (target.empty() || target.filename().empty() || fs::is_directory(target, error))
        return false;
    const fs::path probe = asideName(target);
    Descriptor created(::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (created.valid()) {
        created.close();
        ::unlink(probe.c_str());
        return true;
    }
    return Descriptor(::open(target.c_str(), O_WRONLY | O_CLOEXEC)).valid();
}

std::optional<Bytes> readWholeFile(const FilePath& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return std::nullopt;
    Bytes bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool writeWholeFile(const FilePath& path, const Bytes& bytes) {
    const fs::path target = linkTarget(path);
    if (target.empty() || target.filename().empty())
        return false;
    // A folder of the user's own (the data or documents folder) is made on first use.
    std::error_code ignored;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ignored);
    switch (writeAside(target, bytes)) {
    case Aside::written:
        return true;
    case Aside::failed:
        return false; // the folder took a file, so the disk is what failed: keep the old one
    case Aside::folderRefused:
        break;
    }
    return writeInPlace(target, bytes);
}

} // namespace shareseek
