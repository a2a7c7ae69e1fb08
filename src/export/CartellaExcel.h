#pragma once
// The workbook of the office-document engine, apart from the automation objects
// that edit it: sheets of cells with their shared formats, column widths and
// selection, blocks of cells by address, and the .xlsx writer over libxlsxwriter.
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace Motore {

[[noreturn]] void Errore(const QString& testo);

constexpr int UltimaRiga = 1048576;
constexpr int UltimaColonna = 16384;
// Cells changed one by one in a single call; beyond this a range must be whole
// rows or columns.
constexpr qint64 MassimoCelle = 4'000'000;
constexpr double LarghezzaStandard = 8.43;

struct XStile {
    QString formato; // number format code; empty is General
    bool grassetto = false;
    QString carattere;
    double dimensione = 0;
    bool operator==(const XStile& o) const {
        return formato == o.formato && grassetto == o.grassetto && carattere == o.carattere && dimensione == o.dimensione;
    }
};

struct XCella {
    enum Genere : quint8 { Nessuno, Testo, Numero, Logico };
    QString testo;
    double numero = 0;
    Genere genere = Nessuno;
    int stile = 0;
};

struct XColonna {
    int stile = 0;
    double larghezza = -1; // standard
};

struct XCartella;

struct XFoglio {
    QString nome;
    XCartella* cartella = nullptr;
    std::vector<std::vector<XCella>> righe;
    std::map<int, XColonna> colonne;
    int selR1 = 1, selC1 = 1, selR2 = 1, selC2 = 1;

    const XCella* Trova(int r, int c) const {
        if (r < 1 || size_t(r) > righe.size()) return nullptr;
        const auto& riga = righe[size_t(r - 1)];
        return size_t(c) <= riga.size() ? &riga[size_t(c - 1)] : nullptr;
    }
    int StileColonna(int c) const {
        auto it = colonne.find(c);
        return it == colonne.end() ? 0 : it->second.stile;
    }
    XCella& Cella(int r, int c) {
        if (size_t(r) > righe.size()) righe.resize(size_t(r));
        auto& riga = righe[size_t(r - 1)];
        while (riga.size() < size_t(c)) {
            XCella nuova;
            nuova.stile = StileColonna(int(riga.size()) + 1); // a new cell takes its column's format
            riga.push_back(nuova);
        }
        return riga[size_t(c - 1)];
    }
};

struct XCartella {
    QString nome;
    std::vector<std::shared_ptr<XFoglio>> fogli;
    int attivo = 0;
    bool scritta = false;
    std::vector<XStile> stili{XStile()}; // 0: the default

    int Stile(const XStile& s) {
        for (size_t i = 0; i < stili.size(); ++i)
            if (stili[i] == s) return int(i);
        stili.push_back(s);
        return int(stili.size() - 1);
    }
    XFoglio& Attivo() { return *fogli[size_t(attivo)]; }
};

// A block of cells on one sheet; whole columns or rows span the sheet.
struct XIntervallo {
    std::shared_ptr<XFoglio> foglio;
    int r1 = 1, c1 = 1, r2 = 1, c2 = 1;
    bool ColonneIntere() const { return r1 == 1 && r2 == UltimaRiga; }
    bool RigheIntere() const { return c1 == 1 && c2 == UltimaColonna; }
    qint64 Celle() const { return qint64(r2 - r1 + 1) * qint64(c2 - c1 + 1); }
};

// Column number of "A", "AB" ...; -1 beyond the last column.
int Colonna(const QString& lettere);
QString Lettere(int colonna);
// "A1", "$B$2", "A1:J11", "A:Z", "3:5", "C"; false when it is none of them.
bool Indirizzo(const QString& testo, int& r1, int& c1, int& r2, int& c2);
XIntervallo DaIndirizzo(const std::shared_ptr<XFoglio>& foglio, const QString& testo);
XIntervallo Unione(const XIntervallo& a, const XIntervallo& b);

// Visits every cell of a block that a change must touch: each cell of a bounded
// block (made when missing), or only the existing cells of whole rows or columns.
template <class F> void PerOgniCella(const XIntervallo& i, bool crea, F&& f) {
    XFoglio& foglio = *i.foglio;
    if (crea) {
        if (i.Celle() > MassimoCelle) Errore(QStringLiteral("Intervallo troppo grande"));
        for (int r = i.r1; r <= i.r2; ++r)
            for (int c = i.c1; c <= i.c2; ++c) f(foglio.Cella(r, c));
        return;
    }
    const int ultima = std::min<int>(i.r2, int(foglio.righe.size()));
    for (int r = i.r1; r <= ultima; ++r) {
        auto& riga = foglio.righe[size_t(r - 1)];
        const int fine = std::min<int>(i.c2, int(riga.size()));
        for (int c = i.c1; c <= fine; ++c) f(riga[size_t(c - 1)]);
    }
}

// Applies a change of format to a block: whole columns keep it as their own
// format too, so that cells written later take it.
void CambiaStile(const XIntervallo& i, const std::function<void(XStile&)>& cambia);
// Whole columns take the width of their widest text.
void AutoFit(const XIntervallo& i);
// The name when a sheet of the workbook may take it; raises otherwise.
QString NomeFoglioValido(const QString& nome, const XCartella& cartella, const XFoglio* stesso);

// Writes the workbook as a new .xlsx file; raises when it cannot.
void ScriviXlsx(const XCartella& cartella, const QString& file);

} // namespace Motore
