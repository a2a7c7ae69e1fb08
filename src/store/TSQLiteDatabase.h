#pragma once
// The database access layer: the only code of the program that calls SQLite.
// Statement text and text cells are 8-bit strings (QByteArray) passed without
// conversion; only the file name is converted to UTF-8.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

struct sqlite3;

class ESQLiteException : public std::runtime_error {
public:
    // codice: SQLite's extended result code when SQLite reported one, otherwise 0.
    // file: the archive the connection was on, when known.
    explicit ESQLiteException(const QString& messaggio, int codice = 0, const QString& file = QString());
    QString Messaggio() const { return m_messaggio; }
    int Codice() const { return m_codice; }
    QString File() const { return m_file; }

private:
    QString m_messaggio;
    int m_codice;
    QString m_file;
};

class TSQLiteTable {
public:
    enum Tipo { Intero = 1, Reale = 2, Testo = 3, Blob = 4, Nullo = 5 };

    uint32_t Count() const;
    bool Eof() const;
    bool Next();
    bool First();
    bool Last();
    bool GoToRow(int64_t indice);
    int ColumnCount() const;
    int ColumnIndex(const QByteArray& nome) const;
    bool ColumnIsNull(int colonna) const;
    // nullptr when the cell is empty (NULL or zero bytes); owned by the table.
    const QByteArray* ColumnBlob(int colonna) const;
    QByteArray ColumnBlobText(int colonna) const;
    int64_t ColumnInteger(int colonna) const;
    // Text and kind-5 cells (up to the first zero byte); empty for no cell.
    QByteArray ColumnText(int colonna) const;

private:
    friend class TSQLiteDatabase;
    TSQLiteTable() = default;
    using Cella = std::variant<std::monostate, int64_t, double, QByteArray>;
    uint32_t m_righe = 0;
    int m_colonne = 0;
    QList<QByteArray> m_nomi;
    std::vector<Tipo> m_tipi;
    std::vector<Cella> m_celle;
    uint32_t m_corrente = 0;
    const Cella& CellaCorrente(int colonna) const;
};

class TSQLiteDatabase {
public:
    // Opens (creating when missing) the file; raises ESQLiteException on failure.
    explicit TSQLiteDatabase(const QString& file);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    void Execute(const QByteArray& sql);
    // Runs one statement with each '?' bound, in order, to a TEXT value holding the bytes.
    void Execute(const QByteArray& sql, const QList<QByteArray>& testi);
    void ExecuteWithBlob(const QByteArray& sql, const QByteArray& dati);
    std::unique_ptr<TSQLiteTable> Query(const QByteArray& sql);
    std::unique_ptr<TSQLiteTable> Query(const QByteArray& sql, const QList<QByteArray>& testi);
    int64_t LastInsertRowId() const;
    void StartTransaction();
    void Commit();
    // Ends the open transaction without its changes. SQLite may already have ended
    // it itself after an error; the connection's state follows SQLite's either way.
    void Rollback();
    bool InTransaction() const { return m_inTransazione; }
    bool HasTable(const QByteArray& nome);

    // Milliseconds a statement waits for a lock held by another connection.
    static constexpr int AttesaBlocco = 5000;
    // Changes the wait of this connection (tests use a short one).
    void ImpostaAttesa(int millisecondi);

private:
    sqlite3* m_db = nullptr;
    bool m_inTransazione = false;
};
