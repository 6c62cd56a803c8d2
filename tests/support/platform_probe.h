#pragma once

// What tests ask of the operating system itself, beside the code under test:
// the process's threads, a thread's stack, a fresh temporary folder, the
// program's folder, the local calendar and a file held by another writer.
// No system header comes with this one.
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelvo::testing {

// A path from UTF-8 text, whatever the platform's own path encoding.
inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

int ThreadsOfProcess();
// The stack size of the calling thread (its reservation on Windows).
std::size_t OwnStackSize();
// A new, empty folder under the system's temporary folder, its name the
// prefix and random letters (ASCII, so the same text in GBK and UTF-8);
// empty when none could be made.
std::string NewTempFolder(std::string_view prefix);
// The folder of the running test program.
std::filesystem::path ExecutableFolder();
std::tm LocalCalendar(std::time_t when);

// Holds a file open for writing the way another writer would: an exclusive
// lock on POSIX, an open handle that shares no write access on Windows.
class HeldFile {
  public:
    explicit HeldFile(const std::filesystem::path& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return held_; }

  private:
#ifdef _WIN32
    void* handle_;
#else
    long handle_;
#endif
    bool held_ = false;
};

}  // namespace zelvo::testing
