// Hello.exe: the smallest program in the house look, made by following docs/framework.md.
#include <windows.h>

#include <exception>

#include "CVHouseLook.h"
#include "Forms.h"
#include "HelloForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int exitCode = 0;
    try {
        RegisterHouseLook();
        Application->Initialize();
        Application->SetTitle("你好");
        THelloForm* form = nullptr;
        Application->CreateForm(form);
        Application->Run();
    } catch (const std::exception& e) {
        Application->HandleException(&e);
        exitCode = 1;
    }
    Application->DestroyComponents();
    return exitCode;
}
