#pragma once
// The EXIF orientation of a photo, read from the header libjpeg has saved, and
// the turn that stands the decoded picture upright.
#include <QImage>

struct jpeg_decompress_struct;

namespace Exif {
// Orientation 1..8 from the saved APP1 markers; 1 when absent or unreadable.
int Orientamento(jpeg_decompress_struct* cinfo);
// Orientations 5 to 8 swap width and height.
bool Ruotata(int orientamento);
QImage Raddrizza(QImage img, int orientamento);
} // namespace Exif
