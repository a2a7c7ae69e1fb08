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

using Modello = std::vector<Elemento>;

// The pattern as elements; a run of '%' is one. False for an escape at the end,
// which matches nothing.
bool Analizza(const unsigned char* m, size_t n, int escape, Modello& elementi) {
    elementi.clear();
    elementi.reserve(n);
    for (size_t k = 0; k < n; ++k) {
        const unsigned char c = m[k];
        if (escape >= 0 && c == static_cast<unsigned char>(escape)) {
            if (++k >= n) return false;
            elementi.push_back({Elemento::Byte, Minuscola(m[k])});
        } else if (c == '%') {
            if (elementi.empty() || elementi.back().tipo != Elemento::Serie) elementi.push_back({Elemento::Serie, 0});
        } else if (c == '_') {
            elementi.push_back({Elemento::Uno, 0});
        } else {
            elementi.push_back({Elemento::Byte, Minuscola(c)});
        }
    }
    return true;
}

// A statement compares every row with the same pattern: it is analysed once and
// kept with the statement's argument.
struct ModelloAnalizzato {
    int Escape = -1;
    bool Valido = false;
    Modello Elementi;
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
    const ModelloAnalizzato* analizzato = static_cast<ModelloAnalizzato*>(sqlite3_get_auxdata(ctx, 0));
    ModelloAnalizzato locale;
    if (!analizzato || analizzato->Escape != escape) {
        const auto* m = sqlite3_value_text(argv[0]);
        if (!m) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
        locale.Escape = escape;
        locale.Valido = Analizza(m, static_cast<size_t>(nm), escape, locale.Elementi);
        analizzato = &locale;
        // SQLite may drop the copy at any time; this row uses its own.
        sqlite3_set_auxdata(ctx, 0, new ModelloAnalizzato(locale),
                            [](void* p) { delete static_cast<ModelloAnalizzato*>(p); });
    }
    if (!analizzato->Valido) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // "%" (or "%%") takes any text without reading it.
    if (analizzato->Elementi.size() == 1 && analizzato->Elementi[0].tipo == Elemento::Serie) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    const auto* t = sqlite3_value_text(argv[1]);
    if (!t) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_result_int(ctx, Confronta(analizzato->Elementi.data(), analizzato->Elementi.size(), t,
                                      static_cast<size_t>(sqlite3_value_bytes(argv[1])))
                                ? 1
                                : 0);
}

} // namespace

namespace Like1252 {

bool Confronta(const QByteArray& modello, const QByteArray& testo, int escape) {
    Modello m;
    if (!Analizza(reinterpret_cast<const unsigned char*>(modello.constData()), static_cast<size_t>(modello.size()),
                  escape, m))
        return false;
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
