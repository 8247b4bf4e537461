#include "DeviceContexts.h"

#include "Classes.h"

TGdiObject::~TGdiObject() { Reset(); }

HGDIOBJ TGdiObject::Release()
{
    HGDIOBJ object = FObject;
    FObject = nullptr;
    return object;
}

void TGdiObject::Reset(HGDIOBJ Object)
{
    if (FObject && FObject != Object) DeleteObject(FObject);
    FObject = Object;
}

TMemoryDC::TMemoryDC(HDC Reference, HBITMAP Image) : FDC(CreateCompatibleDC(Reference)), FOld(nullptr)
{
    if (!FDC) throw Exception("Out of system resources");
    if (Image) FOld = SelectObject(FDC, Image);
}

TMemoryDC::~TMemoryDC()
{
    if (FOld) SelectObject(FDC, FOld);
    DeleteDC(FDC);
}
