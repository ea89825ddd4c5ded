// Starts on large pages as the program does, then prints its process id, the tunables it runs
// with and its arguments, a line each. Each start, the first and any again, first prints
// "started".

#include "Capture/LargePages.h"

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

int main(int argc, char **argv)
{
    static const char started[] = "started\n";
    if (write(STDOUT_FILENO, started, sizeof started - 1) < 0)
        return 1;
    sw::LargePages::startOnLargePages(argv);
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("%d\n%s\n", int(getpid()), tunables ? tunables : "(unset)");
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", argv[i]);
    return 0;
}
