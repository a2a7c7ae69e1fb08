#include "store/TArchivio.h"

#include "platform/Piattaforma.h"
#include "store/TScheda.h"

TArchivio::TArchivio(const TCategoria& categoria) : m_categoria(categoria) {}

QString TArchivio::Percorso() const {
    return Piattaforma::PercorsoProgramma(QString::fromUtf8(m_categoria.FileArchivio));
}

bool TArchivio::ApriArchivio(const QByteArray& query) {
    const QString percorso = Percorso();
    m_db.reset();
    m_db = std::make_unique<TSQLiteDatabase>(percorso);
    if (m_db->HasTable(Tabella())) {
        if (!query.isEmpty()) {
            m_tabella.reset();
            m_tabella = m_db->Query(query);
        }
        return true;
    }
    try {
        m_db->Execute(StatementoCreaTabella(Tabella()));
    } catch (const ESQLiteException&) {
        // Another copy of the program on the same folder may have created it a moment ago.
        if (!m_db->HasTable(Tabella()))
            throw;
    }
    return false;
}

TSQLiteTable* TArchivio::EseguiQuery(const QByteArray& sql) {
    // A window whose last opening failed holds no connection: open afresh.
    if (!m_db) ApriArchivio();
    m_tabella.reset();
    m_tabella = m_db->Query(sql);
    return m_tabella.get();
}

void TArchivio::OttimizzaArchivio() {
    const Risposta r = Piattaforma::Messaggi().Mostra(
        TipoMessaggio::Domanda, QStringLiteral("Conferma ottimizzazione archivio"),
        QString::fromUtf8("Questa funzione provvederà a rimuovere lo spazio inutilizzato dall'archivio corrente per "
                          "ottimizzare le sue dimensioni.\r\n\r\nSi consiglia di effettuare una copia di sicurezza "
                          "dell'archivio prima di procedere.\r\n\r\nSi vuole ottimizzare l'archivio corrente?"));
    if (r != Risposta::Si) return;
    {
        CursoreOccupato cursore;
        if (!m_db) ApriArchivio();
        m_db->Execute("VACUUM;");
    }
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"),
                                   QStringLiteral("Ottimizzazione dell'archivio completata con successo."));
}

namespace Statementi {

QByteArray PrimaScheda(const QByteArray& t) { return "SELECT * FROM " + t + " LIMIT 1 OFFSET 0"; }

QByteArray SchedaPrecedente(const QByteArray& t, qint64 id) {
    return "SELECT * FROM " + t + " WHERE ID <= " + QByteArray::number(id) + " ORDER BY ID DESC LIMIT 1 OFFSET 1";
}

QByteArray SchedaSuccessiva(const QByteArray& t, qint64 id) {
    return "SELECT * FROM " + t + " WHERE ID > " + QByteArray::number(id) + " ORDER BY ID LIMIT 1";
}

QByteArray UltimaScheda(const QByteArray& t) {
    return "SELECT * FROM " + t + " WHERE ID = (SELECT MAX(ID) FROM " + t + ")";
}

QByteArray SchedaPerNumero(const QByteArray& t, qint64 id) {
    return "SELECT * FROM " + t + " WHERE ID=" + QByteArray::number(id);
}

QByteArray ColonneElenco() {
    QByteArray colonne = "ID";
    for (const TCampo& c : CampiTesto) colonne += QByteArray(",") + c.Colonna;
    return colonne;
}

} // namespace Statementi
