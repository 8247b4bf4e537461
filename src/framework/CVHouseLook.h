#pragma once
// The whole house look in one call, for a program's start-up before its first form: the classes every layout may
// name and every control family that has a look (the tab and page controls, the tab set, the progress bar, the input
// controls). A program that counts bytes calls RegisterComponentClasses() and the registrations of the families it
// shows instead: a family it does not register shows as the plain control, without a word.

#include <exception>

#include "Forms.h"

void RegisterHouseLook();

// The body of WinMain for a program without units of its own to start: the house look, the application titled
// Title, a TMainForm as main window, the message loop; the windows are gone when it returns. Its result is the exit
// code: 0, or 1 when the main window could not be built (the failure is reported first).
template <class TMainForm>
int RunHouseLookProgram(const char* Title)
{
    int exitCode = 0;
    try {
        RegisterHouseLook();
        Application->Initialize();
        Application->SetTitle(Title);
        TMainForm* form = nullptr;
        Application->CreateForm(form);
        Application->Run();
    } catch (const std::exception& e) {
        Application->HandleException(&e);
        exitCode = 1;
    }
    Application->DestroyComponents();
    return exitCode;
}
