#pragma once
#include <QString>

// When the program was started as the measured splash child, runs it and returns true.
bool BenchSplashFiglio(int argc, char** argv, int* esito);
// The copyright splash: CPU while the launcher sits idle with the splash hidden,
// and one tick while it is shown, each against its floor in the same run.
void BenchSplash(const QString& programma);
