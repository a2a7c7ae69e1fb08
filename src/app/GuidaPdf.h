#pragma once
// Guida.pdf, written by the program itself: the help topics as chapters,
// illustrated with pictures of the real windows, made on a throw-away program
// folder with a few sample cards and the desktop seams doubled.
#include <QString>

struct TGuida;

namespace GuidaPdf {
// Writes the guide to the file; 0 when written, 1 otherwise.
int Esegui(const QString& file);
} // namespace GuidaPdf
