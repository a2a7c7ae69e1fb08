#pragma once
// The picture-fitting rule shared by every picture box.
#include <QRect>
#include <QSize>

namespace Adattamento {
// The picture keeps its size when it fits the box, otherwise it is scaled down
// with its proportions kept; the result is centred.
// Returns the rectangle inside the box (origin at the box's top-left corner).
QRect Adatta(QSize immagine, QSize box);
// The box in the screen's own pixels: its size times the screen's device pixel
// ratio, rounded down so that a picture decoded for it never spills over the box.
QSize BoxDispositivo(QSize box, double dpr);
} // namespace Adattamento
