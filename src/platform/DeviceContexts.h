#pragma once
#include <windows.h>

// Scoped GDI handles: each gives back what it took, in reverse order, whatever leaves the scope.
// The one place of this layer that pairs GDI's create/select/attach calls with their undoing.

// Deletes a GDI object (pen, brush, font, bitmap, region) at the end of the scope; null is allowed.
class TGdiObject {
public:
    explicit TGdiObject(HGDIOBJ Object) : FObject(Object) {}
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    ~TGdiObject();
    HGDIOBJ Get() const { return FObject; }
    HGDIOBJ Release();
    // Deletes the object held and holds Object instead.
    void Reset(HGDIOBJ Object = nullptr);

private:
    HGDIOBJ FObject;
};

// Selects an object into a DC and the DC's previous one back.
class TObjectSelection {
public:
    TObjectSelection(HDC DC, HGDIOBJ Object) : FDC(DC), FOld(SelectObject(DC, Object)) {}
    ~TObjectSelection() { SelectObject(FDC, FOld); }
    TObjectSelection(const TObjectSelection&) = delete;
    TObjectSelection& operator=(const TObjectSelection&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// BeginPaint to EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND Wnd) : FWnd(Wnd), FDC(BeginPaint(Wnd, &FPaint)) {}
    ~TPaintDC() { EndPaint(FWnd, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Handle() const { return FDC; }
    // The part of the client area to paint (the update region's bounds).
    const RECT& Area() const { return FPaint.rcPaint; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// A window's client-area DC (GetDC; a null window gives the screen's) or, with WholeWindow, the DC of the whole
// window, frame included (GetWindowDC).
class TWindowDC {
public:
    explicit TWindowDC(HWND Wnd, bool WholeWindow = false)
        : FWnd(Wnd), FDC(WholeWindow ? GetWindowDC(Wnd) : GetDC(Wnd))
    {
    }
    ~TWindowDC()
    {
        if (FDC) ReleaseDC(FWnd, FDC);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// SaveDC to RestoreDC: clip, origin and selected objects come back as they were.
class TSavedDC {
public:
    explicit TSavedDC(HDC DC) : FDC(DC), FState(SaveDC(DC)) {}
    ~TSavedDC() { RestoreDC(FDC, FState); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FState;
};

// A memory DC compatible with Reference (the screen's when null) with Image selected for its lifetime (none when
// null); the image stays the caller's and must outlive the DC. Throws when the system has no DC to give.
class TMemoryDC {
public:
    TMemoryDC(HDC Reference, HBITMAP Image);
    ~TMemoryDC();
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// Lends a DC to a canvas (anything with SetHandle(HDC)) for one scope; detaching gives the DC its own objects back.
template <class TCanvasType>
class TCanvasAttachment {
public:
    TCanvasAttachment(TCanvasType& Canvas, HDC DC) : FCanvas(Canvas) { FCanvas.SetHandle(DC); }
    ~TCanvasAttachment() { FCanvas.SetHandle(nullptr); }
    TCanvasAttachment(const TCanvasAttachment&) = delete;
    TCanvasAttachment& operator=(const TCanvasAttachment&) = delete;

private:
    TCanvasType& FCanvas;
};
