// The tests' main in the Windows build. The process ends with
// TerminateProcess once every test has run: a worker or fetch thread that a
// test leaves behind may still be inside WinINet or the heap, and ending the
// ordinary way (ExitProcess) kills it there and then waits for the locks it
// held, which hangs under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
