// Settings.exe: a settings dialog in the house look, made by following docs/framework.md.
#include <windows.h>

#include "CVHouseLook.h"
#include "SettingsForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunHouseLookProgram<TSettingsForm>("设置"); }
