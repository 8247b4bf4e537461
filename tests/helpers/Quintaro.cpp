// Stand-in for the product: keeps a file open or a library loaded (first argument, if any: a name ending in ".dll"
// is loaded) and waits to be terminated.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1) {
        const size_t n = std::strlen(argv[1]);
        if (n > 4 && lstrcmpiA(argv[1] + n - 4, ".dll") == 0)
            LoadLibraryA(argv[1]);
        else
            CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    Sleep(INFINITE);  // what it holds is let go when it is terminated
    return 0;
}
