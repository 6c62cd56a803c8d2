#include "runtime/files.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/gbk_utf8.h"

namespace zelvo {

namespace {

// The file system's name for a GBK path; nothing when it has no such name.
std::optional<std::string> SystemPath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    return GbkToUtf8(path);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting whether the close (and so the last write) worked.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, BytesView part) {
    const std::uint8_t* p = part.data();
    std::size_t left = part.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string CurrentDirectory() {
    std::string buffer(PATH_MAX, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return ".";
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    if (buffer.size() > 1 && buffer.back() == '/') buffer.pop_back();
    // A folder whose name has no GBK form is still reachable as ".", which
    // keeps paths built on it pointing at the right place.
    return Utf8ToGbk(buffer).value_or(".");
}

std::string_view PathSeparator() { return "/"; }

Bytes ReadFileBytes(std::string_view path) {
    std::optional<std::string> name = SystemPath(path);
    if (!name) return {};
    Descriptor file(::open(name->c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return {};
    Bytes content;
    struct stat info {};
    if (::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        content.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::uint8_t chunk[65536];
    while (true) {
        ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return {};
        }
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    return content;
}

bool WriteFileBytes(std::string_view path, std::initializer_list<BytesView> parts) {
    std::optional<std::string> name = SystemPath(path);
    if (!name) return false;
    // Truncate only once the file is ours alone, so a writer that holds it is
    // not cut short by a second one.
    Descriptor file(::open(name->c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (file.get() < 0) return false;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // A file system without such locks does not stop the write.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    if (::ftruncate(file.get(), 0) != 0) return false;
    for (BytesView part : parts) {
        if (!WriteAll(file.get(), part)) return false;
    }
    return file.Close();
}

}  // namespace zelvo
