#include "CVControlStyle.h"

#include <optional>

#include "DeviceContexts.h"

TControlStyle::TControlStyle(TComponent* AOwner, TWinControl* AControl)
    : TComponent(AOwner), FControl(AControl), FBitmap(std::make_unique<TBitmap>()),
      FCanvas(std::make_unique<TCanvas>())
{
}

void TControlStyle::Hook(TWndMethod Replacement, const std::function<void()>& Settle)
{
    FOldWindowProc = FControl->WindowProc;
    FControl->WindowProc = std::move(Replacement);
    if (!Settle) return;
    try {
        Settle();
    } catch (...) {
        // A style that was never built must not stay in the chain.
        FControl->WindowProc = FOldWindowProc;
        throw;
    }
}

void TControlStyle::PaintOver(TMessage& Message, TStockPaint Stock)
{
    FBitmap->SetSize(FControl->Width(), FControl->Height());
    std::optional<TPaintDC> paint;
    if (Stock == spBeforeAndAfterCompose) {
        paint.emplace(FControl->Handle());
        FOldWindowProc(Message);
    }
    // Composed before BeginPaint where it comes first: a look that invalidates the whole control while composing
    // has that taken by the BeginPaint, so the copy is never clipped to a part.
    if (Compose(FBitmap->Canvas())) {
        if (!paint) paint.emplace(FControl->Handle());
        TCanvasAttachment attached(*FCanvas, paint->Handle());
        FOldWindowProc(Message);
        FCanvas->Draw(0, 0, *FBitmap);
    } else {
        FOldWindowProc(Message);
    }
    Message.Result = 1;
}

std::unique_ptr<TBitmap> TControlStyle::LoadBitmap(const char* ResourceName)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), ResourceName);
    return bitmap;
}

void TControlStyle::DrawStretched(TCanvas& Canvas, const RECT& Rect, const TBitmap* Bitmap)
{
    TCanvasLock lock(Canvas);
    if (Bitmap && !Bitmap->Empty()) Canvas.StretchDraw(Rect, *Bitmap);
}

void TControlStyle::ClipToScreen(TCanvas& Canvas)
{
    Canvas.SetClipRect(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}
