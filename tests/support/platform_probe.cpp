#include "platform_probe.h"

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#else
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <random>
#include <system_error>

namespace zelvo::testing {

int ThreadsOfProcess() {
#ifdef _WIN32
    const DWORD self = GetCurrentProcessId();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) ++count;
    }
    CloseHandle(snapshot);
    return count;
#else
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
#endif
}

// The stack size of the calling thread (its reservation on Windows).
std::size_t OwnStackSize() {
#ifdef _WIN32
    // Looked up at run time: the declaration needs a newer Windows than the
    // program targets.
    using Limits = void(WINAPI*)(PULONG_PTR, PULONG_PTR);
    const auto limits = reinterpret_cast<Limits>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentThreadStackLimits")));
    if (limits == nullptr) return 0;
    ULONG_PTR low = 0, high = 0;
    limits(&low, &high);
    return static_cast<std::size_t>(high - low);
#else
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) return 0;
    std::size_t size = 0;
    pthread_attr_getstacksize(&attributes, &size);
    pthread_attr_destroy(&attributes);
    return size;
#endif
}

// A new, empty folder under the system's temporary folder, its name the
// prefix and random letters (ASCII, so the same text in GBK and UTF-8).
std::string NewTempFolder(std::string_view prefix) {
    std::random_device seed;
    std::mt19937 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name(prefix);
        for (int i = 0; i < 8; ++i) name += static_cast<char>('a' + random() % 26);
        std::error_code error;
        if (std::filesystem::create_directory(base / name, error)) return (base / name).string();
    }
    return {};
}

// The folder of the running test program.
std::filesystem::path ExecutableFolder() {
#ifdef _WIN32
    wchar_t name[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
    return std::filesystem::path(std::wstring(name, length)).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::tm LocalCalendar(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

HeldFile::HeldFile(const std::filesystem::path& path) {
#ifdef _WIN32
    handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    held_ = handle_ != INVALID_HANDLE_VALUE;
#else
    handle_ = ::open(path.c_str(), O_RDONLY);
    held_ = handle_ >= 0 && ::flock(static_cast<int>(handle_), LOCK_EX) == 0;
#endif
}

HeldFile::~HeldFile() {
#ifdef _WIN32
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
#endif
}

}  // namespace zelvo::testing
