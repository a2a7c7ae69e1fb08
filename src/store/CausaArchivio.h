#pragma once
// Italian words for what went wrong in the archive, chosen from SQLite's result code.
#include "store/TSQLiteDatabase.h"

#include <exception>

// The cause as the end of a sentence, e.g. "il disco è pieno.".
QString CausaArchivio(const ESQLiteException& e);
// The application's error box text for an archive error: the cause in Italian when
// SQLite named one, then the access layer's own text.
QString TestoErroreArchivio(const ESQLiteException& e);
// The application's error box text for any error that no handler caught: the
// error's text with the full-stop rule, archive errors with their cause first.
QString TestoErroreApplicazione(std::exception_ptr errore);
