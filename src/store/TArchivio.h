#pragma once
// A window's archive: its path, its connection and its current result table.
#include "store/TCategoria.h"
#include "store/TSQLiteDatabase.h"

#include <memory>

class TArchivio {
public:
    explicit TArchivio(const TCategoria& categoria);
    const TCategoria& Categoria() const { return m_categoria; }
    QString Percorso() const; // program folder + FileArchivio
    QByteArray Tabella() const { return m_categoria.Tabella; }

    // Closes the old connection, opens a new one (creating file and table when
    // missing) and, when the table existed and a query is given, runs it and keeps
    // its result as the current table. Returns false when the table had to be created.
    // Errors are not caught.
    bool ApriArchivio(const QByteArray& query = QByteArray());
    TSQLiteDatabase* Connessione() { return m_db.get(); }
    TSQLiteTable* Risultato() { return m_tabella.get(); }
    void ScartaRisultato() { m_tabella.reset(); }
    TSQLiteTable* EseguiQuery(const QByteArray& sql); // replaces the current table
    // Asks, compacts on the current connection, confirms. Errors are not caught.
    void OttimizzaArchivio();

private:
    const TCategoria& m_categoria;
    std::unique_ptr<TSQLiteDatabase> m_db;
    std::unique_ptr<TSQLiteTable> m_tabella;
};

// The statements of the record card window, for a table name.
namespace Statementi {
QByteArray PrimaScheda(const QByteArray& t);
QByteArray SchedaPrecedente(const QByteArray& t, qint64 id);
QByteArray SchedaSuccessiva(const QByteArray& t, qint64 id);
QByteArray UltimaScheda(const QByteArray& t);
QByteArray SchedaPerNumero(const QByteArray& t, qint64 id);
// "ID,varTitolo,...,varCartellaDesc": what lists and exports read (never Picture).
QByteArray ColonneElenco();
} // namespace Statementi
