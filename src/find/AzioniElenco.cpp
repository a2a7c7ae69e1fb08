#include "find/AzioniElenco.h"

#include "card/TfrmScheda.h"
#include "find/ListaRisultati.h"
#include "find/RigaRisultato.h"
#include "find/StampaElenco.h"
#include "find/TModelloElenco.h"
#include "find/TRicercaSchede.h"
#include "platform/Stampante.h"
#include "store/Testo.h"

#include <QLabel>

namespace {
const QString ListaVuota = QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");
const QString StampaVuota =
    QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce.");
} // namespace

namespace AzioniElenco {

void TrovaNellaLista(ListaRisultati* lista, const QString& chiave, QString& ultimaChiave) {
    const TModelloElenco* m = lista->Modello();
    if (m->Conteggio() == 0) {
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"), ListaVuota,
                                       lista->window());
        return;
    }
    const int riga = TrovaInLista::Trova([m](int i) { return m->Riga(i); }, m->Conteggio(), lista->Selezionata(),
                                         chiave, ultimaChiave);
    lista->Seleziona(riga);
}

void Stampa(ListaRisultati* lista, const TCategoria& categoria, TipoMessaggio tipoDomanda, const QString& domanda,
            const QString& regola) {
    if (lista->Modello()->Conteggio() == 0) {
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"), StampaVuota,
                                       lista->window());
        return;
    }
    if (Piattaforma::Messaggi().Mostra(tipoDomanda, QStringLiteral("Conferma operazione di stampa"), domanda,
                                       lista->window()) != Risposta::Si)
        return;
    try {
        StampaElenco::Stampa(Piattaforma::Stampante(), lista->Modello()->Righe(),
                             QString::fromUtf8(categoria.EtichettaMinuscola), regola,
                             Piattaforma::Orologio().Adesso());
    } catch (const EStampa& e) {
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                                       Testo::TestoErrore(e.Messaggio()), lista->window());
    }
}

Esito ApriScelta(ListaRisultati* lista, const TRicercaSchede& ricerca, TfrmScheda* scheda) {
    const int scelta = lista->Selezionata();
    if (scelta < 0) return Esito::NessunaRiga;
    std::optional<qint64> numero;
    try {
        numero = ricerca.NumeroPerRiga(lista->Modello()->Riga(scelta));
    } catch (...) {
        return Esito::NessunaRiga; // a double click never reports a reading error
    }
    if (!numero) return Esito::NessunaRiga;
    if (!scheda) return Esito::Aperta;
    return scheda->CaricaSchedaPerNumero(*numero) ? Esito::Aperta : Esito::NonAperta;
}

void AvvisaNonAperta(QWidget* finestra) {
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Avviso, QStringLiteral("Apertura scheda non riuscita"),
                                   QStringLiteral("La scheda scelta non può essere aperta: non è più presente "
                                                  "in archivio oppure l'archivio non è leggibile."),
                                   finestra);
}

void Conteggio(QLabel* etichetta, int n) {
    etichetta->setText(QStringLiteral("Totale schede : ") + QString::number(n));
    const int sinistra = etichetta->x();
    etichetta->adjustSize();
    etichetta->move(sinistra, etichetta->y());
}

} // namespace AzioniElenco
