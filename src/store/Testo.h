#pragma once
// Small text helpers shared by the whole program.
#include <QByteArray>
#include <QString>

namespace Testo {

// Removes every leading and trailing character whose code is 32 or less.
QString Rifila(const QString& s);
QByteArray Rifila(const QByteArray& s);

// Text of the application's error box: a full stop is appended when the last
// character sorts after "." (a letter, a digit, ":" or "?", but not ".", "!" or ")").
QString TestoErrore(const QString& messaggio);

} // namespace Testo
