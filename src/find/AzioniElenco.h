#pragma once
// What the quick find and the advanced search windows do alike over their result
// list: the in-list find, the printout, and opening the chosen card.
#include "platform/Piattaforma.h"

#include <QString>

class ListaRisultati;
class QLabel;
class QWidget;
class TfrmScheda;
class TRicercaSchede;
struct TCategoria;

namespace AzioniElenco {

// Selects the next line holding the key (the plain message when the list is empty).
void TrovaNellaLista(ListaRisultati* lista, const QString& chiave, QString& ultimaChiave);

// The printout of the list as shown, after the window's question; a printing
// failure ends in the error box and leaves the list as it was.
void Stampa(ListaRisultati* lista, const TCategoria& categoria, TipoMessaggio tipoDomanda, const QString& domanda,
            const QString& regola);

// The card of the selected line, found in the window's result table by its line
// and loaded by its number into the card window (none: found, not loaded).
// NonAperta: listed, but no longer in the archive, or the archive cannot be read.
enum class Esito { NessunaRiga, Aperta, NonAperta };
Esito ApriScelta(ListaRisultati* lista, const TRicercaSchede& ricerca, TfrmScheda* scheda);
// The warning for NonAperta.
void AvvisaNonAperta(QWidget* finestra);

// "Totale schede : n", the label keeping its left edge.
void Conteggio(QLabel* etichetta, int n);

} // namespace AzioniElenco
