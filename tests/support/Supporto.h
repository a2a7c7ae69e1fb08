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

// Why permission bits cannot keep this process from writing, or nullptr: root passes them
// all, and on Windows a folder's rights are its ACL, not the bits a test can take away.
const char* PermessiSenzaEffetto();
