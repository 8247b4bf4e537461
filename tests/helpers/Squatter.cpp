// Any program of the user: takes the named mutex given (argument 1), says "ready" on its output and waits to be
// terminated.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2 || !CreateMutexA(nullptr, TRUE, argv[1])) return 1;
    std::puts("ready");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
