#include "store/Like1252.h"

#include <sqlite3.h>

#include <vector>

namespace {

inline unsigned char Minuscola(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// One pattern element: a literal byte, any one byte, or any run.
struct Elemento {
    enum Tipo : unsigned char { Byte, Uno, Serie } tipo;
    unsigned char valore;
};

// Linear in text x pattern: after a '%' only the latest one is ever retried, which
// is enough because '_' and literals each consume exactly one byte. A pattern of
// many '%' can therefore not make a search take exponential time.
bool Confronta(const Elemento* m, size_t nm, const unsigned char* t, size_t nt) {
    size_t i = 0, j = 0;
    size_t serie = SIZE_MAX, ripresa = 0;
    while (i < nt) {
        if (j < nm && m[j].tipo == Elemento::Serie) {
            serie = j++;
            ripresa = i;
        } else if (j < nm && (m[j].tipo == Elemento::Uno || m[j].valore == Minuscola(t[i]))) {
            ++i;
            ++j;
        } else if (serie != SIZE_MAX) {
            j = serie + 1;
            i = ++ripresa;
        } else {
            return false;
        }
    }
    while (j < nm && m[j].tipo == Elemento::Serie) ++j;
    return j == nm;
}

void FunzioneLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    int escape = -1;
    if (argc == 3) {
        if (sqlite3_value_type(argv[2]) == SQLITE_NULL) return; // NULL result
        const unsigned char* e = sqlite3_value_text(argv[2]);
        if (!e || sqlite3_value_bytes(argv[2]) != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    const int tipoModello = sqlite3_value_type(argv[0]);
    const int tipoTesto = sqlite3_value_type(argv[1]);
    if (tipoModello == SQLITE_NULL || tipoTesto == SQLITE_NULL) return;
    // As the SQLite of the platform does: a BLOB value never matches.
    if (tipoModello == SQLITE_BLOB || tipoTesto == SQLITE_BLOB) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const int nm = sqlite3_value_bytes(argv[0]);
    if (nm > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
        sqlite3_result_error(ctx, "LIKE or GLOB pattern too complex", -1);
        return;
    }
    const auto* m = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!m || !t) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const int nt = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, Like1252::Confronta(QByteArray::fromRawData(m, nm), QByteArray::fromRawData(t, nt),
                                                escape)
                                ? 1
                                : 0);
}

} // namespace

namespace Like1252 {

bool Confronta(const QByteArray& modello, const QByteArray& testo, int escape) {
    std::vector<Elemento> m;
    m.reserve(static_cast<size_t>(modello.size()));
    for (qsizetype k = 0; k < modello.size(); ++k) {
        const auto c = static_cast<unsigned char>(modello.at(k));
        if (escape >= 0 && c == static_cast<unsigned char>(escape)) {
            if (++k >= modello.size()) return false;
            m.push_back({Elemento::Byte, Minuscola(static_cast<unsigned char>(modello.at(k)))});
        } else if (c == '%') {
            // A run of '%' is one '%'.
            if (m.empty() || m.back().tipo != Elemento::Serie) m.push_back({Elemento::Serie, 0});
        } else if (c == '_') {
            m.push_back({Elemento::Uno, 0});
        } else {
            m.push_back({Elemento::Byte, Minuscola(c)});
        }
    }
    return ::Confronta(m.data(), m.size(), reinterpret_cast<const unsigned char*>(testo.constData()),
                       static_cast<size_t>(testo.size()));
}

int Registra(sqlite3* db) {
    const int opzioni = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int esito = sqlite3_create_function(db, "like", 2, opzioni, nullptr, FunzioneLike, nullptr, nullptr);
    if (esito == SQLITE_OK)
        esito = sqlite3_create_function(db, "like", 3, opzioni, nullptr, FunzioneLike, nullptr, nullptr);
    return esito;
}

} // namespace Like1252
