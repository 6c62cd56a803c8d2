#include "runtime/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform_probe.h"

namespace zelvo {
namespace {

using testing::Utf8Path;

// Each test works in a fresh folder under the system's temporary folder (an
// ASCII path, so it is the same in GBK and UTF-8) and goes back afterwards.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::NewTempFolder("zelvo_files_");
        ASSERT_FALSE(dir_.empty());
        previous_ = std::filesystem::current_path();
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    std::string Path(const std::string& name) const {
        return dir_ + std::string(PathSeparator()) + name;
    }
    static bool Exists(const std::string& utf8Path) {
        return std::filesystem::exists(Utf8Path(utf8Path));
    }

    std::string dir_;
    std::filesystem::path previous_;
};

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST_F(FilesTest, RoundTripKeepsNulBytesAndJoinsParts) {
    const std::string path = Path("a.bin");
    const Bytes withNul = {'x', 0, 'y', 0, 0, 0xFF};
    ASSERT_TRUE(WriteFileBytes(path, {BytesView(withNul), AsBytes(""), AsBytes("快递\r\n")}));
    Bytes expected = withNul;
    const Bytes tail = B("快递\r\n");
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST_F(FilesTest, WritingTruncatesAnExistingFile) {
    const std::string path = Path("t.txt");
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes("a long first content")}));
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes("short")}));
    EXPECT_EQ(ReadFileBytes(path), B("short"));
    ASSERT_TRUE(WriteFileBytes(path, {}));
    EXPECT_EQ(ReadFileBytes(path), Bytes{});
}

TEST_F(FilesTest, ChineseFileNamesAreUtf8OnDisk) {
    const std::string gbkPath = Path("快递单号.txt");
    ASSERT_TRUE(WriteFileBytes(gbkPath, {AsBytes("1")}));
    EXPECT_TRUE(Exists(dir_ + "/\xE5\xBF\xAB\xE9\x80\x92\xE5\x8D\x95\xE5\x8F\xB7.txt"));
    EXPECT_EQ(ReadFileBytes(gbkPath), B("1"));
}

TEST_F(FilesTest, UnconvertiblePathsFail) {
    // 81 20: a lead byte followed by a byte that cannot be a trail byte.
    const std::string bad = Path("x\x81\x20y.txt");
    EXPECT_FALSE(WriteFileBytes(bad, {AsBytes("1")}));
    EXPECT_EQ(ReadFileBytes(bad), Bytes{});
    // A lead byte at the very end.
    EXPECT_FALSE(WriteFileBytes(Path("x\xB0"), {AsBytes("1")}));
    // Nothing with a garbled name was left behind.
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(FilesTest, OtherFailures) {
    EXPECT_FALSE(WriteFileBytes("", {AsBytes("1")}));
    EXPECT_EQ(ReadFileBytes(""), Bytes{});
    EXPECT_FALSE(WriteFileBytes(Path("missing/x.txt"), {AsBytes("1")}));
    EXPECT_EQ(ReadFileBytes(Path("missing.txt")), Bytes{});
    EXPECT_FALSE(WriteFileBytes(dir_, {AsBytes("1")}));  // a folder
    EXPECT_EQ(ReadFileBytes(dir_), Bytes{});
    EXPECT_FALSE(WriteFileBytes(std::string("a\0b", 3), {AsBytes("1")}));
}

TEST_F(FilesTest, WritingNeedsTheFileToItself) {
    const std::string path = Path("held.txt");
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes("kept")}));
    {
        testing::HeldFile other(path);
        ASSERT_TRUE(other.held());
        EXPECT_FALSE(WriteFileBytes(path, {AsBytes("lost")}));
        EXPECT_EQ(ReadFileBytes(path), B("kept"));
    }
    EXPECT_TRUE(WriteFileBytes(path, {AsBytes("new")}));
    EXPECT_EQ(ReadFileBytes(path), B("new"));
}

TEST_F(FilesTest, CurrentDirectoryIsGbkWithoutTrailingSeparator) {
    const std::string utf8Dir = dir_ + "/\xE5\xBF\xAB\xE9\x80\x92";  // 快递
    ASSERT_TRUE(std::filesystem::create_directory(Utf8Path(utf8Dir)));
    std::filesystem::current_path(Utf8Path(utf8Dir));
    EXPECT_EQ(CurrentDirectory(), Path("快递"));
    // Relative names open in the current directory.
    ASSERT_TRUE(WriteFileBytes("r.txt", {AsBytes("r")}));
    EXPECT_EQ(ReadFileBytes(CurrentDirectory() + std::string(PathSeparator()) + "r.txt"), B("r"));
    // The root keeps its separator on POSIX ("/"); a Windows drive root
    // loses its backslash like every other folder ("C:").
    const std::filesystem::path root = std::filesystem::current_path().root_path();
    std::filesystem::current_path(root);
#ifdef _WIN32
    EXPECT_EQ(CurrentDirectory(), root.root_name().string());
#else
    EXPECT_EQ(CurrentDirectory(), "/");
#endif
}

TEST_F(FilesTest, AFolderWithoutAGbkNameIsDot) {
    const std::string utf8Dir = dir_ + "/\xF0\x9F\x98\x80";  // an emoji
    ASSERT_TRUE(std::filesystem::create_directory(Utf8Path(utf8Dir)));
    std::filesystem::current_path(Utf8Path(utf8Dir));
    EXPECT_EQ(CurrentDirectory(), ".");
    ASSERT_TRUE(WriteFileBytes(CurrentDirectory() + "/x.txt", {AsBytes("x")}));
    EXPECT_TRUE(Exists(utf8Dir + "/x.txt"));
}

}  // namespace
}  // namespace zelvo
