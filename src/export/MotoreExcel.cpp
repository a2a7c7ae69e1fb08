// The spreadsheet side of the office-document engine: the automation objects
// (application, workbooks, worksheets, ranges of cells, rows, columns and the
// selection, and their fonts) that edit a workbook (CartellaExcel.h), which is
// written as an .xlsx when it is shown.
#include "export/CartellaExcel.h"
#include "export/MotoreInterno.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

using namespace Motore;

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

XIntervallo Cella(const std::shared_ptr<XFoglio>& foglio, const TVariante& riga, const TVariante& colonna) {
    const int r = riga.ComeIntero();
    const int c = colonna.TipoValore() == TVariante::Tipo::Stringa ? Colonna(colonna.ComeStringa()) : colonna.ComeIntero();
    if (r < 1 || r > UltimaRiga || c < 1 || c > UltimaColonna) Errore(QStringLiteral("Cella fuori dal foglio"));
    return {foglio, r, c, r, c};
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
