#pragma once

#include <cstdint>

/// One pixel, 0xAARRGGBB: alpha in bits 24..31, red 16..23, green 8..15,
/// blue 0..7. In memory (little-endian) the bytes are blue, green, red, alpha.
using TColor32 = std::uint32_t;

inline constexpr TColor32 clWhite32 = 0xFFFFFFFFu;   ///< opaque white
inline constexpr TColor32 clBlack32 = 0xFF000000u;   ///< opaque black

/// A platform colour: 0x00BBGGRR, or a negative value naming a system colour
/// by its low byte (clSystemColor | index).
using TColor = std::int32_t;

inline constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
inline constexpr TColor clBtnFace = clSystemColor | 15;    ///< the window face colour
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;

/// Converts a platform colour to a TColor32: system colours are looked up
/// first, then red and blue swap places and alpha becomes 255.
TColor32 Color32(TColor color);

/// The 0x00BBGGRR value of a system colour index (the desktop palette when an
/// application object exists, the classic defaults otherwise).
TColor SysColor(int index);

inline constexpr int AlphaComponent(TColor32 c) { return static_cast<int>(c >> 24); }
inline constexpr int RedComponent(TColor32 c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr int GreenComponent(TColor32 c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueComponent(TColor32 c) { return static_cast<int>(c & 0xFF); }

inline constexpr TColor32 Color32(int r, int g, int b, int a = 255)
{
    return (static_cast<TColor32>(a) << 24) | (static_cast<TColor32>(r) << 16)
        | (static_cast<TColor32>(g) << 8) | static_cast<TColor32>(b);
}

/// Filters for scaled drawing. The ordinal is stored and compared: keep the order.
enum TStretchFilter : int {
    sfNearest = 0,
    sfDraft = 1,
    sfLinear = 2,
    sfCosine = 3,
    sfSpline = 4,
    sfLanczos = 5,
    sfMitchell = 6,
};

/// How a bitmap is combined when drawn into another.
enum TDrawMode : int { dmOpaque, dmBlend, dmCustom };

/// Blend flavour for dmBlend.
enum TCombineMode : int { cmBlend, cmMerge };
