#pragma once
#include <QString>

// When the program was started as the measured export child, runs it and returns true.
bool BenchEsportaFiglio(int argc, char** argv, int* esito);
// Builds the archives, runs the export child on each and prints its figures.
void BenchEsporta(const QString& programma);
