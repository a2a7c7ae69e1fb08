#include "store/TSQLiteDatabase.h"

#include "store/Like1252.h"
#include "store/Win1252.h"

#include <sqlite3.h>

#include <QRandomGenerator>

#include <chrono>
#include <cmath>
#include <thread>
#include <limits>

namespace {

// Statement texts and SQLite's messages quote the statement's own bytes, so both
// are read as Windows-1252 like every other text of the archive.
QString TestoSQLite(const char* s) { return Win1252::ATesto(QByteArray(s ? s : "")); }

// Finalises the statement on every path out of an operation.
struct Statemento {
    sqlite3_stmt* s = nullptr;
    ~Statemento() {
        if (s) sqlite3_finalize(s);
    }
};

const char* const FineFile = "Table is at End of File";

} // namespace

ESQLiteException::ESQLiteException(const QString& messaggio, int codice, const QString& file, int errnoSistema)
    : std::runtime_error(messaggio.toStdString()), m_messaggio(messaggio), m_codice(codice), m_file(file),
      m_errno(errnoSistema) {}

// ---- TSQLiteDatabase ----

namespace {

// The error code worth handing on: a real failure, not a row or done report.
int CodiceErrore(sqlite3* db) {
    const int c = sqlite3_errcode(db);
    if (c == SQLITE_OK || c == SQLITE_ROW || c == SQLITE_DONE) return 0;
    return sqlite3_extended_errcode(db);
}

[[noreturn]] void ErroreStatemento(sqlite3* db, const char* s, const QByteArray& sql) {
    QString messaggio = QString::fromLatin1(s);
    if (sqlite3_errcode(db) != SQLITE_OK)
        messaggio += QStringLiteral(" \"%1\" : %2").arg(Win1252::ATesto(sql), TestoSQLite(sqlite3_errmsg(db)));
    const int codice = CodiceErrore(db);
    // A disk that is full and a file at its largest size both read as an I/O error;
    // the archive file keeps the system's reason of its last failed write.
    int errnoSistema = 0;
    if ((codice & 0xFF) == SQLITE_IOERR) {
        sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &errnoSistema);
        if (errnoSistema == 0) errnoSistema = sqlite3_system_errno(db);
    }
    const char* file = sqlite3_db_filename(db, "main");
    throw ESQLiteException(messaggio, codice, file ? QString::fromUtf8(file) : QString(), errnoSistema);
}

void Prepara(sqlite3* db, const QByteArray& sql, Statemento& st, const char* erroreFallito,
             const char* erroreVuoto) {
    // Length -1: up to the terminating zero; only the first statement is compiled.
    const char* coda = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st.s, &coda) != SQLITE_OK)
        ErroreStatemento(db, erroreFallito, sql);
    if (!st.s) ErroreStatemento(db, erroreVuoto, sql);
}

void LegaTesti(sqlite3* db, const QByteArray& sql, Statemento& st, const QList<QByteArray>& testi) {
    if (sqlite3_bind_parameter_count(st.s) != testi.size())
        throw ESQLiteException(QStringLiteral("Error binding text to database \"%1\" : %2 parameters, %3 values")
                                   .arg(Win1252::ATesto(sql), QString::number(sqlite3_bind_parameter_count(st.s)),
                                        QString::number(testi.size())));
    for (int i = 0; i < testi.size(); ++i) {
        // constData() is never null, so an empty value is an empty TEXT, not NULL.
        const QByteArray& t = testi.at(i);
        if (sqlite3_bind_text(st.s, i + 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK)
            ErroreStatemento(db, "Error binding text to database", sql);
    }
}

} // namespace

TSQLiteDatabase::TSQLiteDatabase(const QString& file) {
    m_inTransazione = false;
    const QByteArray nome = file.toUtf8();
    // Every connection stays on the thread that opened it (the photo workers only decode
    // bytes), so SQLite's per-call locking only costs: it was a quarter of reading a
    // 10,000-card grid.
    const int esito =
        sqlite3_open_v2(nome.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (esito != SQLITE_OK) {
        if (!m_db)
            throw ESQLiteException(QStringLiteral("Failed to open database \"%1\" : unknown error").arg(file), esito,
                                   file);
        const QString messaggio =
            QStringLiteral("Failed to open database \"%1\" : %2").arg(file, TestoSQLite(sqlite3_errmsg(m_db)));
        const int codice = sqlite3_extended_errcode(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ESQLiteException(messaggio, codice, file);
    }
    // Another copy of the program on a shared folder may hold a lock for a moment.
    sqlite3_busy_handler(m_db, &TSQLiteDatabase::AttendiBlocco, this);
    // LIKE has to compare the archive's Windows-1252 bytes, not UTF-8 characters.
    if (Like1252::Registra(m_db) != SQLITE_OK) {
        const QString messaggio =
            QStringLiteral("Failed to open database \"%1\" : %2").arg(file, TestoSQLite(sqlite3_errmsg(m_db)));
        const int codice = sqlite3_extended_errcode(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ESQLiteException(messaggio, codice);
    }
    try {
        Execute("PRAGMA SYNCHRONOUS=NORMAL;");
        Execute("PRAGMA temp_store = MEMORY;");
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

TSQLiteDatabase::~TSQLiteDatabase() {
    // A failed statement may already have ended the transaction inside SQLite.
    if (m_inTransazione && m_db && !sqlite3_get_autocommit(m_db)) {
        try {
            Execute("ROLLBACK;");
        } catch (...) {
        }
    }
    if (m_db) sqlite3_close(m_db);
}

// SQLite's own timeout retries at ever longer pauses, 100 ms apart after the first
// third of a second. A copy that keeps saving holds the lock most of the time, so a
// waiting copy that looks in so rarely almost never finds it free and gives up
// although the archive was free for moments all along. Short pauses of uneven
// length find those moments.
int TSQLiteDatabase::AttendiBlocco(void* database, int volte) {
    auto* db = static_cast<TSQLiteDatabase*>(database);
    const qint64 adesso = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    if (volte == 0) db->m_inizioAttesa = adesso;
    if (adesso - db->m_inizioAttesa >= db->m_attesa) return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(200 + QRandomGenerator::global()->bounded(1800)));
    return 1;
}

void TSQLiteDatabase::ImpostaAttesa(int millisecondi) { m_attesa = millisecondi; }

void TSQLiteDatabase::Execute(const QByteArray& sql) { Execute(sql, {}); }

void TSQLiteDatabase::Execute(const QByteArray& sql, const QList<QByteArray>& testi) {
    Statemento st;
    Prepara(m_db, sql, st, "Error executing SQL", "Could not prepare SQL statement");
    if (!testi.isEmpty()) LegaTesti(m_db, sql, st, testi);
    if (sqlite3_step(st.s) != SQLITE_DONE) ErroreStatemento(m_db, "Error executing SQL statement", sql);
}

void TSQLiteDatabase::ExecuteWithBlob(const QByteArray& sql, const QByteArray& dati) {
    // Nothing has run yet, so an earlier statement's error must not be quoted here.
    if (!sql.contains('?')) throw ESQLiteException(QStringLiteral("SQL must include a ? parameter"));
    Statemento st;
    Prepara(m_db, sql, st, "Could not prepare SQL statement", "Could not prepare SQL statement");
    if (dati.isEmpty()) throw ESQLiteException(QStringLiteral("Error getting memory to save blob"));
    // The bytes outlive the statement, which is finalised before returning.
    if (sqlite3_bind_blob64(st.s, 1, dati.constData(), static_cast<sqlite3_uint64>(dati.size()), SQLITE_STATIC) !=
        SQLITE_OK)
        ErroreStatemento(m_db, "Error binding blob to database", sql);
    if (sqlite3_step(st.s) != SQLITE_DONE) ErroreStatemento(m_db, "Error executing SQL statement", sql);
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::Query(const QByteArray& sql) { return Query(sql, {}); }

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::Query(const QByteArray& sql, const QList<QByteArray>& testi) {
    std::unique_ptr<TSQLiteTable> t(new TSQLiteTable);
    Statemento st;
    Prepara(m_db, sql, st, "Error executing SQL", "Could not prepare SQL statement");
    if (!testi.isEmpty()) LegaTesti(m_db, sql, st, testi);

    for (;;) {
        const int esito = sqlite3_step(st.s);
        if (esito == SQLITE_DONE) break;
        if ((esito & 0xFF) == SQLITE_BUSY)
            throw ESQLiteException(QStringLiteral("Could not prepare SQL statement"), sqlite3_extended_errcode(m_db));
        if (esito != SQLITE_ROW) ErroreStatemento(m_db, "Could not retrieve data", sql);

        if (t->m_righe == 0) {
            t->m_colonne = sqlite3_column_count(st.s);
            for (int c = 0; c < t->m_colonne; ++c) {
                const char* nome = sqlite3_column_name(st.s, c);
                t->m_nomi.append(QByteArray(nome ? nome : "").toUpper());
            }
            for (int c = 0; c < t->m_colonne; ++c) {
                TSQLiteTable::Tipo tipo;
                if (const char* dichiarato = sqlite3_column_decltype(st.s, c)) {
                    const QByteArray d(dichiarato);
                    if (d == "INTEGER" || d == "BOOLEAN")
                        tipo = TSQLiteTable::Intero;
                    else if (d == "NUMERIC" || d == "FLOAT" || d == "DOUBLE" || d == "REAL")
                        tipo = TSQLiteTable::Reale;
                    else if (d == "BLOB")
                        tipo = TSQLiteTable::Blob;
                    else
                        tipo = TSQLiteTable::Testo;
                } else {
                    tipo = static_cast<TSQLiteTable::Tipo>(sqlite3_column_type(st.s, c));
                }
                t->m_tipi.push_back(tipo);
            }
        }
        ++t->m_righe;

        for (int c = 0; c < t->m_colonne; ++c) {
            TSQLiteTable::Cella cella;
            if (sqlite3_column_type(st.s, c) != SQLITE_NULL) {
                switch (t->m_tipi[static_cast<size_t>(c)]) {
                case TSQLiteTable::Intero:
                    cella = static_cast<int64_t>(sqlite3_column_int64(st.s, c));
                    break;
                case TSQLiteTable::Reale:
                    cella = sqlite3_column_double(st.s, c);
                    break;
                case TSQLiteTable::Blob: {
                    const void* dati = sqlite3_column_blob(st.s, c);
                    const int n = sqlite3_column_bytes(st.s, c);
                    if (n > 0 && dati) cella = QByteArray(static_cast<const char*>(dati), n);
                    break;
                }
                default: {
                    const unsigned char* testo = sqlite3_column_text(st.s, c);
                    cella = QByteArray(reinterpret_cast<const char*>(testo ? testo : reinterpret_cast<const unsigned char*>("")));
                    break;
                }
                }
            }
            t->m_celle.push_back(std::move(cella));
        }
    }
    t->m_corrente = 0;
    return t;
}

int64_t TSQLiteDatabase::LastInsertRowId() const { return sqlite3_last_insert_rowid(m_db); }

void TSQLiteDatabase::StartTransaction() {
    if (m_inTransazione) throw ESQLiteException(QStringLiteral("Transaction already open"));
    Execute("BEGIN TRANSACTION;");
    m_inTransazione = true;
}

void TSQLiteDatabase::Commit() {
    Execute("COMMIT;");
    m_inTransazione = false;
}

void TSQLiteDatabase::Rollback() {
    m_inTransazione = false;
    if (!sqlite3_get_autocommit(m_db)) Execute("ROLLBACK;");
}

bool TSQLiteDatabase::HasTable(const QByteArray& nome) {
    QByteArray minuscolo = nome;
    for (char& c : minuscolo)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // Doubled quotes keep any name inside its literal.
    minuscolo.replace('\'', "''");
    const auto t = Query("select [sql] from sqlite_master where [type] = 'table' and lower(name) = '" + minuscolo +
                         "' ");
    return t->Count() > 0;
}

// ---- TSQLiteTable ----

uint32_t TSQLiteTable::Count() const { return m_righe; }
bool TSQLiteTable::Eof() const { return m_corrente >= m_righe; }

bool TSQLiteTable::Next() {
    if (Eof()) return false;
    ++m_corrente;
    return true;
}

bool TSQLiteTable::First() {
    if (m_righe == 0) return false;
    m_corrente = 0;
    return true;
}

bool TSQLiteTable::Last() {
    if (m_righe == 0) return false;
    m_corrente = m_righe - 1;
    return true;
}

bool TSQLiteTable::GoToRow(int64_t indice) {
    if (indice < 0 || indice >= static_cast<int64_t>(m_righe)) return false;
    m_corrente = static_cast<uint32_t>(indice);
    return true;
}

int TSQLiteTable::ColumnCount() const { return m_colonne; }

int TSQLiteTable::ColumnIndex(const QByteArray& nome) const {
    if (m_nomi.isEmpty())
        throw ESQLiteException(QStringLiteral("Field ") + Win1252::ATesto(nome) +
                               QStringLiteral(" Not found. Empty dataset"));
    const int i = static_cast<int>(m_nomi.indexOf(nome.toUpper()));
    if (i < 0) throw ESQLiteException(QStringLiteral("Field not found in dataset: ") + Win1252::ATesto(nome));
    return i;
}

const TSQLiteTable::Cella& TSQLiteTable::CellaCorrente(int colonna) const {
    if (Eof()) throw ESQLiteException(QString::fromLatin1(FineFile));
    // Callers pass positions from ColumnIndex; anything else must not read astray.
    if (colonna < 0 || colonna >= m_colonne)
        throw ESQLiteException(QStringLiteral("Column index out of range: %1").arg(colonna));
    return m_celle[static_cast<size_t>(m_corrente) * static_cast<size_t>(m_colonne) + static_cast<size_t>(colonna)];
}

bool TSQLiteTable::ColumnIsNull(int colonna) const {
    return std::holds_alternative<std::monostate>(CellaCorrente(colonna));
}

const QByteArray* TSQLiteTable::ColumnBlob(int colonna) const {
    const Cella& c = CellaCorrente(colonna);
    if (std::holds_alternative<std::monostate>(c)) return nullptr;
    if (m_tipi[static_cast<size_t>(colonna)] != Blob) throw ESQLiteException(QStringLiteral("Not a Blob field"));
    return &std::get<QByteArray>(c);
}

QByteArray TSQLiteTable::ColumnBlobText(int colonna) const {
    const QByteArray* b = ColumnBlob(colonna);
    return b ? *b : QByteArray();
}

int64_t TSQLiteTable::ColumnInteger(int colonna) const {
    const Cella& c = CellaCorrente(colonna);
    if (std::holds_alternative<std::monostate>(c)) return 0;
    const Tipo tipo = m_tipi[static_cast<size_t>(colonna)];
    if (tipo == Intero) return std::get<int64_t>(c);
    if (tipo == Reale) {
        const double d = std::trunc(std::get<double>(c));
        if (std::isnan(d)) return 0;
        if (d >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
        if (d <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
        return static_cast<int64_t>(d);
    }
    throw ESQLiteException(QStringLiteral("Not an integer or numeric field"));
}

QByteArray TSQLiteTable::ColumnText(int colonna) const {
    const Cella& c = CellaCorrente(colonna);
    if (const auto* b = std::get_if<QByteArray>(&c)) return *b;
    if (const auto* i = std::get_if<int64_t>(&c)) return QByteArray::number(static_cast<qlonglong>(*i));
    if (const auto* d = std::get_if<double>(&c)) return QByteArray::number(*d, 'g', 17);
    return QByteArray();
}
