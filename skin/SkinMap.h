#pragma once

#include <QRect>

// Where each piece lies in the skin picture: x, y, width, height and, for a row of pieces, the
// step from one to the next. tools/make_skin.py reads this table to draw the picture.
struct SkinPiece {
    int x, y, width, height, step;

    QRect Rect(int index = 0) const { return {x + step * index, y, width, height}; }
};

inline constexpr SkinPiece kSkinTile{150, 0, 40, 40, 0};
inline constexpr SkinPiece kSkinPanel{190, 0, 54, 35, 0};
// Button faces: normal, pressed, lit, disabled.
inline constexpr SkinPiece kSkinSmallFace{0, 0, 30, 19, 30};
inline constexpr SkinPiece kSkinLargeFace{0, 20, 50, 20, 50};
// The digits 0 to 9, the level bar's colours (0 unlit) and the review modes' marks.
inline constexpr SkinPiece kSkinDigit{90, 0, 5, 9, 5};
inline constexpr SkinPiece kSkinBarColour{90, 10, 3, 2, 4};
inline constexpr SkinPiece kSkinModeMark{110, 9, 5, 5, 6};
