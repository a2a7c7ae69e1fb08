#pragma once
// The window registry: every window is created once at start, in a fixed order,
// and reached by its object name ("frmPassword", "frmAvvio", "frmAmici", ...).
#include <QString>
#include <QWidget>

struct TArgomentoGuida;

namespace Registro {
// Creates every window in the start-up order; the first (frmPassword) is the main window.
void CreaFinestre();
void DistruggiFinestre();
QWidget* Finestra(const QString& nomeOggetto); // nullptr when unknown
QWidget* Principale();
// The help window with the topic, modal over the window that asked for it (the
// launcher, a record card window, an export window); returns when it closes.
void MostraGuida(const TArgomentoGuida& argomento, QWidget* apertoDa);
QList<QWidget*> Tutte(); // in creation order
} // namespace Registro
