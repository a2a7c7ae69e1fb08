#pragma once
// Windows-1252 conversion at the archive boundary. Inside the program text is
// QString; archive cells and the password file hold Windows-1252 bytes.
#include <QByteArray>
#include <QString>

namespace Win1252 {

// Every byte maps to one character; the five unassigned bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same value, so any byte round-trips.
QString ATesto(const QByteArray& byte);

// Characters that cannot be stored become '?'. Callers check with Rappresentabile first.
QByteArray DaTesto(const QString& testo);

// Whether the character (or every character of the text) can be stored.
bool Rappresentabile(QChar c);
bool Rappresentabile(const QString& testo);

} // namespace Win1252
