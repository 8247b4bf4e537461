// Hello.exe: the smallest program in the house look, made by following docs/framework.md.
#include <windows.h>

#include "CVHouseLook.h"
#include "HelloForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunHouseLookProgram<THelloForm>("你好"); }
