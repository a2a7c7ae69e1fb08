#pragma once
// Helpers shared by the test programs.
#include "doubles/Doppi.h"

#include <QString>

#include <functional>

// The message of the archive error that f raises, or "<nessun errore>".
QString MessaggioDi(const std::function<void()>& f);

// Start-up as the program does it, on the doubles and the given program folder:
// the seams installed, every window created, hidden windows never ending the run.
void AvviaProgramma(DoppiPiattaforma& doppi, const QString& cartella);
