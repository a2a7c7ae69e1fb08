// The byte-wise LIKE of the find windows against two references: a plain matcher
// written from the rule ('%' any run, '_' one byte, A to Z without regard to case,
// every other byte exactly, an escape byte making the next one literal), and, for
// ASCII texts, SQLite's own LIKE, which follows the same rule there.
#include "Fuzz.h"

#include "store/Like1252.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <vector>

namespace {

char Minuscola(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Matches by dynamic programming over the pattern's tokens.
bool Riferimento(const QByteArray& modello, const QByteArray& testo, int escape)
{
    struct Segno {
        enum { Byte, Uno, Molti } tipo;
        char c;
    };
    std::vector<Segno> segni;
    for (qsizetype i = 0; i < modello.size(); ++i) {
        const char c = modello[i];
        if (escape >= 0 && uchar(c) == escape) {
            if (++i == modello.size())
                return false; // an escape with nothing after it matches nothing
            segni.push_back({Segno::Byte, modello[i]});
        } else if (c == '%') {
            segni.push_back({Segno::Molti, 0});
        } else if (c == '_') {
            segni.push_back({Segno::Uno, 0});
        } else {
            segni.push_back({Segno::Byte, c});
        }
    }
    const size_t n = size_t(testo.size());
    std::vector<char> riga(n + 1, 0), prossima(n + 1, 0);
    riga[0] = 1; // empty pattern prefix matches empty text prefix
    for (const Segno& s : segni) {
        std::fill(prossima.begin(), prossima.end(), 0);
        for (size_t j = 0; j <= n; ++j) {
            if (s.tipo == Segno::Molti) {
                prossima[j] = riga[j] || (j > 0 && prossima[j - 1]);
            } else if (j > 0 && riga[j - 1]) {
                const char t = testo[qsizetype(j - 1)];
                prossima[j] = s.tipo == Segno::Uno || Minuscola(t) == Minuscola(s.c);
            }
        }
        riga.swap(prossima);
    }
    return riga[n];
}

bool Ascii(const QByteArray& b)
{
    for (char c : b)
        if (uchar(c) == 0 || uchar(c) >= 0x80)
            return false;
    return true;
}

bool SQLite(sqlite3* db, const QByteArray& modello, const QByteArray& testo, int escape)
{
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, escape >= 0 ? "SELECT ?2 LIKE ?1 ESCAPE ?3" : "SELECT ?2 LIKE ?1", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, modello.constData(), int(modello.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, testo.constData(), int(testo.size()), SQLITE_TRANSIENT);
    const char e = char(escape);
    if (escape >= 0)
        sqlite3_bind_text(st, 3, &e, 1, SQLITE_TRANSIENT);
    const bool esito = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) == 1;
    sqlite3_finalize(st);
    return esito;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        return d;
    }();
    FuzzedDataProvider fdp(dati, n);
    const int escape = fdp.ConsumeBool() ? int(fdp.ConsumeIntegral<uint8_t>()) : -1;
    const std::string m = fdp.ConsumeRandomLengthString(64);
    const std::string t = fdp.ConsumeRemainingBytesAsString();
    const QByteArray modello(m.data(), qsizetype(m.size())), testo(t.data(), qsizetype(t.size()));

    const bool esito = Like1252::Confronta(modello, testo, escape);
    VERIFICA(esito == Riferimento(modello, testo, escape));
    if (Ascii(modello) && Ascii(testo) && (escape < 0 || (escape > 0 && escape < 0x80)))
        VERIFICA(esito == SQLite(db, modello, testo, escape));
    return 0;
}
