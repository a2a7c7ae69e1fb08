#pragma once
#include <QByteArray>

// Before the application exists: an offscreen screen of 1920 x 1080 unless the
// run has a platform of its own.
void BenchMostraSchermo();
// Stepping through 12 and 24 megapixel photos in the record card window, the
// photo browser and the slideshow, and the memory of a long show.
void BenchMostra();
