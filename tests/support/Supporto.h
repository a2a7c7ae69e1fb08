#pragma once
// Helpers shared by the test programs.
#include <QString>

#include <functional>

// The message of the archive error that f raises, or "<nessun errore>".
QString MessaggioDi(const std::function<void()>& f);
