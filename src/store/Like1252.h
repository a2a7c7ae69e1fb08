#pragma once
// LIKE over the archive's Windows-1252 bytes. SQLite's own LIKE reads text as
// UTF-8, so an accented letter (one byte here) would match any other one and a
// byte of 0xC0 or more would swallow the bytes after it. This one compares byte by
// byte: '%' any run of characters, '_' exactly one, letters A to Z without regard
// to case, every other byte exactly.
#include <QByteArray>

struct sqlite3;

namespace Like1252 {

// Whether the text matches the pattern. escape < 0: no escape character; an
// escape character makes the next pattern byte literal (one at the end matches nothing).
bool Confronta(const QByteArray& modello, const QByteArray& testo, int escape = -1);

// Installs like(pattern, text) and like(pattern, text, escape) on the connection.
// Returns SQLite's result code.
int Registra(sqlite3* db);

} // namespace Like1252
