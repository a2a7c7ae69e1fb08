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

// A fresh start for a test's archive: the file removed, or, where the system does not
// remove a file that a window still holds open (Windows), cut to nothing, which SQLite
// takes for a new archive.
void SvuotaArchivio(const QString& file);
// A folder where the archive should be, so that opening it fails; false where a window
// holds the archive open and the system does not remove an open file (Windows).
bool CartellaAlPostoDellArchivio(const QString& file);
#define SALTA_SENZA_CARTELLA_AL_POSTO(file)                                                    \
    do {                                                                                   \
        if (!CartellaAlPostoDellArchivio(file))                                            \
            QSKIP("a window holds the archive open, and Windows does not remove an open file"); \
    } while (false)
