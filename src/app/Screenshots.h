#pragma once
// Pictures of every window, for reviewing the layouts without a desktop.
#include <QString>

namespace Screenshots {
// Creates the windows and saves each one as <cartella>/<objectName>.png. Message
// boxes and file dialogs are answered by doubles; archives go to a temporary folder.
// Returns the program's exit code.
int Esegui(const QString& cartella);
} // namespace Screenshots
