// Program entry: the units' start-up, the layout classes, the application object, its title, the confirmation window
// as main window, the message loop; then the window goes and the units shut down in reverse order.
#include <windows.h>

#include <exception>

#include "ComponentClasses.h"
#include "Forms.h"
#include "ProgramUnits.h"
#include "SingleInstance.h"
#include "SystemLibraries.h"
#include "Unit1.h"

#if defined(__GLIBCXX__)
#include <cstdlib>
// GCC's default handler for an uncaught exception prints the demangled type to stderr, which a GUI program has not,
// and brings a demangler and printf of some 80 KB along. This one ends the program the same way without them.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}
#endif

namespace {

const DWORD OtherInstanceWaitMs = 3000;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    // A second start in the session shows the first one's window instead of racing it over the same files. The
    // mutex alone proves nothing (any program can make one of that name): without a first uninstaller's window this
    // one goes on.
    const TSingleInstance instance(L"Quintaro卸载");
    if (!instance.First() && TSingleInstance::FindOther(L"Quintaro卸载", OtherInstanceWaitMs)) return 0;
    TUnitSequence units(ProgramUnits());
    if (!units.Start()) return 1;  // reported, and what had started is shut down again
    int exitCode = 0;
    try {
        RegisterComponentClasses();
        Application->Initialize();
        Application->SetTitle("Quintaro卸载");
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const std::exception& e) {
        // A failure before the loop runs (the window could not be built) ends the program after the report.
        Application->HandleException(&e);
        exitCode = 1;
    }
    Application->DestroyComponents();  // the main window is gone before the units shut down
    units.Finish();
    return exitCode;
}
