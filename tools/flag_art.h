#pragma once

#include <QImage>
#include <QString>

/// Flags of the language list, 24 x 16 pixels, drawn from a short text of
/// shapes separated by ";", painted in order:
///   field #RRGGBB                  the whole flag in one colour
///   hstripes #c1 #c2 ...           equal horizontal bands, top to bottom
///   vstripes #c1 #c2 ...           equal vertical bands, left to right
///   rect X Y W H #c                a rectangle, in pixels
///   disc CX CY R #c                a filled circle (centre and radius may be halves)
///   diamond CX CY RX RY #c         a filled rhombus
///   bmp BASE64                     a BMP file as it stands (what dump writes
///                                  for a flag it cannot describe)
/// Raises ELangTool (lang_tool.h) for a text it cannot draw.
inline constexpr int kFlagWidth = 24;
inline constexpr int kFlagHeight = 16;

QImage DrawFlag(const QString& description);

/// The shortest description that draws exactly this picture: one colour,
/// equal stripes, or else the picture itself as "bmp BASE64".
QString DescribeFlag(const QImage& flag);
