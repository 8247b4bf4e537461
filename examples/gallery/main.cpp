// Gallery entry: the whole house look (the tab controls and the tab set among it), the gallery form as main window.
#include <windows.h>

#include "CVHouseLook.h"
#include "GalleryForm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunHouseLookProgram<TGalleryForm>(GalleryCaption); }
