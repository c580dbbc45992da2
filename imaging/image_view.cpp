#include "image_view.h"

#include "exception.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

// Round to nearest, halves to even: the placement arithmetic depends on it.
int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// (a * 65536) / b rounded to nearest, with the product in 64 bits.
std::int32_t fixedRatio(std::int64_t a, std::int64_t b)
{
    const long double q = static_cast<long double>(a * 65536) / static_cast<long double>(b);
    return static_cast<std::int32_t>(std::nearbyint(q));
}

// One buffer dimension: grow with slack, keep within the slack, else shrink.
int bufferExtent(int current, int needed)
{
    int result = current;
    if (current < needed)
        result = needed + TCustomPaintBox32::BufferOversize;
    else if (needed < current - TCustomPaintBox32::BufferOversize)
        result = needed;
    return result <= 0 ? 1 : result;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomPaintBox32

TCustomPaintBox32::TCustomPaintBox32(QWidget* parent)
    : QWidget(parent), FBuffer(std::make_unique<TBitmap32>())
{
    // The buffer's own changes never need to notify anyone.
    FBuffer->BeginUpdate();
    // The buffer covers the whole client area: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(192, 192);
}

TCustomPaintBox32::~TCustomPaintBox32()
{
    FBuffer->EndUpdate();
}

void TCustomPaintBox32::Invalidate()
{
    FBufferValid = false;
    update();
}

void TCustomPaintBox32::ResizeBuffer()
{
    const int w = bufferExtent(FBuffer->Width(), width());
    const int h = bufferExtent(FBuffer->Height(), height());
    if (w == FBuffer->Width() && h == FBuffer->Height())
        return;
    TLockGuard guard(*FBuffer);
    FBuffer->SetSize(w, h);
    FBufferValid = false;
}

void TCustomPaintBox32::PrepareBuffer()
{
    ResizeBuffer();
    if (FBufferValid)
        return;
    DoPrepareBuffer();
    DoPaintBuffer();
    FBufferValid = true;
}

void TCustomPaintBox32::paintEvent(QPaintEvent*)
{
    PrepareBuffer();
    QPainter painter(this);
    {
        TLockGuard guard(*FBuffer);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), *FBuffer->Handle(), QRect(0, 0, width(), height()));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (OnGDIOverlay)
        OnGDIOverlay(*this, painter);
}

void TCustomPaintBox32::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FBufferValid = false;
}

void TCustomPaintBox32::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    FBufferValid = false;
}

// ---------------------------------------------------------------------------
// Stages and layers

TPaintStage& TPaintStages::Add()
{
    FItems.emplace_back();
    return FItems.back();
}

void TPaintStages::Delete(int i)
{
    FItems.erase(FItems.begin() + i);
}

void TLayerCollection::Paint(TBitmap32& Buffer, std::uint32_t Mask) const
{
    for (const auto& layer : FItems)
        if ((layer->LayerOptions & Mask) == Mask)
            layer->Paint(Buffer);
}

// ---------------------------------------------------------------------------
// TCustomImage32

TCustomImage32::TCustomImage32(QWidget* parent)
    : TCustomPaintBox32(parent), FBitmap(std::make_unique<TBitmap32>())
{
    FBitmap->OnChange = [this](TThreadPersistent&) { BitmapChanged(); };
    FBitmap->OnResize = [this](TThreadPersistent&) { BitmapResized(); };
    InitDefaultStages();
}

TCustomImage32::~TCustomImage32()
{
    FBitmap->OnChange = nullptr;
    FBitmap->OnResize = nullptr;
}

void TCustomImage32::InitDefaultStages()
{
    struct Row {
        int stage;
        bool runTime;
        std::uint32_t parameter;
    };
    static constexpr Row kDefaults[] = {
        {PST_CLEAR_BACKGND, true, 0},
        {PST_CONTROL_FRAME, false, 0},
        {PST_DRAW_BITMAP, true, 0},
        {PST_BITMAP_FRAME, false, 0},
        {PST_DRAW_LAYERS, true, LOB_VISIBLE},
    };
    for (const Row& row : kDefaults) {
        TPaintStage& stage = FPaintStages.Add();
        stage.DsgnTime = true;
        stage.RunTime = row.runTime;
        stage.Stage = row.stage;
        stage.Parameter = row.parameter;
    }
}

void TCustomImage32::SetBitmap(const TBitmap32* Source)
{
    InvalidateCache();
    FBitmap->Assign(Source);
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign value)
{
    InvalidateCache();
    FBitmapAlign = value;
    Changed();
}

void TCustomImage32::SetScaleMode(TScaleMode value)
{
    if (value == FScaleMode)
        return;
    InvalidateCache();
    FScaleMode = value;
    Changed();
}

void TCustomImage32::SetScale(float value)
{
    if (value < 0.001f)
        value = 0.001f;
    if (value == FScale)
        return;
    InvalidateCache();
    FScale = value;
    Changed();
}

void TCustomImage32::SetOffsetHorz(float value)
{
    if (value == FOffsetHorz)
        return;
    InvalidateCache();
    FOffsetHorz = value;
    Changed();
}

void TCustomImage32::SetOffsetVert(float value)
{
    if (value == FOffsetVert)
        return;
    InvalidateCache();
    FOffsetVert = value;
    Changed();
}

TColor TCustomImage32::Color() const
{
    if (FColor)
        return *FColor;
    const QColor c = palette().color(QPalette::Window);
    return (c.blue() << 16) | (c.green() << 8) | c.red();
}

void TCustomImage32::SetColor(TColor value)
{
    FColor = value;
    Invalidate();
}

TViewLook TCustomImage32::Look() const
{
    return {width(), height(), BackgroundColor32(), FBitmapAlign};
}

TColor32 TCustomImage32::BackgroundColor32() const
{
    return Color32(Color());
}

QSize TCustomImage32::GetBitmapSize() const
{
    const int cw = width();
    const int ch = height();
    if (FBitmap->Empty() || cw == 0 || ch == 0)
        return QSize(0, 0);
    const int bw = FBitmap->Width();
    const int bh = FBitmap->Height();
    int w = 0;
    int h = 0;
    switch (FScaleMode) {
    case smNormal:
        w = bw;
        h = bh;
        break;
    case smStretch:
        w = cw;
        h = ch;
        break;
    case smScale:
        w = roundHalfEven(static_cast<double>(bw) * FScale);
        h = roundHalfEven(static_cast<double>(bh) * FScale);
        break;
    case smResize: {
        // The ratios are 32-bit floats; a tie goes to the first branch.
        const float sx = static_cast<float>(cw) / static_cast<float>(bw);
        const float sy = static_cast<float>(ch) / static_cast<float>(bh);
        if (sx >= sy) {
            w = roundHalfEven(static_cast<double>(bw) * sy);
            h = ch;
        } else {
            w = cw;
            h = roundHalfEven(static_cast<double>(bh) * sx);
        }
        break;
    }
    }
    return QSize(w > 0 ? w : 0, h > 0 ? h : 0);
}

TRect TCustomImage32::GetBitmapRect() const
{
    if (FBitmap->Empty())
        return TRect{};
    const QSize size = GetBitmapSize();
    TRect r = Rect(0, 0, size.width(), size.height());
    int dx = 0;
    int dy = 0;
    switch (FBitmapAlign) {
    case baTopLeft:
    case baTile:
        break;
    case baCenter:
        dx = (width() - size.width()) / 2;
        dy = (height() - size.height()) / 2;
        break;
    case baCustom:
        dx = roundHalfEven(FOffsetHorz);
        dy = roundHalfEven(FOffsetVert);
        break;
    }
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
    return r;
}

void TCustomImage32::ComputeMapping(const TRect& r)
{
    // A non-empty bitmap placed into an empty rectangle (a 1 x 1000 photo in
    // the 151 x 201 view) keeps the identity: never divide by a zero width.
    if (FBitmap->Empty() || r.Width() <= 0 || r.Height() <= 0) {
        FMapping = TImageMapping{};
        return;
    }
    const int bw = FBitmap->Width();
    const int bh = FBitmap->Height();
    FMapping.ScaleX = fixedRatio(r.Width(), bw);
    FMapping.ScaleY = fixedRatio(r.Height(), bh);
    FMapping.ShiftX = r.Left;
    FMapping.ShiftY = r.Top;
    FMapping.RevScaleX = fixedRatio(bw, r.Width());
    FMapping.RevScaleY = fixedRatio(bh, r.Height());
}

void TCustomImage32::UpdateCache()
{
    if (FCacheValid)
        return;
    FCachedBitmapRect = GetBitmapRect();
    ComputeMapping(FCachedBitmapRect);
    FCacheValid = true;
}

void TCustomImage32::Changed()
{
    if (FUpdateCount != 0)
        return;
    FCacheValid = false;
    Invalidate();
    if (OnChange)
        OnChange(*this);
}

void TCustomImage32::EndUpdate()
{
    if (FUpdateCount <= 0)
        throw Exception("Unpaired EndUpdate call");
    --FUpdateCount;
}

void TCustomImage32::Invalidate()
{
    TCustomPaintBox32::Invalidate();
}

void TCustomImage32::BitmapChanged()
{
    Changed();
}

void TCustomImage32::BitmapResized()
{
    InvalidateCache();
    Invalidate();
}

void TCustomImage32::resizeEvent(QResizeEvent* event)
{
    InvalidateCache();
    TCustomPaintBox32::resizeEvent(event);
}

void TCustomImage32::Loaded()
{
    FBufferValid = false;
    if (OnInitStages)
        OnInitStages(*this);
}

void TCustomImage32::DoPrepareBuffer()
{
    UpdateCache();
}

void TCustomImage32::DoPaintBuffer()
{
    const bool designing = IsDesigning();
    for (int i = 0; i < FPaintStages.Count(); ++i) {
        const TPaintStage& stage = FPaintStages[i];
        if (designing ? stage.DsgnTime : stage.RunTime)
            ExecStage(Buffer(), i);
    }
}

void TCustomImage32::PaintTo(TBitmap32& Dest, const TRect& Rect)
{
    FCachedBitmapRect = Rect;
    ComputeMapping(Rect);
    FCacheValid = true;
    FPaintToMode = true;
    try {
        for (int i = 0; i < FPaintStages.Count(); ++i)
            if (FPaintStages[i].RunTime)
                ExecStage(Dest, i);
    } catch (...) {
        FPaintToMode = false;
        FCacheValid = false;
        throw;
    }
    FPaintToMode = false;
    FCacheValid = false;
}

void TCustomImage32::ExecStage(TBitmap32& Dest, int StageNum)
{
    switch (FPaintStages[StageNum].Stage) {
    case PST_CUSTOM: ExecCustom(Dest, StageNum); break;
    case PST_CLEAR_BUFFER: ExecClearBuffer(Dest, StageNum); break;
    case PST_CLEAR_BACKGND: ExecClearBackground(Dest, StageNum); break;
    case PST_DRAW_BITMAP: ExecDrawBitmap(Dest, StageNum); break;
    case PST_DRAW_LAYERS: ExecDrawLayers(Dest, StageNum); break;
    case PST_CONTROL_FRAME: ExecControlFrame(Dest, StageNum); break;
    case PST_BITMAP_FRAME: ExecBitmapFrame(Dest, StageNum); break;
    default: break;
    }
}

void TCustomImage32::ExecClearBackground(TBitmap32& Dest, int)
{
    PaintViewBackground(*FBitmap, Look(), FCachedBitmapRect, Dest);
}

void TCustomImage32::ExecClearBuffer(TBitmap32& Dest, int)
{
    Dest.Clear(BackgroundColor32());
}

void TCustomImage32::ExecDrawBitmap(TBitmap32& Dest, int)
{
    const TRect& r = FCachedBitmapRect;
    if (FBitmap->Empty() || r.IsEmpty())
        return;
    TLockGuard guard(*FBitmap);
    if (FBitmapAlign != baTile) {
        PaintViewPhoto(*FBitmap, FBitmap->StretchFilter(), r, Dest);
        return;
    }
    // Tiles at every multiple of the rectangle's size that starts within Dest.
    const int tw = r.Width();
    const int th = r.Height();
    int x0 = r.Left % tw;
    if (x0 > 0)
        x0 -= tw;
    int y0 = r.Top % th;
    if (y0 > 0)
        y0 -= th;
    for (int y = y0; y < Dest.Height(); y += th)
        for (int x = x0; x < Dest.Width(); x += tw)
            FBitmap->DrawTo(Dest, Rect(x, y, x + tw, y + th));
}

void TCustomImage32::ExecDrawLayers(TBitmap32& Dest, int StageNum)
{
    FLayers.Paint(Dest, FPaintStages[StageNum].Parameter);
}

namespace {
// A dotted rectangle outline, every other pixel, clipped to the bitmap.
void dottedFrame(TBitmap32& dest, const TRect& r, TColor32 color)
{
    if (r.IsEmpty())
        return;
    const TRect clip = dest.ClipRect();
    auto plot = [&](int x, int y) {
        if (x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom
            && ((x + y) & 1) == 0)
            dest.SetPixel(x, y, color);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        plot(x, r.Top);
        plot(x, r.Bottom - 1);
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        plot(r.Left, y);
        plot(r.Right - 1, y);
    }
    dest.Changed();
}
}  // namespace

void TCustomImage32::ExecControlFrame(TBitmap32& Dest, int)
{
    dottedFrame(Dest, Rect(0, 0, width(), height()), clBlack32);
}

void TCustomImage32::ExecBitmapFrame(TBitmap32& Dest, int)
{
    dottedFrame(Dest, FCachedBitmapRect, clBlack32);
}

void TCustomImage32::ExecCustom(TBitmap32& Dest, int StageNum)
{
    if (OnPaintStage)
        OnPaintStage(*this, Dest, StageNum);
}
