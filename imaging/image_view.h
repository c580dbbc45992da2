#pragma once

#include "bitmap32.h"
#include "color32.h"
#include "rect.h"
#include "view_paint.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

/// A widget with a back buffer: paint requests run the buffer's preparation
/// only when it is invalid, then copy it 1:1 onto the screen.
class TCustomPaintBox32 : public QWidget {
    Q_OBJECT

public:
    explicit TCustomPaintBox32(QWidget* parent = nullptr);
    ~TCustomPaintBox32() override;

    /// Slack in pixels added whenever the back buffer must grow.
    static constexpr int BufferOversize = 40;

    TBitmap32& Buffer() { return *FBuffer; }
    bool BufferValid() const { return FBufferValid; }

    /// Marks the buffer for repainting and asks the toolkit for a paint.
    virtual void Invalidate();

    /// Sizes the buffer for the client area and, when it is invalid, paints
    /// it; what a paint request does before copying to the screen.
    void PrepareBuffer();

    /// Raised after the buffer was copied to the screen, with a painter on the widget.
    std::function<void(TCustomPaintBox32& Sender, QPainter& Painter)> OnGDIOverlay;

    QSize sizeHint() const override { return QSize(192, 192); }

protected:
    /// Runs before the buffer is painted (the image view updates its placement here).
    virtual void DoPrepareBuffer() {}
    /// Paints the whole buffer.
    virtual void DoPaintBuffer() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

    bool FBufferValid = false;

private:
    void ResizeBuffer();

    std::unique_ptr<TBitmap32> FBuffer;
};

/// Stage kinds of the paint stage list.
enum : int {
    PST_CUSTOM = 1,
    PST_CLEAR_BUFFER = 2,
    PST_CLEAR_BACKGND = 3,
    PST_DRAW_BITMAP = 4,
    PST_DRAW_LAYERS = 5,
    PST_CONTROL_FRAME = 6,
    PST_BITMAP_FRAME = 7,
};

/// Layer flag that the draw-layers stage asks for: visible layers.
inline constexpr std::uint32_t LOB_VISIBLE = 0x80000000u;

struct TPaintStage {
    bool DsgnTime = false;
    bool RunTime = false;
    int Stage = 0;
    std::uint32_t Parameter = 0;
};

/// The ordered list of what painting does.
class TPaintStages {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TPaintStage& operator[](int i) { return FItems.at(static_cast<std::size_t>(i)); }
    const TPaintStage& operator[](int i) const { return FItems.at(static_cast<std::size_t>(i)); }
    TPaintStage& Add();
    void Clear() { FItems.clear(); }
    void Delete(int i);

private:
    std::vector<TPaintStage> FItems;
};

/// A layer drawn over the bitmap by the draw-layers stage.
class TCustomLayer {
public:
    virtual ~TCustomLayer() = default;
    std::uint32_t LayerOptions = LOB_VISIBLE;
    virtual void Paint(TBitmap32& Buffer) = 0;
};

/// The layers of an image view, in drawing order.
class TLayerCollection {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void Add(std::unique_ptr<TCustomLayer> layer) { FItems.push_back(std::move(layer)); }
    void Clear() { FItems.clear(); }
    /// Paints every layer whose options include all bits of Mask.
    void Paint(TBitmap32& Buffer, std::uint32_t Mask) const;

private:
    std::vector<std::unique_ptr<TCustomLayer>> FItems;
};

/// 16.16 fixed-point conversion between control and bitmap coordinates, in
/// the order scale X, scale Y, shift X, shift Y, reverse scale X, reverse scale Y.
struct TImageMapping {
    std::int32_t ScaleX = 65536;
    std::int32_t ScaleY = 65536;
    std::int32_t ShiftX = 0;
    std::int32_t ShiftY = 0;
    std::int32_t RevScaleX = 65536;
    std::int32_t RevScaleY = 65536;
    bool operator==(const TImageMapping&) const = default;
};

/// An image view: shows Bitmap placed by BitmapAlign and ScaleMode, painted by
/// its stage list, and paints the same content into other buffers (PaintTo).
class TCustomImage32 : public TCustomPaintBox32 {
    Q_OBJECT

public:
    explicit TCustomImage32(QWidget* parent = nullptr);
    ~TCustomImage32() override;

    TBitmap32& Bitmap() { return *FBitmap; }
    const TBitmap32& Bitmap() const { return *FBitmap; }
    /// Copies Source into the owned bitmap.
    void SetBitmap(const TBitmap32* Source);

    TBitmapAlign BitmapAlign() const { return FBitmapAlign; }
    void SetBitmapAlign(TBitmapAlign value);
    TScaleMode ScaleMode() const { return FScaleMode; }
    void SetScaleMode(TScaleMode value);
    float Scale() const { return FScale; }
    /// Never below 0.001.
    void SetScale(float value);
    float OffsetHorz() const { return FOffsetHorz; }
    float OffsetVert() const { return FOffsetVert; }
    void SetOffsetHorz(float value);
    void SetOffsetVert(float value);

    /// The background outside the image: the parent's window colour unless set.
    TColor Color() const;
    void SetColor(TColor value);
    /// The view's size, background colour and alignment: what its painting
    /// needs besides the photo (PaintView).
    TViewLook Look() const;

    TPaintStages& PaintStages() { return FPaintStages; }
    TLayerCollection& Layers() { return FLayers; }
    const TImageMapping& Mapping() const { return FMapping; }
    TRect CachedBitmapRect() const { return FCachedBitmapRect; }
    bool CacheValid() const { return FCacheValid; }
    bool PaintToMode() const { return FPaintToMode; }

    /// The bitmap's size on screen; (0, 0) for an empty bitmap or control.
    QSize GetBitmapSize() const;
    /// Where the bitmap is drawn, in control coordinates.
    TRect GetBitmapRect() const;
    /// Recomputes CachedBitmapRect and the mapping unless the cache is valid.
    void UpdateCache();
    void InvalidateCache() { FCacheValid = false; }

    /// Invalidates the control and raises OnChange, unless an update is open.
    virtual void Changed();
    void BeginUpdate() { ++FUpdateCount; }
    /// Throws Exception("Unpaired EndUpdate call") when no update is open.
    void EndUpdate();

    /// Paints the view's content into Rect of Dest through the run-time
    /// stages, scaling with the bitmap's own StretchFilter. The next screen
    /// paint recomputes the placement from the control's size.
    void PaintTo(TBitmap32& Dest, const TRect& Rect);

    /// Called once the form has set the view up: raises OnInitStages.
    void Loaded();

    void Invalidate() override;

    std::function<void(TCustomImage32& Sender)> OnChange;
    std::function<void(TCustomImage32& Sender)> OnInitStages;
    std::function<void(TCustomImage32& Sender, TBitmap32& Dest, int StageNum)> OnPaintStage;

protected:
    void DoPrepareBuffer() override;
    void DoPaintBuffer() override;
    void resizeEvent(QResizeEvent* event) override;

    /// Runs one stage against Dest with the cached placement.
    virtual void ExecStage(TBitmap32& Dest, int StageNum);
    void ExecClearBackground(TBitmap32& Dest, int StageNum);
    void ExecClearBuffer(TBitmap32& Dest, int StageNum);
    void ExecDrawBitmap(TBitmap32& Dest, int StageNum);
    void ExecDrawLayers(TBitmap32& Dest, int StageNum);
    void ExecControlFrame(TBitmap32& Dest, int StageNum);
    void ExecBitmapFrame(TBitmap32& Dest, int StageNum);
    void ExecCustom(TBitmap32& Dest, int StageNum);

    /// True only while the view is being designed; never in this program.
    bool IsDesigning() const { return false; }

private:
    void InitDefaultStages();
    void BitmapChanged();
    void BitmapResized();
    void ComputeMapping(const TRect& r);
    TColor32 BackgroundColor32() const;

    std::unique_ptr<TBitmap32> FBitmap;
    TBitmapAlign FBitmapAlign = baTopLeft;
    TScaleMode FScaleMode = smNormal;
    float FScale = 1.0f;
    float FOffsetHorz = 0.0f;
    float FOffsetVert = 0.0f;
    std::optional<TColor> FColor;
    TRect FCachedBitmapRect;
    bool FCacheValid = false;
    TImageMapping FMapping;
    int FUpdateCount = 0;
    bool FPaintToMode = false;
    TPaintStages FPaintStages;
    TLayerCollection FLayers;
};

/// The image view as the forms place it.
class TImage32 : public TCustomImage32 {
    Q_OBJECT

public:
    using TCustomImage32::TCustomImage32;
};
