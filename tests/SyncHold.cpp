// Preloaded into a program under test: its HOLD_SYNC_AT-th fsync of a file
// whose path holds HOLD_SYNC_NAME waits for a signal, after saying so on
// standard error so that the test knows the moment has come. The signal
// then lands between a file's last byte and its taking effect.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <unistd.h>

extern "C" int fsync(int fd)
{
    static int seen = 0;
    const char *name = std::getenv("HOLD_SYNC_NAME");
    char link[64], path[4096] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (name && ::readlink(link, path, sizeof path - 1) > 0 && std::strstr(path, name)
        && ++seen == std::atoi(std::getenv("HOLD_SYNC_AT"))) {
        sigset_t stops, before;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        sigprocmask(SIG_BLOCK, &stops, &before);
        [[maybe_unused]] const ssize_t said = ::write(2, "sync held\n", 10);
        sigsuspend(&before);
        sigprocmask(SIG_SETMASK, &before, nullptr);
    }
    return reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"))(fd);
}
