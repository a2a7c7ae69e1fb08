#pragma once
#include <QString>

// When the program was started as a measured start-up child, runs it and returns true.
bool BenchAvvioFiglio(int argc, char** argv, int* esito);
// Starts the program's start-up children and prints the median figures.
void BenchAvvio(const QString& programma, int ripetizioni);
