#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "runtime/gbk_utf8.h"
#include "runtime/working_folder.h"

namespace zelvo {

namespace {

std::optional<std::string> SystemPath(std::string_view folder) {
    if (folder.empty() || folder.find('\0') != std::string_view::npos) return std::nullopt;
    return GbkToUtf8(folder);
}

// An absolute path from the environment; the XDG base directory rules
// ignore relative ones.
std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir) : "";
}

}  // namespace

std::string ProgramFolder() {
    std::string program(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", program.data(), program.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= program.size()) return {};
    program.resize(static_cast<std::size_t>(n));
    const std::size_t slash = program.rfind('/');
    program.resize(slash == 0 ? 1 : slash);
    return Utf8ToGbk(program).value_or("");
}

std::string UserFolder() {
    std::string data = AbsoluteVariable("XDG_DATA_HOME");
    if (data.empty()) {
        const std::string home = HomeFolder();
        if (home.empty()) return {};
        data = home + "/.local/share";
    }
    while (data.size() > 1 && data.back() == '/') data.pop_back();
    return Utf8ToGbk(data + "/zelvo").value_or("");
}

bool CanCreateFilesIn(std::string_view folder) {
    const std::optional<std::string> name = SystemPath(folder);
    if (!name) return false;
    const std::string probe = *name + "/.zelvo-write-test-" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool MakeFolders(std::string_view folder) {
    const std::optional<std::string> name = SystemPath(folder);
    if (!name) return false;
    std::error_code error;
    std::filesystem::create_directories(*name, error);
    return std::filesystem::is_directory(*name, error);
}

bool EnterFolder(std::string_view folder) {
    const std::optional<std::string> name = SystemPath(folder);
    return name && ::chdir(name->c_str()) == 0;
}

}  // namespace zelvo
