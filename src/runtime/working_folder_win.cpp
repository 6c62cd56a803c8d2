// The working folders on Windows: the program file's folder from the module
// name, the user's folder under the Documents known folder. Paths cross as
// UTF-16, so any folder name works.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "runtime/wide_text_win.h"
#include "runtime/working_folder.h"

namespace zelvo {

namespace {

std::optional<std::wstring> SystemPath(std::string_view folder) {
    if (folder.empty() || folder.find('\0') != std::string_view::npos) return std::nullopt;
    return GbkToWide(folder);
}

}  // namespace

std::string ProgramFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) return {};
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    const std::size_t slash = program.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    // A drive root keeps its backslash ("C:\"), which "C:" alone would not mean.
    program.resize(slash == 2 && program[1] == L':' ? slash + 1 : slash);
    return WideToGbk(program).value_or("");
}

std::string UserFolder() {
    PWSTR documents = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents))) {
        folder = documents;
    }
    CoTaskMemFree(documents);
    if (folder.empty()) return {};
    if (folder.back() != L'\\') folder += L'\\';
    return WideToGbk(folder + L"Zelvo").value_or("");
}

bool CanCreateFilesIn(std::string_view folder) {
    const std::optional<std::wstring> name = SystemPath(folder);
    if (!name) return false;
    const std::wstring probe = *name + L"\\.zelvo-write-test-" + std::to_wstring(GetCurrentProcessId());
    // Deleted when the handle closes; a folder the user may not write (such
    // as one under Program Files) refuses the creation itself.
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN |
                                        FILE_FLAG_DELETE_ON_CLOSE,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool MakeFolders(std::string_view folder) {
    const std::optional<std::wstring> name = SystemPath(folder);
    if (!name) return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(*name), error);
    return std::filesystem::is_directory(std::filesystem::path(*name), error);
}

bool EnterFolder(std::string_view folder) {
    const std::optional<std::wstring> name = SystemPath(folder);
    return name && SetCurrentDirectoryW(name->c_str()) != 0;
}

}  // namespace zelvo
