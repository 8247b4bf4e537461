// Gallery entry: the layout classes and looks (the tab controls and the tab set among them), the application object and the gallery form as main window.
#include <windows.h>

#include <exception>

#include "CVTabControlStyle.h"
#include "CVTabSetStyle.h"
#include "ComponentClasses.h"
#include "Forms.h"
#include "GalleryForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int exitCode = 0;
    try {
        RegisterComponentClasses();
        RegisterTabControlStyle();
        RegisterTabSetStyle();
        Application->Initialize();
        Application->SetTitle(GalleryCaption);
        TGalleryForm* gallery = nullptr;
        Application->CreateForm(gallery);
        Application->Run();
    } catch (const std::exception& e) {
        Application->HandleException(&e);
        exitCode = 1;
    }
    Application->DestroyComponents();
    return exitCode;
}
