#pragma once

#include "color32.h"

class TBitmap32;
struct TFrame;
struct TPersonMaskMap;

/// Puts a plain Colour behind the person of a rendered photo cell. Cell shows
/// Frame of the photo scaled to the cell's size; Mask is the photo's person
/// mask. The mask is carried to the cell's pixels (past its region Beyond,
/// the whole photo's coarser mask, takes over where it is given; otherwise
/// its edge rows and columns continue: the shoulders below it stay the
/// person) and
/// refined on a narrow band along the silhouette with a guided filter steered
/// by the cell's colours. In the band a colour that the old background seen
/// nearby explains far better than the person's own (a flag's field against
/// a dark cap) is background, and the person's opacity only falls outwards,
/// so that no opaque layer is left beyond a clear one; where the pixel is
/// partly the person its own colour is estimated by taking out the old
/// background seen nearby, so that no ring of it is left.
/// Pixels inside the band's inner edge keep their exact values; pixels beyond
/// its outer edge become exactly Colour. An empty mask, cell or frame leaves
/// the cell as it was.
void ReplaceBackground(TBitmap32& Cell, const TFrame& Frame, const TPersonMaskMap& Mask, TColor32 Colour,
                       const TPersonMaskMap* Beyond = nullptr);
