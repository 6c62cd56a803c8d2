#pragma once

// CPU time the whole process has used so far (user and system, every thread),
// in milliseconds: per-lookup cost that a pool's dispatch pace does not hide.
#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace zelvo::bench {

inline double ProcessCpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
#endif
}

}  // namespace zelvo::bench
