#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform_probe.h"

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test. Its path is plain ASCII, so it is the same
// as a GBK text.
namespace zelvo::testing {

class TempFolder {
  public:
    TempFolder() {
        path_ = NewTempFolder("zelvo-results-");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

    // Names (UTF-8) of the entries in the folder.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        return names;
    }

  private:
    std::string path_;
};

// Makes a folder the current directory for the lifetime of the object.
class CurrentDirectoryScope {
  public:
    explicit CurrentDirectoryScope(const std::string& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentDirectoryScope() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }

  private:
    std::filesystem::path previous_;
};

}  // namespace zelvo::testing
