#pragma once
// The window operations of the program's flow: modal showing, centring,
// fonts given in pixels, and ending the program.
#include <QString>

class QLineEdit;
class QWidget;

namespace Flusso {
// The maker's addresses (placeholders of the product).
inline constexpr const char* SitoProduttore = "https://www.tegolario.example";
inline constexpr const char* PostaProduttore = "mailto:info@tegolario.example";

// Registers the compiled-in pictures; they live in a static library, which the
// linker would otherwise leave out. Safe to call more than once.
void CaricaRisorse();
// Shows the window modally and returns when it has been hidden or closed.
void MostraModale(QWidget* finestra);
// Places the window in the middle of the screen it is on (or the primary one).
void CentraSulDesktop(QWidget* finestra);
// Makes the window visible and brings it to the front.
void Mostra(QWidget* finestra);
// Ends the program at once: the event loop stops, nothing is asked.
void Termina();
// A window with a fixed dialog border and a silver background.
void FinestraFissa(QWidget* finestra, int larghezza, int altezza);
// A password box: filled circles of the given pixel height, at most 230
// characters, only characters that the password file can hold.
void CasellaPassword(QLineEdit* casella, int pixel);
} // namespace Flusso
