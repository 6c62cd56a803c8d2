#include "runtime/files.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvo {
namespace {

// Each test works in a fresh folder under the system's temporary folder (an
// ASCII path, so it is the same in GBK and UTF-8) and goes back afterwards.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelvo_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous_ = cwd;
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previous_.c_str()), 0);
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    static bool Exists(const std::string& utf8Path) {
        struct stat info {};
        return ::stat(utf8Path.c_str(), &info) == 0;
    }

    std::string dir_, previous_;
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
    std::string command = "test -z \"$(ls -A '" + dir_ + "')\"";
    EXPECT_EQ(std::system(command.c_str()), 0);
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
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_FALSE(WriteFileBytes(path, {AsBytes("lost")}));
    EXPECT_EQ(ReadFileBytes(path), B("kept"));
    ::close(fd);
    EXPECT_TRUE(WriteFileBytes(path, {AsBytes("new")}));
    EXPECT_EQ(ReadFileBytes(path), B("new"));
}

TEST_F(FilesTest, CurrentDirectoryIsGbkWithoutTrailingSeparator) {
    const std::string utf8Dir = dir_ + "/\xE5\xBF\xAB\xE9\x80\x92";  // 快递
    ASSERT_EQ(::mkdir(utf8Dir.c_str(), 0755), 0);
    ASSERT_EQ(::chdir(utf8Dir.c_str()), 0);
    EXPECT_EQ(CurrentDirectory(), dir_ + "/快递");
    // Relative names open in the current directory.
    ASSERT_TRUE(WriteFileBytes("r.txt", {AsBytes("r")}));
    EXPECT_EQ(ReadFileBytes(CurrentDirectory() + std::string(PathSeparator()) + "r.txt"), B("r"));
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_EQ(CurrentDirectory(), "/");
}

TEST_F(FilesTest, AFolderWithoutAGbkNameIsDot) {
    const std::string utf8Dir = dir_ + "/\xF0\x9F\x98\x80";  // an emoji
    ASSERT_EQ(::mkdir(utf8Dir.c_str(), 0755), 0);
    ASSERT_EQ(::chdir(utf8Dir.c_str()), 0);
    EXPECT_EQ(CurrentDirectory(), ".");
    ASSERT_TRUE(WriteFileBytes(CurrentDirectory() + "/x.txt", {AsBytes("x")}));
    EXPECT_TRUE(Exists(utf8Dir + "/x.txt"));
}

TEST_F(FilesTest, EnterProgramFolderGoesToTheExecutablesFolder) {
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    std::string folder(exe, static_cast<std::size_t>(n));
    folder.resize(folder.rfind('/'));
    ASSERT_EQ(::chdir(dir_.c_str()), 0);
    EnterProgramFolder("ignored");
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(cwd), folder);
}

}  // namespace
}  // namespace zelvo
