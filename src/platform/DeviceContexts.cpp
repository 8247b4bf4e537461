#include "DeviceContexts.h"

TGdiObject::~TGdiObject()
{
    if (FObject) DeleteObject(FObject);
}

HGDIOBJ TGdiObject::Release()
{
    HGDIOBJ object = FObject;
    FObject = nullptr;
    return object;
}

TMemoryDC::TMemoryDC(HDC Reference, HBITMAP Bitmap)
    : FDC(CreateCompatibleDC(Reference)), FBitmap(Bitmap), FOld(SelectObject(FDC, Bitmap))
{
}

TMemoryDC::~TMemoryDC()
{
    SelectObject(FDC, FOld);
    DeleteDC(FDC);  // before the bitmap goes with FBitmap
}
