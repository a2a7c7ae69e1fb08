#include "export/CartellaExcel.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>

namespace Motore {

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

// Applies a change of format to a block: whole columns keep it as their own
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

namespace {

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

} // namespace

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

namespace {

QByteArray Utf8(const QString& s) { return s.toUtf8(); }

void ControllaXlsx(lxw_error e, const char* dove) {
    if (e != LXW_NO_ERROR)
        Errore(QStringLiteral("Scrittura del foglio non riuscita (%1): %2")
                   .arg(QLatin1String(dove), QString::fromUtf8(lxw_strerror(e))));
}

} // namespace

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

} // namespace Motore
