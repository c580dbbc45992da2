#pragma once

#include <memory>

class TBitmap32;

/// A photo made ready for the face models, once for all of them: besides
/// its pixels, copies halved again and again (each pixel the mean of four),
/// from which every model's crop samples at about its own resolution. Refers
/// to the bitmap, which must outlive it and stay unchanged.
class TFacePhoto {
public:
    explicit TFacePhoto(const TBitmap32& Photo);
    ~TFacePhoto();

    const TBitmap32& Bitmap() const { return FBitmap; }
    int Width() const;
    int Height() const;
    bool Empty() const;

    struct TLevels;
    const TLevels& Levels() const { return *FLevels; }

private:
    const TBitmap32& FBitmap;
    std::unique_ptr<TLevels> FLevels;
};
