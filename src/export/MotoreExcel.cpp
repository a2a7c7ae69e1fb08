// The spreadsheet side of the office-document engine: application, workbooks,
// worksheets, ranges (cells, rows, columns, the selection) and their fonts, and
// the .xlsx writer over libxlsxwriter.
#include "export/MotoreInterno.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using namespace Motore;

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

struct XApp {
    std::shared_ptr<TMotoreDocumenti::Servizi> servizi;
    bool visibile = false;
    std::vector<std::shared_ptr<XCartella>> cartelle;
    int attiva = -1;
    int contatore = 0;

    XCartella& Attiva() {
        if (attiva < 0) Errore(QStringLiteral("Nessuna cartella di lavoro aperta"));
        return *cartelle[size_t(attiva)];
    }
};

// A block of cells on one sheet; whole columns or rows span the sheet.
struct XIntervallo {
    std::shared_ptr<XFoglio> foglio;
    int r1 = 1, c1 = 1, r2 = 1, c2 = 1;
    bool ColonneIntere() const { return r1 == 1 && r2 == UltimaRiga; }
    bool RigheIntere() const { return c1 == 1 && c2 == UltimaColonna; }
    qint64 Celle() const { return qint64(r2 - r1 + 1) * qint64(c2 - c1 + 1); }
};

int Colonna(const QString& lettere) {
    int c = 0;
    for (QChar ch : lettere) {
        c = c * 26 + (ch.toUpper().unicode() - u'A' + 1);
        if (c > UltimaColonna) return -1;
    }
    return c;
}

QString Lettere(int colonna) {
    QString l;
    for (int c = colonna; c > 0; c = (c - 1) / 26) l.prepend(QChar(u'A' + (c - 1) % 26));
    return l;
}

// "A1", "$B$2", "A1:J11", "A:Z", "3:5", "C".
bool Indirizzo(const QString& testo, int& r1, int& c1, int& r2, int& c2) {
    static const QRegularExpression cella(QStringLiteral("^\\$?([A-Za-z]{1,3})\\$?([0-9]{1,7})$"));
    static const QRegularExpression colonna(QStringLiteral("^\\$?([A-Za-z]{1,3})$"));
    static const QRegularExpression riga(QStringLiteral("^\\$?([0-9]{1,7})$"));
    const QStringList parti = testo.trimmed().split(QLatin1Char(':'));
    if (parti.isEmpty() || parti.size() > 2) return false;
    int rr[2], cc[2];
    enum { Cella, Col, Riga } genere[2];
    for (int i = 0; i < parti.size(); ++i) {
        QRegularExpressionMatch m;
        if ((m = cella.match(parti[i])).hasMatch()) {
            genere[i] = Cella;
            cc[i] = Colonna(m.captured(1));
            rr[i] = m.captured(2).toInt();
        } else if ((m = colonna.match(parti[i])).hasMatch()) {
            genere[i] = Col;
            cc[i] = Colonna(m.captured(1));
            rr[i] = 0;
        } else if ((m = riga.match(parti[i])).hasMatch()) {
            genere[i] = Riga;
            rr[i] = m.captured(1).toInt();
            cc[i] = 0;
        } else {
            return false;
        }
    }
    if (parti.size() == 1) {
        if (genere[0] == Riga) return false; // a lone number is no reference
        genere[1] = genere[0];
        rr[1] = rr[0];
        cc[1] = cc[0];
    }
    if (genere[0] != genere[1]) return false;
    if (genere[0] == Col) {
        rr[0] = 1;
        rr[1] = UltimaRiga;
    } else if (genere[0] == Riga) {
        cc[0] = 1;
        cc[1] = UltimaColonna;
    }
    for (int i = 0; i < 2; ++i)
        if (rr[i] < 1 || rr[i] > UltimaRiga || cc[i] < 1 || cc[i] > UltimaColonna) return false;
    r1 = std::min(rr[0], rr[1]);
    r2 = std::max(rr[0], rr[1]);
    c1 = std::min(cc[0], cc[1]);
    c2 = std::max(cc[0], cc[1]);
    return true;
}

XIntervallo DaIndirizzo(const std::shared_ptr<XFoglio>& foglio, const QString& testo) {
    XIntervallo i{foglio};
    if (!Indirizzo(testo, i.r1, i.c1, i.r2, i.c2)) Errore(QStringLiteral("Riferimento non valido: %1").arg(testo));
    return i;
}

XIntervallo Unione(const XIntervallo& a, const XIntervallo& b) {
    return {a.foglio, std::min(a.r1, b.r1), std::min(a.c1, b.c1), std::max(a.r2, b.r2), std::max(a.c2, b.c2)};
}

XIntervallo Cella(const std::shared_ptr<XFoglio>& foglio, const TVariante& riga, const TVariante& colonna) {
    const int r = riga.ComeIntero();
    const int c = colonna.TipoValore() == TVariante::Tipo::Stringa ? Colonna(colonna.ComeStringa()) : colonna.ComeIntero();
    if (r < 1 || r > UltimaRiga || c < 1 || c > UltimaColonna) Errore(QStringLiteral("Cella fuori dal foglio"));
    return {foglio, r, c, r, c};
}

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
void CambiaStile(const XIntervallo& i, const std::function<void(XStile&)>& cambia) {
    XCartella& cartella = *i.foglio->cartella;
    QHash<int, int> tradotti;
    int ultimoVecchio = -1, ultimoNuovo = 0; // a block mostly holds one format
    const auto nuovo = [&](int vecchio) {
        if (vecchio == ultimoVecchio) return ultimoNuovo;
        ultimoVecchio = vecchio;
        auto it = tradotti.constFind(vecchio);
        if (it != tradotti.constEnd()) return ultimoNuovo = *it;
        XStile s = cartella.stili[size_t(vecchio)];
        cambia(s);
        const int n = cartella.Stile(s);
        tradotti.insert(vecchio, n);
        return ultimoNuovo = n;
    };
    const bool intere = i.ColonneIntere() || i.RigheIntere();
    if (i.ColonneIntere() && !i.RigheIntere())
        for (int c = i.c1; c <= i.c2; ++c) {
            XColonna& col = i.foglio->colonne[c];
            col.stile = nuovo(col.stile);
        }
    PerOgniCella(i, !intere, [&](XCella& cella) { cella.stile = nuovo(cella.stile); });
}

void ScriviValore(XCella& cella, const XCartella& cartella, const TVariante& v) {
    switch (v.TipoValore()) {
    case TVariante::Tipo::Vuoto:
        cella.genere = XCella::Nessuno;
        cella.testo.clear();
        return;
    case TVariante::Tipo::Intero16:
    case TVariante::Tipo::Intero32:
        cella.genere = XCella::Numero;
        cella.numero = v.ComeIntero();
        cella.testo.clear();
        return;
    case TVariante::Tipo::Booleano:
        cella.genere = XCella::Logico;
        cella.numero = v.ComeBooleano() ? 1 : 0;
        cella.testo.clear();
        return;
    case TVariante::Tipo::Stringa: {
        const QString s = v.ComeStringa();
        if (s.size() > 32767) Errore(QStringLiteral("Testo troppo lungo per una cella"));
        // A General cell reads a plain number as a number; a text cell keeps the text.
        if (cartella.stili[size_t(cella.stile)].formato != QLatin1String("@")) {
            bool ok = false;
            const double n = s.toDouble(&ok);
            if (ok && !s.isEmpty() && s.trimmed() == s && std::isfinite(n)) {
                cella.genere = XCella::Numero;
                cella.numero = n;
                cella.testo.clear();
                return;
            }
        }
        cella.genere = s.isEmpty() ? XCella::Nessuno : XCella::Testo;
        cella.testo = s;
        return;
    }
    case TVariante::Tipo::Matrice:
    case TVariante::Tipo::Oggetto: break;
    }
    Errore(QStringLiteral("Valore non valido per una cella"));
}

// Width in characters of the standard font that AutoFit gives a text.
double LarghezzaTesto(const XCella& cella, const XStile& stile) {
    QString testo;
    if (cella.genere == XCella::Testo)
        testo = cella.testo;
    else if (cella.genere == XCella::Numero)
        testo = QString::number(cella.numero, 'g', 11);
    else if (cella.genere == XCella::Logico)
        testo = cella.numero != 0 ? QStringLiteral("VERO") : QStringLiteral("FALSO");
    // The longest line counts.
    qsizetype piu = 0, corrente = 0;
    for (QChar c : testo) {
        corrente = c == u'\n' ? 0 : corrente + 1;
        piu = std::max(piu, corrente);
    }
    const double larghezza = double(piu);
    if (larghezza == 0) return 0;
    const double scala = (stile.dimensione > 0 ? stile.dimensione / 11.0 : 1.0) * (stile.grassetto ? 1.1 : 1.0);
    return std::min(255.0, larghezza * scala + 1.0);
}

void AutoFit(const XIntervallo& i) {
    if (!i.ColonneIntere()) Errore(QStringLiteral("Impossibile eseguire il metodo AutoFit della classe Range"));
    XFoglio& foglio = *i.foglio;
    const int ultima = std::min<int>(i.c2, UltimaColonna);
    std::map<int, double> larghezze;
    for (const auto& riga : foglio.righe)
        for (int c = i.c1; c <= std::min<int>(ultima, int(riga.size())); ++c) {
            const XCella& cella = riga[size_t(c - 1)];
            const double l = LarghezzaTesto(cella, foglio.cartella->stili[size_t(cella.stile)]);
            if (l > 0) larghezze[c] = std::max(larghezze[c], l);
        }
    for (int c = i.c1; c <= ultima; ++c) {
        auto it = larghezze.find(c);
        if (it != larghezze.end())
            foglio.colonne[c].larghezza = it->second;
        else if (auto col = foglio.colonne.find(c); col != foglio.colonne.end())
            col->second.larghezza = -1; // an empty column goes back to the standard width
    }
}

QString NomeFoglioValido(const QString& nome, const XCartella& cartella, const XFoglio* stesso) {
    if (nome.isEmpty() || nome.size() > 31 || nome.startsWith(QLatin1Char('\'')) || nome.endsWith(QLatin1Char('\'')))
        Errore(QStringLiteral("Nome del foglio non valido: %1").arg(nome));
    for (QChar c : nome)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 32)
            Errore(QStringLiteral("Nome del foglio non valido: %1").arg(nome));
    for (const auto& f : cartella.fogli)
        if (f.get() != stesso && f->nome.compare(nome, Qt::CaseInsensitive) == 0)
            Errore(QStringLiteral("Nome del foglio già in uso: %1").arg(nome));
    return nome;
}

// ---- the .xlsx file ----

QByteArray Utf8(const QString& s) { return s.toUtf8(); }

void ControllaXlsx(lxw_error e, const char* dove) {
    if (e != LXW_NO_ERROR)
        Errore(QStringLiteral("Scrittura del foglio non riuscita (%1): %2")
                   .arg(QLatin1String(dove), QString::fromUtf8(lxw_strerror(e))));
}

void ScriviXlsx(const XCartella& cartella, const QString& file) {
    lxw_workbook* wb = workbook_new(QFile::encodeName(file).constData());
    if (!wb) Errore(QStringLiteral("Impossibile creare il file %1").arg(file));
    bool chiuso = false;
    struct Chiusura {
        lxw_workbook* wb;
        bool& chiuso;
        ~Chiusura() {
            if (!chiuso) workbook_close(wb); // frees it; the half-written file is removed by the caller
        }
    } chiusura{wb, chiuso};

    std::vector<lxw_format*> formati(cartella.stili.size(), nullptr);
    for (size_t i = 1; i < cartella.stili.size(); ++i) {
        const XStile& s = cartella.stili[i];
        lxw_format* f = workbook_add_format(wb);
        if (!s.formato.isEmpty()) format_set_num_format(f, Utf8(s.formato).constData());
        if (s.grassetto) format_set_bold(f);
        if (!s.carattere.isEmpty()) format_set_font_name(f, Utf8(s.carattere).constData());
        if (s.dimensione > 0) format_set_font_size(f, s.dimensione);
        formati[i] = f;
    }

    for (size_t n = 0; n < cartella.fogli.size(); ++n) {
        const XFoglio& foglio = *cartella.fogli[n];
        lxw_worksheet* ws = workbook_add_worksheet(wb, Utf8(foglio.nome).constData());
        if (!ws) Errore(QStringLiteral("Nome del foglio non accettato: %1").arg(foglio.nome));
        for (const auto& [c, col] : foglio.colonne) {
            if (col.stile == 0 && col.larghezza < 0) continue;
            ControllaXlsx(worksheet_set_column(ws, lxw_col_t(c - 1), lxw_col_t(c - 1),
                                               col.larghezza < 0 ? LarghezzaStandard : col.larghezza,
                                               formati[size_t(col.stile)]),
                          "colonne");
        }
        for (size_t r = 0; r < foglio.righe.size(); ++r) {
            const auto& riga = foglio.righe[r];
            for (size_t c = 0; c < riga.size(); ++c) {
                const XCella& cella = riga[c];
                lxw_format* f = formati[size_t(cella.stile)];
                const lxw_row_t rr = lxw_row_t(r);
                const lxw_col_t cc = lxw_col_t(c);
                switch (cella.genere) {
                case XCella::Testo:
                    ControllaXlsx(worksheet_write_string(ws, rr, cc, Utf8(cella.testo).constData(), f), "testo");
                    break;
                case XCella::Numero: ControllaXlsx(worksheet_write_number(ws, rr, cc, cella.numero, f), "numero"); break;
                case XCella::Logico:
                    ControllaXlsx(worksheet_write_boolean(ws, rr, cc, cella.numero != 0, f), "valore logico");
                    break;
                case XCella::Nessuno:
                    if (f) ControllaXlsx(worksheet_write_blank(ws, rr, cc, f), "cella vuota");
                    break;
                }
            }
        }
        worksheet_set_selection(ws, lxw_row_t(foglio.selR1 - 1), lxw_col_t(foglio.selC1 - 1),
                                lxw_row_t(foglio.selR2 - 1), lxw_col_t(foglio.selC2 - 1));
        if (int(n) == cartella.attivo) worksheet_activate(ws);
    }
    chiuso = true;
    ControllaXlsx(workbook_close(wb), "file");
}

// ---- the objects ----

class XOggetto : public IOggettoAutomazione {
public:
    XOggetto(std::shared_ptr<XApp> app, QString percorso) : m_app(std::move(app)), m_percorso(std::move(percorso)) {}
    QString Percorso() const override { return m_percorso; }
    TVariante Leggi(const QString& p, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    void Imposta(const QString& p, const TVariante&, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    TVariante Chiama(const QString& m, const QList<TArgomento>&) override { Sconosciuto(m_percorso, m); }

protected:
    std::shared_ptr<XApp> m_app;
    QString m_percorso;
};

class XRange;
TVariante Intervallo(const std::shared_ptr<XApp>& app, const XIntervallo& i);

class XFont : public XOggetto {
public:
    XFont(std::shared_ptr<XApp> app, XIntervallo i) : XOggetto(std::move(app), QStringLiteral("Font")), m_i(i) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        const XCella* c = m_i.foglio->Trova(m_i.r1, m_i.c1);
        const XStile& s =
            m_i.foglio->cartella->stili[size_t(c ? c->stile : m_i.foglio->StileColonna(m_i.c1))];
        if (Uguale(p, "Bold")) return TVariante::Booleano(s.grassetto);
        if (Uguale(p, "Name")) return TVariante::Stringa(s.carattere.isEmpty() ? QStringLiteral("Calibri") : s.carattere);
        if (Uguale(p, "Size")) return TVariante::Intero32(s.dimensione > 0 ? int(s.dimensione) : 11);
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Bold")) {
            const bool b = v.ComeBooleano();
            CambiaStile(m_i, [b](XStile& s) { s.grassetto = b; });
        } else if (Uguale(p, "Name")) {
            const QString n = v.ComeStringa();
            if (n.isEmpty()) Errore(QStringLiteral("Nome del carattere vuoto"));
            CambiaStile(m_i, [n](XStile& s) { s.carattere = n; });
        } else if (Uguale(p, "Size")) {
            const int d = v.ComeIntero();
            if (d < 1 || d > 409) Errore(QStringLiteral("Dimensione del carattere non valida"));
            CambiaStile(m_i, [d](XStile& s) { s.dimensione = d; });
        } else {
            Sconosciuto(m_percorso, p);
        }
    }

private:
    XIntervallo m_i;
};

class XRange : public XOggetto {
public:
    XRange(std::shared_ptr<XApp> app, XIntervallo i) : XOggetto(std::move(app), QStringLiteral("Range")), m_i(i) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Cells")) {
            if (indici.isEmpty()) return Intervallo(m_app, m_i);
            if (indici.size() != 2) Errore(QStringLiteral("Cells vuole riga e colonna"));
            XIntervallo c = Cella(m_i.foglio, indici[0], indici[1]); // relative to the block
            c.r1 = c.r2 = m_i.r1 + c.r1 - 1;
            c.c1 = c.c2 = m_i.c1 + c.c1 - 1;
            if (c.r1 > UltimaRiga || c.c1 > UltimaColonna) Errore(QStringLiteral("Cella fuori dal foglio"));
            return Intervallo(m_app, c);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Font")) return TVariante::Oggetto(std::make_shared<XFont>(m_app, m_i));
        if (Uguale(p, "EntireColumn")) return Intervallo(m_app, {m_i.foglio, 1, m_i.c1, UltimaRiga, m_i.c2});
        if (Uguale(p, "EntireRow")) return Intervallo(m_app, {m_i.foglio, m_i.r1, 1, m_i.r2, UltimaColonna});
        if (Uguale(p, "Row")) return TVariante::Intero32(m_i.r1);
        if (Uguale(p, "Column")) return TVariante::Intero32(m_i.c1);
        if (Uguale(p, "Count")) return TVariante::Intero32(qint32(std::min<qint64>(m_i.Celle(), INT32_MAX)));
        if (Uguale(p, "Address")) {
            QString a = QStringLiteral("$%1$%2").arg(Lettere(m_i.c1)).arg(m_i.r1);
            if (m_i.Celle() > 1) a += QStringLiteral(":$%1$%2").arg(Lettere(m_i.c2)).arg(m_i.r2);
            return TVariante::Stringa(a);
        }
        if (Uguale(p, "Value")) return Valore();
        if (Uguale(p, "NumberFormat")) {
            const XCella* c = m_i.foglio->Trova(m_i.r1, m_i.c1);
            const XStile& s = m_i.foglio->cartella->stili[size_t(c ? c->stile : m_i.foglio->StileColonna(m_i.c1))];
            return TVariante::Stringa(s.formato.isEmpty() ? QStringLiteral("General") : s.formato);
        }
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Value")) {
            ImpostaValore(v);
        } else if (Uguale(p, "NumberFormat")) {
            QString codice = v.ComeStringa();
            if (Uguale(codice, "General") || Uguale(codice, "Generale")) codice.clear();
            CambiaStile(m_i, [codice](XStile& s) { s.formato = codice; });
        } else {
            Sconosciuto(m_percorso, p);
        }
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Select") || Uguale(m, "Activate")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            XCartella& cartella = m_app->Attiva();
            // As in a spreadsheet program, only the active sheet's cells can be selected.
            if (&cartella.Attivo() != m_i.foglio.get())
                Errore(QStringLiteral("Impossibile eseguire il metodo %1 della classe Range").arg(m));
            XFoglio& f = *m_i.foglio;
            f.selR1 = m_i.r1;
            f.selC1 = m_i.c1;
            f.selR2 = m_i.r2;
            f.selC2 = m_i.c2;
            return TVariante::Booleano(true);
        }
        if (Uguale(m, "AutoFit")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            AutoFit(m_i);
            return TVariante::Booleano(true);
        }
        Sconosciuto(m_percorso, m);
    }

private:
    TVariante Valore() const {
        if (m_i.Celle() > MassimoCelle) Errore(QStringLiteral("Intervallo troppo grande"));
        const auto uno = [&](int r, int c) {
            const XCella* cella = m_i.foglio->Trova(r, c);
            if (!cella || cella->genere == XCella::Nessuno) return TVariante();
            if (cella->genere == XCella::Testo) return TVariante::Stringa(cella->testo);
            if (cella->genere == XCella::Logico) return TVariante::Booleano(cella->numero != 0);
            if (cella->numero == std::trunc(cella->numero) && std::abs(cella->numero) < 2147483648.0)
                return TVariante::Intero32(qint32(cella->numero));
            return TVariante::Stringa(QString::number(cella->numero, 'g', 15));
        };
        if (m_i.Celle() == 1) return uno(m_i.r1, m_i.c1);
        auto m = std::make_shared<TMatrice>(m_i.r2 - m_i.r1 + 1, m_i.c2 - m_i.c1 + 1);
        for (int r = m_i.r1; r <= m_i.r2; ++r)
            for (int c = m_i.c1; c <= m_i.c2; ++c) m->Imposta(r - m_i.r1 + 1, c - m_i.c1 + 1, uno(r, c));
        return TVariante::Matrice(m);
    }

    void ImpostaValore(const TVariante& v) {
        const XCartella& cartella = *m_i.foglio->cartella;
        if (v.TipoValore() != TVariante::Tipo::Matrice) {
            PerOgniCella(m_i, true, [&](XCella& c) { ScriviValore(c, cartella, v); });
            return;
        }
        // Cells beyond the array get the "not available" error value, as in a spreadsheet.
        const TMatrice& m = v.ComeMatrice();
        if (m_i.Celle() > MassimoCelle) Errore(QStringLiteral("Intervallo troppo grande"));
        const TVariante nd = TVariante::Stringa(QStringLiteral("#N/D"));
        for (int r = m_i.r1; r <= m_i.r2; ++r)
            for (int c = m_i.c1; c <= m_i.c2; ++c) {
                const int i = r - m_i.r1 + 1, j = c - m_i.c1 + 1;
                ScriviValore(m_i.foglio->Cella(r, c), cartella, i <= m.Righe() && j <= m.Colonne() ? m.At(i, j) : nd);
            }
    }

    XIntervallo m_i;
};

TVariante Intervallo(const std::shared_ptr<XApp>& app, const XIntervallo& i) {
    return TVariante::Oggetto(std::make_shared<XRange>(app, i));
}

// Range[a], Range[a, b], Cells[r, c], Cells, Columns[x], Rows[x] of a sheet.
std::optional<TVariante> Riferimenti(const std::shared_ptr<XApp>& app, const std::shared_ptr<XFoglio>& foglio,
                                     const QString& p, const QList<TVariante>& indici) {
    if (Uguale(p, "Range")) {
        if (indici.isEmpty() || indici.size() > 2) Errore(QStringLiteral("Range vuole uno o due riferimenti"));
        const auto parte = [&](const TVariante& v) {
            if (v.TipoValore() == TVariante::Tipo::Oggetto) Errore(QStringLiteral("Range vuole riferimenti di testo"));
            return DaIndirizzo(foglio, v.ComeStringa());
        };
        XIntervallo i = parte(indici[0]);
        if (indici.size() == 2) i = Unione(i, parte(indici[1]));
        return Intervallo(app, i);
    }
    if (Uguale(p, "Cells")) {
        if (indici.isEmpty()) return Intervallo(app, {foglio, 1, 1, UltimaRiga, UltimaColonna});
        if (indici.size() != 2) Errore(QStringLiteral("Cells vuole riga e colonna"));
        return Intervallo(app, Cella(foglio, indici[0], indici[1]));
    }
    if (Uguale(p, "Columns") || Uguale(p, "Rows")) {
        const bool colonne = Uguale(p, "Columns");
        if (indici.isEmpty())
            return Intervallo(app, {foglio, 1, 1, UltimaRiga, UltimaColonna});
        if (indici.size() != 1) Errore(QStringLiteral("%1 vuole un indice").arg(p));
        XIntervallo i{foglio};
        if (indici[0].TipoValore() == TVariante::Tipo::Stringa) {
            const QString t = indici[0].ComeStringa();
            if (!Indirizzo(t, i.r1, i.c1, i.r2, i.c2)) Errore(QStringLiteral("Riferimento non valido: %1").arg(t));
            if (colonne ? !i.ColonneIntere() : !i.RigheIntere())
                Errore(QStringLiteral("Riferimento non valido: %1").arg(t));
        } else {
            const int n = indici[0].ComeIntero();
            if (n < 1 || n > (colonne ? UltimaColonna : UltimaRiga)) Errore(QStringLiteral("Indice fuori dal foglio"));
            i = colonne ? XIntervallo{foglio, 1, n, UltimaRiga, n} : XIntervallo{foglio, n, 1, n, UltimaColonna};
        }
        return Intervallo(app, i);
    }
    return std::nullopt;
}

class XWorksheet : public XOggetto {
public:
    XWorksheet(std::shared_ptr<XApp> app, std::shared_ptr<XFoglio> f)
        : XOggetto(std::move(app), QStringLiteral("Worksheet")), m_f(std::move(f)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (auto r = Riferimenti(m_app, m_f, p, indici)) return *r;
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Name")) return TVariante::Stringa(m_f->nome);
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Name")) Sconosciuto(m_percorso, p);
        m_f->nome = NomeFoglioValido(v.ComeStringa(), *m_f->cartella, m_f.get());
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Activate") || Uguale(m, "Select")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            XCartella& c = *m_f->cartella;
            for (size_t i = 0; i < c.fogli.size(); ++i)
                if (c.fogli[i] == m_f) c.attivo = int(i);
            return TVariante::Booleano(true);
        }
        Sconosciuto(m_percorso, m);
    }

private:
    std::shared_ptr<XFoglio> m_f;
};

TVariante Foglio(const std::shared_ptr<XApp>& app, XCartella& c, const TVariante& indice) {
    if (indice.TipoValore() == TVariante::Tipo::Stringa) {
        for (const auto& f : c.fogli)
            if (f->nome.compare(indice.ComeStringa(), Qt::CaseInsensitive) == 0)
                return TVariante::Oggetto(std::make_shared<XWorksheet>(app, f));
        Errore(QStringLiteral("Foglio inesistente: %1").arg(indice.ComeStringa()));
    }
    const int n = indice.ComeIntero();
    if (n < 1 || size_t(n) > c.fogli.size()) Errore(QStringLiteral("Indice del foglio fuori dai limiti"));
    return TVariante::Oggetto(std::make_shared<XWorksheet>(app, c.fogli[size_t(n - 1)]));
}

class XWorksheets : public XOggetto {
public:
    XWorksheets(std::shared_ptr<XApp> app, std::shared_ptr<XCartella> c)
        : XOggetto(std::move(app), QStringLiteral("Worksheets")), m_c(std::move(c)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Foglio(m_app, *m_c, indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(qint32(m_c->fogli.size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) {
            const auto a = Parametri(m_percorso, m, argomenti, {"Index"});
            return Foglio(m_app, *m_c, a[0]);
        }
        Sconosciuto(m_percorso, m);
    }

private:
    std::shared_ptr<XCartella> m_c;
};

class XWorkbook : public XOggetto {
public:
    XWorkbook(std::shared_ptr<XApp> app, std::shared_ptr<XCartella> c)
        : XOggetto(std::move(app), QStringLiteral("Workbook")), m_c(std::move(c)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Worksheets") || Uguale(p, "Sheets")) {
            if (indici.isEmpty()) return TVariante::Oggetto(std::make_shared<XWorksheets>(m_app, m_c));
            if (indici.size() != 1) Errore(QStringLiteral("%1 vuole un indice").arg(p));
            return Foglio(m_app, *m_c, indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Name")) return TVariante::Stringa(m_c->nome);
        if (Uguale(p, "ActiveSheet"))
            return TVariante::Oggetto(std::make_shared<XWorksheet>(m_app, m_c->fogli[size_t(m_c->attivo)]));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Activate")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            for (size_t i = 0; i < m_app->cartelle.size(); ++i)
                if (m_app->cartelle[i] == m_c) m_app->attiva = int(i);
            return TVariante::Booleano(true);
        }
        Sconosciuto(m_percorso, m);
    }

private:
    std::shared_ptr<XCartella> m_c;
};

TVariante Cartella(const std::shared_ptr<XApp>& app, const TVariante& indice) {
    if (indice.TipoValore() == TVariante::Tipo::Stringa) {
        for (const auto& c : app->cartelle)
            if (c->nome.compare(indice.ComeStringa(), Qt::CaseInsensitive) == 0)
                return TVariante::Oggetto(std::make_shared<XWorkbook>(app, c));
        Errore(QStringLiteral("Cartella di lavoro inesistente: %1").arg(indice.ComeStringa()));
    }
    const int n = indice.ComeIntero();
    if (n < 1 || size_t(n) > app->cartelle.size()) Errore(QStringLiteral("Indice della cartella fuori dai limiti"));
    return TVariante::Oggetto(std::make_shared<XWorkbook>(app, app->cartelle[size_t(n - 1)]));
}

class XWorkbooks : public XOggetto {
public:
    explicit XWorkbooks(std::shared_ptr<XApp> app) : XOggetto(std::move(app), QStringLiteral("Workbooks")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Cartella(m_app, indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(qint32(m_app->cartelle.size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) return Cartella(m_app, Parametri(m_percorso, m, argomenti, {"Index"})[0]);
        if (!Uguale(m, "Add")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"Template"});
        // Only a new workbook with one worksheet (the constant for a worksheet, or no
        // template at all); templates from files are not available here.
        if (!a[0].Vuoto() && (a[0].TipoValore() == TVariante::Tipo::Stringa || a[0].ComeIntero() != -4167))
            Errore(QStringLiteral("Modello di cartella di lavoro non disponibile"));
        auto c = std::make_shared<XCartella>();
        c->nome = QStringLiteral("Cartel%1").arg(++m_app->contatore);
        auto f = std::make_shared<XFoglio>();
        f->nome = QStringLiteral("Foglio1");
        f->cartella = c.get();
        c->fogli.push_back(f);
        m_app->cartelle.push_back(c);
        m_app->attiva = int(m_app->cartelle.size() - 1);
        return TVariante::Oggetto(std::make_shared<XWorkbook>(m_app, c));
    }
};

class XApplication : public XOggetto {
public:
    explicit XApplication(std::shared_ptr<XApp> app) : XOggetto(std::move(app), QStringLiteral("Excel.Application")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Workbooks")) {
            if (indici.isEmpty()) return TVariante::Oggetto(std::make_shared<XWorkbooks>(m_app));
            if (indici.size() != 1) Errore(QStringLiteral("Workbooks vuole un indice"));
            return Cartella(m_app, indici[0]);
        }
        if (Uguale(p, "Range") || Uguale(p, "Cells") || Uguale(p, "Columns") || Uguale(p, "Rows"))
            return *Riferimenti(m_app, FoglioAttivo(), p, indici);
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Visible")) return TVariante::Booleano(m_app->visibile);
        if (Uguale(p, "Application")) return TVariante::Oggetto(std::make_shared<XApplication>(m_app));
        if (Uguale(p, "Name")) return TVariante::Stringa(QStringLiteral("Microsoft Excel"));
        if (Uguale(p, "ActiveWorkbook"))
            return TVariante::Oggetto(std::make_shared<XWorkbook>(m_app, m_app->cartelle[size_t(Attiva())]));
        if (Uguale(p, "ActiveSheet")) return TVariante::Oggetto(std::make_shared<XWorksheet>(m_app, FoglioAttivo()));
        if (Uguale(p, "Selection")) {
            const auto f = FoglioAttivo();
            return Intervallo(m_app, {f, f->selR1, f->selC1, f->selR2, f->selC2});
        }
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Visible")) Sconosciuto(m_percorso, p);
        const bool visibile = v.ComeBooleano();
        if (visibile) Mostra();
        m_app->visibile = visibile;
    }

private:
    int Attiva() const {
        m_app->Attiva();
        return m_app->attiva;
    }
    std::shared_ptr<XFoglio> FoglioAttivo() const {
        XCartella& c = m_app->Attiva();
        return c.fogli[size_t(c.attivo)];
    }

    // What a user would now see: every new workbook, written out and opened.
    void Mostra() {
        for (const auto& c : m_app->cartelle) {
            if (c->scritta) continue;
            const QString file =
                NomeLibero(CartellaDocumenti(*m_app->servizi), c->Attivo().nome, QStringLiteral("xlsx"));
            try {
                ScriviXlsx(*c, file);
            } catch (...) {
                QFile::remove(file);
                throw;
            }
            c->scritta = true;
            Consegna(*m_app->servizi, file);
        }
    }
};

} // namespace

namespace Motore {

std::shared_ptr<IOggettoAutomazione> CreaExcel(std::shared_ptr<TMotoreDocumenti::Servizi> servizi) {
    auto app = std::make_shared<XApp>();
    app->servizi = std::move(servizi);
    return std::make_shared<XApplication>(app);
}

} // namespace Motore
