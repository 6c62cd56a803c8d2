// The built program as a child process: it starts, shows its main window
// and ends with exit code 0 when that window is closed, on the offscreen
// platform and on a real X server (Xvfb) whose "window manager" is this test.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

struct Child {
    pid_t pid = -1;
};

// The environment of this process with the given variables replaced.
std::vector<std::string> Environment(const std::vector<std::string>& overrides) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string key = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& o : overrides) replaced |= o.substr(0, o.find('=')) == key;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::string& stdoutFile = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stdoutFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// The exit code, or nothing when the child did not end in time (it is then killed).
std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (WIFEXITED(status)) return WEXITSTATUS(status);
            return 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return std::nullopt;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ProgramEnvironmentLeakOptions() {
    return std::string("LSAN_OPTIONS=suppressions=") + ZELVO_LSAN_SUPPRESSIONS;
}

TEST(ProgramTest, ShowsTheMainWindowAndEndsWithCodeZeroWhenItIsClosed) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zelvo_program_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string picture = (dir / "main.png").string();
    const std::string out = (dir / "stdout.txt").string();
    // The screenshot tool starts the program as zelvo does, then closes its
    // main window through the window's own close event.
    const pid_t pid = Spawn({ZELVO_SCREENSHOT, picture},
                            Environment({"QT_QPA_PLATFORM=offscreen",
                                         ProgramEnvironmentLeakOptions()}),
                            out);
    ASSERT_GT(pid, 0);
    const std::optional<int> code = WaitFor(pid, 120s);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(ReadAll(out), picture + "\n");
    const std::string png = ReadAll(picture);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    std::filesystem::remove_all(dir);
}

// ---- a real X server ----------------------------------------------------------------

std::optional<std::string> FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = dir + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::string TextProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                         xcb_atom_t type) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr);
    std::string text;
    if (reply) {
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    return text;
}

// A top-level window whose UTF-8 title begins with prefix; its title in *title.
std::optional<xcb_window_t> FindWindow(xcb_connection_t* c, xcb_window_t root,
                                       const std::string& prefix, std::string* title) {
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (!tree) return std::nullopt;
    std::optional<xcb_window_t> found;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        const std::string name = TextProperty(c, children[i], netName, utf8);
        if (name.compare(0, prefix.size(), prefix) == 0) {
            found = children[i];
            *title = name;
        }
    }
    std::free(tree);
    return found;
}

TEST(ProgramTest, OnAnXServerTheMainWindowClosesLikeUnderAWindowManager) {
    const std::optional<std::string> xvfb = FindOnPath("Xvfb");
    if (!xvfb) GTEST_SKIP() << "no Xvfb";
    // Xvfb picks a free display and writes its number to the pipe.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string fd = std::to_string(pipeFds[1]);
    std::vector<std::string> xArgs = {*xvfb, "-displayfd", fd, "-screen", "0", "1280x800x24",
                                      "-nolisten", "tcp"};
    std::vector<char*> args;
    for (std::string& a : xArgs) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t server = -1;
    ASSERT_EQ(posix_spawn(&server, args[0], &actions, nullptr, args.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string number;
    char ch = 0;
    while (read(pipeFds[0], &ch, 1) == 1 && ch != '\n') number += ch;
    close(pipeFds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    const std::string display = ":" + number;

    const pid_t program =
        Spawn({ZELVO_PROGRAM}, Environment({"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
                                            ProgramEnvironmentLeakOptions()}));
    ASSERT_GT(program, 0);
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;

    // The title as set by the created event: the product, a blank, the contact line.
    const std::string product = reinterpret_cast<const char*>(u8"Zelvo快递单号生成器V4.30版 ");
    std::string title;
    std::optional<xcb_window_t> window;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!window && std::chrono::steady_clock::now() < deadline) {
        window = FindWindow(c, root, product, &title);
        if (!window) std::this_thread::sleep_for(50ms);
    }
    std::optional<int> code;
    if (window) {
        EXPECT_GT(title.size(), product.size());
        EXPECT_NE(title.find("zelvo.example"), std::string::npos) << title;
        // What a window manager sends when the user closes the window.
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = *window;
        close.type = Atom(c, "WM_PROTOCOLS");
        close.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, *window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
        xcb_flush(c);
        code = WaitFor(program, 60s);
    } else {
        kill(program, SIGKILL);
        waitpid(program, nullptr, 0);
    }
    xcb_disconnect(c);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    ASSERT_TRUE(window.has_value()) << "no main window appeared";
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0);
}

}  // namespace
