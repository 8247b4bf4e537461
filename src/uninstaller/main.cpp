// Program entry: the layout classes, the application object, its title, the confirmation window as main window, the
// message loop.
#include <windows.h>

#include <exception>

#include "ComponentClasses.h"
#include "Forms.h"
#include "Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        RegisterComponentClasses();
        Application->Initialize();
        Application->SetTitle("Quintaro卸载");
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const std::exception& e) {
        // A failure before the loop runs (the window could not be built) ends the program after the report.
        Application->HandleException(&e);
        return 1;
    }
    return 0;
}
