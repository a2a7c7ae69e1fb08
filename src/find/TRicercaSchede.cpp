#include "find/TRicercaSchede.h"

#include "find/RigaRisultato.h"
#include "store/TScheda.h"
#include "store/Testo.h"
#include "store/Win1252.h"

const std::array<TCriterio, 10> Criteri = {{
    {"Riferimento", "riferimento", "varTitolo"},
    {"Descrizione", "descrizione", "varAutore"},
    {"Ubicazione", "ubicazione", "varAlbum"},
    {"Vani", "vani", "varCategoria"},
    {"Metri quadri", "metri quadri", "varData"},
    {"Prezzo", "prezzo", "varFotocamera"},
    {"Classe energetica", "classe energetica", "varLuogo"},
    {"Condizioni", "condizioni", "varSoggetti"},
    {"Note", "note", "varNote"},
    {"Didascalia", "didascalia", "varDidascalia"},
}};

TRicercaSchede::TRicercaSchede(const TCategoria& categoria) : m_archivio(categoria) {}

namespace {
// What a list needs of each card: its number and the five fields of its line.
const QByteArray ColonneRiga = "ID,varTitolo,varCategoria,varData,varFotocamera,varAutore";
} // namespace

QByteArray TRicercaSchede::StatementoPrimaScheda(const QByteArray& t) {
    return "SELECT " + ColonneRiga + " FROM " + t + " LIMIT 1 OFFSET 0";
}

QByteArray TRicercaSchede::StatementoCriterio(const QByteArray& t, const char* colonna) {
    return "SELECT " + ColonneRiga + " FROM " + t + " WHERE " + colonna + " LIKE ?";
}

QByteArray TRicercaSchede::StatementoAvanzato(const QByteArray& t) {
    QByteArray sql = "SELECT " + ColonneRiga + " FROM " + t + " WHERE ";
    for (int i = 0; i < NumeroCaselleRicerca; ++i)
        sql += QByteArray(i ? " AND " : "") + CampiTesto[i].Colonna + " LIKE ?";
    return sql;
}

QByteArray TRicercaSchede::Modello(const QString& chiave) {
    return '%' + Win1252::DaTesto(Testo::Rifila(chiave)) + '%';
}

void TRicercaSchede::ApriPrimaScheda() {
    if (m_archivio.ApriArchivio()) {
        m_risultato.reset();
        m_risultato = m_archivio.Connessione()->Query(StatementoPrimaScheda(m_archivio.Tabella()));
    }
}

QStringList TRicercaSchede::Cerca(const QByteArray& sql, const QList<QByteArray>& parametri) {
    m_risultato.reset();
    if (!m_archivio.ApriArchivio()) return {}; // the table has just been created: no card
    if (sql.isEmpty()) return {};
    m_risultato = m_archivio.Connessione()->Query(sql, parametri);
    QStringList righe;
    TSQLiteTable& t = *m_risultato;
    if (!t.First()) return righe;
    const RigaRisultato::Colonne colonne = RigaRisultato::Colonne::Di(t);
    righe.reserve(t.Count());
    do
        righe.append(RigaRisultato::DellaRiga(t, colonne));
    while (t.Next() && !t.Eof());
    t.First();
    return righe;
}

QStringList TRicercaSchede::CercaPerCriterio(const QString& criterio, const QString& chiave) {
    const QString confronto = RigaRisultato::MinuscoleAZ(Testo::Rifila(criterio));
    for (const TCriterio& c : Criteri)
        if (confronto == QLatin1String(c.Confronto))
            return Cerca(StatementoCriterio(m_archivio.Tabella(), c.Colonna), {Modello(chiave)});
    return Cerca(QByteArray(), {});
}

QStringList TRicercaSchede::CercaAvanzata(const std::array<QString, NumeroCaselleRicerca>& caselle) {
    QList<QByteArray> parametri;
    for (const QString& c : caselle) parametri.append(Modello(c));
    return Cerca(StatementoAvanzato(m_archivio.Tabella()), parametri);
}

std::optional<qint64> TRicercaSchede::NumeroPerRiga(const QString& riga) const {
    TSQLiteTable* t = m_risultato.get();
    if (!t || !t->First()) return std::nullopt;
    const QString cercata = Testo::Rifila(riga);
    const RigaRisultato::Colonne colonne = RigaRisultato::Colonne::Di(*t);
    const int id = t->ColumnIndex("ID");
    do
        if (Testo::Rifila(RigaRisultato::DellaRiga(*t, colonne)) == cercata) return t->ColumnInteger(id);
    while (t->Next() && !t->Eof());
    return std::nullopt;
}
