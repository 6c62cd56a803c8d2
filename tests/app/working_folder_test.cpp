// Where the program writes its own files: the platform's folders, and the
// start-up choice between the program's folder and the user's folder, seen
// through the filter window's save.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../results/temp_folder.h"
#include "app/startup.h"
#include "memory_ui.h"
#include "platform_probe.h"
#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/working_folder.h"

namespace zelvo {
namespace {

using testing::MemoryUi;
using testing::TempFolder;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kFilter = WindowId::Filter;

std::string Join(const std::string& folder, const std::string& name) {
    return folder + std::string(PathSeparator()) + name;
}

bool SameFolder(const std::filesystem::path& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

TEST(WorkingFolderPlatform, FilesCanBeCreatedOnlyInAnExistingFolderAndNoProbeStays) {
    TempFolder root;
    const std::string file = Join(root.path(), "plain.txt");
    std::ofstream(file) << "x";
    const struct {
        const char* what;
        std::string folder;
        bool expected;
    } cases[] = {
        {"a writable folder", root.path(), true},
        {"a file, not a folder", file, false},
        {"a missing folder", Join(root.path(), "missing"), false},
        {"no folder", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CanCreateFilesIn(c.folder), c.expected);
    }
    EXPECT_EQ(root.entries(), (std::vector<std::string>{"plain.txt"}));

    const std::string nested = Join(Join(root.path(), "a"), "b");
    EXPECT_TRUE(MakeFolders(nested));
    EXPECT_TRUE(MakeFolders(nested)) << "an existing folder is fine";
    EXPECT_TRUE(std::filesystem::is_directory(nested));
    EXPECT_FALSE(MakeFolders(Join(file, "sub")));
}

TEST(WorkingFolderPlatform, ProgramFolderIsTheExecutablesFolder) {
    EXPECT_TRUE(SameFolder(testing::ExecutableFolder(), ProgramFolder()));
}

#ifdef _WIN32
TEST(WorkingFolderPlatform, UserFolderIsZelvoInDocuments) {
    const std::string folder = UserFolder();
    ASSERT_GT(folder.size(), 6u);
    EXPECT_EQ(folder.substr(folder.size() - 6), "\\Zelvo");
    EXPECT_TRUE(std::filesystem::is_directory(folder.substr(0, folder.size() - 6)))
        << "the Documents folder exists";
}
#else
// XDG_DATA_HOME when it is absolute, else HOME's .local/share.
TEST(WorkingFolderPlatform, UserFolderFollowsTheBaseDirectorySpecification) {
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string data = savedData ? savedData : "", home = savedHome ? savedHome : "";
    const struct {
        const char* data;  // nullptr: unset
        const char* home;
        const char* expected;
    } cases[] = {
        {"/x/data", "/home/u", "/x/data/zelvo"},
        {"/x/data/", "/home/u", "/x/data/zelvo"},
        {nullptr, "/home/u", "/home/u/.local/share/zelvo"},
        {"", "/home/u", "/home/u/.local/share/zelvo"},
        {"relative/data", "/home/u", "/home/u/.local/share/zelvo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data ? c.data : "(unset)");
        if (c.data) ::setenv("XDG_DATA_HOME", c.data, 1); else ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", c.home, 1);
        EXPECT_EQ(UserFolder(), c.expected);
    }
    if (savedData) ::setenv("XDG_DATA_HOME", data.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
    if (savedHome) ::setenv("HOME", home.c_str(), 1); else ::unsetenv("HOME");
}
#endif

// The program folder is one files can be created in, or a file standing in
// for one where they cannot (a root-owned /usr/bin cannot be made while the
// tests run as root).
TEST(WorkingFolder, TheFilterFileGoesWhereTheProgramMayWriteAndTheBoxSaysWhere) {
    const struct {
        const char* what;
        bool programFolderWritable;
    } cases[] = {{"a program folder of its own", true}, {"installed read-only", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder root;
        testing::CurrentDirectoryScope restore(root.path());
        const std::string programFolder = Join(root.path(), "program");
        if (c.programFolderWritable) {
            std::filesystem::create_directory(programFolder);
        } else {
            std::ofstream(programFolder) << "x";
        }
        const std::string userFolder = Join(Join(root.path(), "data"), "zelvo");
        const std::string expectedFolder = c.programFolderWritable ? programFolder : userFolder;

        MemoryUi ui;
        StartOptions options;
        options.programFolder = programFolder;
        options.userFolder = userFolder;
        auto program = startProgram(ui, std::move(options));
        EXPECT_TRUE(SameFolder(std::filesystem::current_path(), expectedFolder));
        EXPECT_EQ(std::filesystem::exists(userFolder), !c.programFolderWritable)
            << "the user folder is made only when needed";

        ui.onModal(kFilter, [](MemoryUi& modal) { EXPECT_TRUE(modal.click(kFilter, "按钮1")); });
        ASSERT_TRUE(ui.click(kMain, "按钮4"));
        EXPECT_TRUE(std::filesystem::exists(testing::Utf8Path(Join(expectedFolder, "\xEF\xBC\x8D.txt"))))
            << "－.txt, its UTF-8 name";
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].caption, "恭喜你!");
        EXPECT_EQ(ui.messages()[0].text, c.programFolderWritable
                                             ? std::string("全部保存完毕!")
                                             : "全部保存完毕!\r\n文件保存在：" + CurrentDirectory());
        runExitCleanup(program->state());
    }
}

}  // namespace
}  // namespace zelvo
