// Gallery entry: the whole house look (the layout classes, the tab controls and the tab set among them), the
// application object and the gallery form as main window.
#include <windows.h>

#include <exception>

#include "CVHouseLook.h"
#include "Forms.h"
#include "GalleryForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int exitCode = 0;
    try {
        RegisterHouseLook();
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
