#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QVector>

#include <cstdint>
#include <string>

// The skin: one 8-bit picture ("backimg.bmp") whose regions every painter copies, its colour
// table (the palette) and the caption font, shared by the whole program.

// The picture in the file's bytes as an indexed image, or a null image when it cannot serve as
// the skin: not 8 bits, more than 256 colours, smaller than the skin's map (244 x 40), a negative
// width, more than 4096 either way, or fewer bytes than its header, colour table and rows need.
// Rows stored top-down come out the right way up; pixel values beyond the colour table show
// black.
QImage DecodeBackgroundImage(const QByteArray& file);
// How many bytes of the file the picture takes, from its first 54 bytes; -1 when it cannot serve.
std::int64_t BackgroundImageBytes(const QByteArray& headers);

// Loads the picture from the program folder. A missing file ends the program after its message;
// a picture that cannot serve leaves the program without a skin and returns null.
const QVector<QRgb>* LoadBackgroundImage(const std::string& programFolder);
void FreeBackgroundImage();

// The picture ready to paint from, or null without a skin.
const QPixmap* GetBackBitmap();
const QFont* GetSkinFont();

class QPainter;
class QPoint;
class QRect;

// Copies a region of the picture to the point; false without a skin.
bool CopyFromBackground(QPainter& painter, const QPoint& to, const QRect& from);
