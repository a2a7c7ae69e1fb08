#pragma once
// How a record card window reaches the windows it opens over itself (find,
// search, export, browser, slideshow) without knowing their classes: the
// registry installs its lookup by object name ("frmTrovaAmici", ...).
#include <QString>

#include <functional>

class QWidget;

namespace FinestreScheda {
using Ricerca = std::function<QWidget*(const QString& nomeOggetto)>;
void Imposta(Ricerca ricerca);
// nullptr when no lookup is installed or no such window exists.
QWidget* Finestra(const QString& nomeOggetto);
} // namespace FinestreScheda
