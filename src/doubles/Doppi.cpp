#include "doubles/Doppi.h"

#include <utility>

Risposta FintoMessaggi::Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo, QObject*) {
    Mostrati.append({tipo, caption, testo});
    if (tipo != TipoMessaggio::Domanda) return Risposta::OK;
    return m_risposte.isEmpty() ? Risposta::Si : m_risposte.takeFirst();
}

QString FintoDialoghi::ApriFile(const QString& titolo, const QString& filtro, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::SalvaFile(const QString& titolo, const QString& filtro, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::ScegliCartella(const QString& titolo, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro.clear();
    return std::exchange(ProssimoPercorso, QString());
}
