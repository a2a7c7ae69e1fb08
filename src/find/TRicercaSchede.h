#pragma once
// The archive side of the quick find and the advanced search windows: each
// window's own connection and result table, the two searches and the lookup of
// a listed card. The search keys are bound as statement parameters, so a typed
// double quote is just a character; '%' and '_' stay wildcards. The lists read
// a card's number and the five fields of its line, never the photos.
#include "store/TArchivio.h"
#include "store/TCategoria.h"

#include <QStringList>

#include <array>
#include <memory>
#include <optional>

// One criterion of the quick find: what the drop-down list shows, the text it is
// compared with, and the column searched.
struct TCriterio {
    const char* Voce;
    const char* Confronto;
    const char* Colonna;
};
extern const std::array<TCriterio, 10> Criteri;

// The nine boxes of the advanced search are the first nine text columns, in order.
inline constexpr int NumeroCaselleRicerca = 9;

class TRicercaSchede {
public:
    explicit TRicercaSchede(const TCategoria& categoria);
    const TCategoria& Categoria() const { return m_archivio.Categoria(); }

    // A fresh connection (table created when missing) with the archive's first card
    // as the result table. Errors are not caught.
    void ApriPrimaScheda();

    // Quick find: the cards whose column named by the criterion contains the trimmed
    // key. An unknown criterion lists nothing. Returns the result lines in result
    // order. Errors are not caught; after one the window holds no result table.
    QStringList CercaPerCriterio(const QString& criterio, const QString& chiave);
    // Advanced search: every box's trimmed text contained in its column.
    QStringList CercaAvanzata(const std::array<QString, NumeroCaselleRicerca>& caselle);

    // The number of the first result row whose line equals the given one (both
    // trimmed); none when no row gives it.
    std::optional<qint64> NumeroPerRiga(const QString& riga) const;

    TSQLiteTable* Risultato() const { return m_risultato.get(); }

    // The statements, for a table (exposed for the tests and the benchmark).
    static QByteArray StatementoCriterio(const QByteArray& tabella, const char* colonna);
    static QByteArray StatementoAvanzato(const QByteArray& tabella);
    static QByteArray StatementoPrimaScheda(const QByteArray& tabella);
    static QByteArray Modello(const QString& chiave); // "%" + trimmed key + "%", Windows-1252

private:
    QStringList Cerca(const QByteArray& sql, const QList<QByteArray>& parametri);

    TArchivio m_archivio;
    std::unique_ptr<TSQLiteTable> m_risultato;
};
