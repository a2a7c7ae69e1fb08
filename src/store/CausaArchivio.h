#pragma once
// Italian words for what went wrong in the archive, chosen from SQLite's result code.
#include "store/TSQLiteDatabase.h"

// The cause as the end of a sentence, e.g. "il disco è pieno.".
QString CausaArchivio(const ESQLiteException& e);
// The application's error box text for an archive error: the cause in Italian when
// SQLite named one, then the access layer's own text.
QString TestoErroreArchivio(const ESQLiteException& e);
