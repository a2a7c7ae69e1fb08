#include "doubles/Doppi.h"

#include <utility>

Risposta FintoMessaggi::Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo, QObject*) {
    Mostrati.append({tipo, caption, testo});
    if (tipo != TipoMessaggio::Domanda && tipo != TipoMessaggio::DomandaConIcona) return Risposta::OK;
    return m_risposte.isEmpty() ? Risposta::Si : m_risposte.takeFirst();
}

QString FintoDialoghi::ApriFile(const QString& titolo, const QString& filtro, QObject*) {
    ++Aperti;
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::SalvaFile(const QString& titolo, const QString& filtro, QObject*) {
    ++Aperti;
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::ScegliFile(const QString& titolo, const QString& filtro, const QString& iniziale,
                                  QObject*) {
    ++Aperti;
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    UltimoIniziale = iniziale;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::ScegliCartella(const QString& titolo, QObject*) {
    ++Aperti;
    UltimoTitolo = titolo;
    UltimoFiltro.clear();
    return std::exchange(ProssimoPercorso, QString());
}
