#pragma once
// The word-processor document of the office-document engine, apart from the
// automation objects that edit it: its main text as a sequence of elements, the
// ranges kept in step with edits, and the .docx writer over libzip.
//
// A document's main text is a sequence of elements: characters, paragraph marks
// (which carry their paragraph's alignment), inline pictures and tables (a table
// stands between two paragraphs). A range is a span of that sequence, or one cell
// of a table. New content takes the format of what stands just before it.
#include <QByteArray>
#include <QChar>
#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

namespace Motore {

struct WStile {
    QString carattere = QStringLiteral("Times New Roman");
    int dimensione = 12;
    bool grassetto = false;
    bool operator==(const WStile& o) const {
        return carattere == o.carattere && dimensione == o.dimensione && grassetto == o.grassetto;
    }
};

struct WImmagine {
    QByteArray dati;
    QString estensione, tipo; // "jpeg", "image/jpeg"
    int larghezza = 0, altezza = 0;
    QString nome;
};

struct WCella {
    QString testo; // paragraphs separated by "\r"
    WStile stile;
    int allineamento = 0;
};

struct WTabella {
    int righe = 0, colonne = 0;
    std::vector<WCella> celle;
    WCella& Cella(int r, int c) { return celle[size_t(r - 1) * size_t(colonne) + size_t(c - 1)]; }
};

struct WElemento {
    enum Genere : quint8 { Carattere, FineParagrafo, Immagine, Tabella };
    Genere genere = Carattere;
    QChar c;
    int allineamento = 0;
    WStile stile;
    std::shared_ptr<WImmagine> immagine;
    std::shared_ptr<WTabella> tabella;
};

// A span [s, e) of the main text, or one cell (tabella set).
struct WPunto {
    int s = 0, e = 0;
    std::shared_ptr<WTabella> tabella;
    int r = 0, c = 0;
    bool InCella() const { return bool(tabella); }
};

struct WDoc {
    std::vector<WElemento> el;
    std::shared_ptr<WPunto> selezione = std::make_shared<WPunto>();
    std::vector<std::weak_ptr<WPunto>> intervalli; // ranges handed out, kept in step with edits
    bool scritto = false;
    int immagini = 0;

    WDoc() {
        WElemento fine;
        fine.genere = WElemento::FineParagrafo;
        el.push_back(fine);
    }

    std::shared_ptr<WPunto> NuovoIntervallo(const WPunto& p) {
        auto r = std::make_shared<WPunto>(p);
        std::erase_if(intervalli, [](const std::weak_ptr<WPunto>& w) { return w.expired(); });
        intervalli.push_back(r);
        return r;
    }

    template <class F> void PerOgniPunto(F&& f) {
        f(*selezione);
        for (const auto& w : intervalli)
            if (auto p = w.lock()) f(*p);
    }

    // The format new content at pos takes: that of the nearest element before it.
    WStile StileA(int pos) const {
        for (int i = std::min<int>(pos, int(el.size())) - 1; i >= 0; --i)
            if (el[size_t(i)].genere != WElemento::Immagine) return el[size_t(i)].stile;
        return el.empty() ? WStile() : el.front().stile;
    }

    // The paragraph mark that ends the paragraph holding pos (the last one at most).
    int FineDi(int pos) const {
        for (int i = std::max(0, pos); i < int(el.size()); ++i)
            if (el[size_t(i)].genere == WElemento::FineParagrafo) return i;
        return int(el.size()) - 1;
    }

    bool InizioParagrafo(int pos) const {
        if (pos <= 0) return true;
        const auto g = el[size_t(pos - 1)].genere;
        return g == WElemento::FineParagrafo || g == WElemento::Tabella;
    }

    void Inserisci(int pos, const std::vector<WElemento>& nuovi) {
        const int n = int(nuovi.size());
        if (n == 0) return;
        el.insert(el.begin() + pos, nuovi.begin(), nuovi.end());
        PerOgniPunto([&](WPunto& p) {
            if (p.InCella()) return;
            if (p.s > pos) p.s += n;
            if (p.e > pos) p.e += n;
        });
    }

    void Rimuovi(int a, int b) {
        if (b <= a) return;
        el.erase(el.begin() + a, el.begin() + b);
        const auto sposta = [&](int& x) { x = x >= b ? x - (b - a) : std::min(x, a); };
        PerOgniPunto([&](WPunto& p) {
            if (p.InCella()) return;
            sposta(p.s);
            sposta(p.e);
        });
    }

    // Text as elements: line breaks of any kind become paragraph marks that keep
    // the alignment of the paragraph they split.
    std::vector<WElemento> Elementi(const QString& testo, int pos) const {
        std::vector<WElemento> nuovi;
        const WStile stile = StileA(pos);
        const int allineamento = el[size_t(FineDi(pos))].allineamento;
        for (qsizetype i = 0; i < testo.size(); ++i) {
            WElemento e;
            e.stile = stile;
            const QChar ch = testo.at(i);
            if (ch == u'\r' || ch == u'\n') {
                if (ch == u'\r' && i + 1 < testo.size() && testo.at(i + 1) == u'\n') ++i;
                e.genere = WElemento::FineParagrafo;
                e.allineamento = allineamento;
            } else {
                e.c = ch;
            }
            nuovi.push_back(e);
        }
        return nuovi;
    }

    QString Testo(int s, int e) const {
        QString t;
        for (int i = s; i < e && i < int(el.size()); ++i) {
            const WElemento& x = el[size_t(i)];
            if (x.genere == WElemento::Carattere) t += x.c;
            if (x.genere == WElemento::FineParagrafo) t += QLatin1Char('\r');
        }
        return t;
    }
};

// A picture from its own bytes (JPEG, PNG, GIF or BMP); raises for anything else.
std::shared_ptr<WImmagine> LeggiImmagine(const QByteArray& b);
// Writes the document as a new .docx file; raises when it cannot.
void ScriviDocx(const WDoc& d, const QString& file);
// The document's name: its first line of text, in sentence case when written in capitals.
QString NomeDocumento(const WDoc& d);

} // namespace Motore
