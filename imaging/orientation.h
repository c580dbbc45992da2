#pragma once

class TBitmap32;

/// How a camera stored a photo relative to how it is meant to stand, with the
/// numbering of the EXIF orientation tag: the name says which side of the
/// upright picture holds the stored first row, then which holds the stored
/// first column. TopLeft is a picture stored upright.
enum class TOrientation {
    TopLeft = 1,       ///< upright
    TopRight = 2,      ///< mirrored left to right
    BottomRight = 3,   ///< upside down
    BottomLeft = 4,    ///< mirrored top to bottom
    LeftTop = 5,       ///< mirrored across the main diagonal
    RightTop = 6,      ///< stands upright once turned 90 degrees clockwise
    RightBottom = 7,   ///< mirrored across the other diagonal
    LeftBottom = 8,    ///< stands upright once turned 90 degrees counter-clockwise
};

/// True for the four orientations that swap width and height.
bool SwapsSides(TOrientation Orientation);

/// Target becomes Source as it is meant to stand: the same pixels mirrored
/// and turned so that an image stored with Orientation comes out upright.
/// Target's size is Source's, with the sides swapped where SwapsSides says.
/// Only the pixels are set; Target's other properties stay. Source and
/// Target must be different bitmaps.
void TurnUpright(const TBitmap32& Source, TOrientation Orientation, TBitmap32& Target);
