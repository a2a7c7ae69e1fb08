#pragma once
#include <QByteArray>

// Before the application exists: an offscreen screen of 1920 x 1080 unless the
// run has a platform of its own.
void BenchMostraSchermo();
// Stepping through 12 and 24 megapixel photos in the record card window, the
// photo browser and the slideshow, and the memory of a long show; the same on
// 3840 x 2160 screens at 100 % and 200 %.
void BenchMostra();
// The process that measures at 200 %, started by BenchMostra.
bool BenchMostraFiglio(int argc, char** argv, int* esito);
