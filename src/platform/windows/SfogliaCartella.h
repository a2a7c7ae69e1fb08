#pragma once
// The Windows folder browse dialog (the shell's own), as the associated folder window
// asks for it.
#include <QString>

class QWidget;

// Starts at the desktop with nothing selected; file-system folders only; the resizable
// style without a new-folder button or a path box; centred on the screen. The chosen
// folder's full path, or an empty string when the user cancels.
QString SfogliaCartellaWindows(const QString& istruzione, QWidget* proprietario);
