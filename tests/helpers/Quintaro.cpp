// Stand-in for the product: keeps a file open (first argument, if any) and waits to be terminated.
#include <windows.h>

int main(int argc, char** argv)
{
    HANDLE held = INVALID_HANDLE_VALUE;
    if (argc > 1)
        held = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    Sleep(INFINITE);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return 0;
}
