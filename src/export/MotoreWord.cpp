// The word-processor side of the office-document engine: the automation objects
// (application, documents, the active window's selection and ranges with their
// fonts and paragraph formats, inline pictures, tables and cells) that edit a
// document (DocumentoWord.h), which is written as a .docx when it is shown.
#include "export/DocumentoWord.h"
#include "export/MotoreInterno.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

using namespace Motore;

struct WApp {
    std::shared_ptr<TMotoreDocumenti::Servizi> servizi;
    bool visibile = false;
    std::vector<std::shared_ptr<WDoc>> documenti;
    int attivo = -1;

    std::shared_ptr<WDoc> Attivo() const {
        if (attivo < 0) Errore(QStringLiteral("Comando non disponibile: nessun documento aperto"));
        return documenti[size_t(attivo)];
    }
};

QString NormaleCella(const QString& t) {
    QString r = t;
    r.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    r.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return r;
}

// Inserts text after a span or at the end of a cell; the span grows to hold it.
void InserisciDopo(WDoc& d, WPunto& p, const QString& testo) {
    if (p.InCella()) {
        p.tabella->Cella(p.r, p.c).testo += NormaleCella(testo);
        return;
    }
    const int pos = p.e;
    const auto nuovi = d.Elementi(testo, pos);
    d.Inserisci(pos, nuovi);
    p.e = pos + int(nuovi.size());
}
// ---- the objects ----

class WOggetto : public IOggettoAutomazione {
public:
    WOggetto(std::shared_ptr<WApp> app, QString percorso) : m_app(std::move(app)), m_percorso(std::move(percorso)) {}
    QString Percorso() const override { return m_percorso; }
    TVariante Leggi(const QString& p, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    void Imposta(const QString& p, const TVariante&, const QList<TVariante>&) override { Sconosciuto(m_percorso, p); }
    TVariante Chiama(const QString& m, const QList<TArgomento>&) override { Sconosciuto(m_percorso, m); }

protected:
    std::shared_ptr<WApp> m_app;
    QString m_percorso;
};

class WRange;
TVariante Intervallo(const std::shared_ptr<WApp>& app, const std::shared_ptr<WDoc>& d, const std::shared_ptr<WPunto>& p,
                     bool selezione);

// Applies a change to every element of a span (or to a cell); an empty span of
// the main text is where the next content goes, which takes the format before it.
template <class F> void SuElementi(WDoc& d, const WPunto& p, F&& f) {
    for (int i = p.s; i < p.e && i < int(d.el.size()); ++i) f(d.el[size_t(i)].stile);
}

// Ranges and selections hand their span to the pictures and tables made with them.
class WPuntoDi {
public:
    virtual ~WPuntoDi() = default;
    virtual std::shared_ptr<WDoc> Documento() const = 0;
    virtual std::shared_ptr<WPunto> Punto() const = 0;
};

class WFont : public WOggetto {
public:
    WFont(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("Font")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        const WStile s = m_p->InCella() ? m_p->tabella->Cella(m_p->r, m_p->c).stile
                                        : (m_p->s < m_p->e ? m_d->el[size_t(m_p->s)].stile : m_d->StileA(m_p->s));
        if (Uguale(p, "Name")) return TVariante::Stringa(s.carattere);
        if (Uguale(p, "Size")) return TVariante::Intero32(s.dimensione);
        if (Uguale(p, "Bold")) return TVariante::Booleano(s.grassetto);
        Sconosciuto(m_percorso, p);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        std::function<void(WStile&)> cambia;
        if (Uguale(p, "Name")) {
            const QString n = v.ComeStringa();
            if (n.trimmed().isEmpty()) Errore(QStringLiteral("Nome del carattere vuoto"));
            cambia = [n](WStile& s) { s.carattere = n; };
        } else if (Uguale(p, "Size")) {
            const int d = v.ComeIntero();
            if (d < 1 || d > 1638) Errore(QStringLiteral("Dimensione del carattere non valida"));
            cambia = [d](WStile& s) { s.dimensione = d; };
        } else if (Uguale(p, "Bold")) {
            const bool b = v.ComeBooleano();
            cambia = [b](WStile& s) { s.grassetto = b; };
        } else {
            Sconosciuto(m_percorso, p);
        }
        if (m_p->InCella())
            cambia(m_p->tabella->Cella(m_p->r, m_p->c).stile);
        else
            SuElementi(*m_d, *m_p, cambia);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

class WParagraphFormat : public WOggetto {
public:
    WParagraphFormat(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("ParagraphFormat")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Alignment")) Sconosciuto(m_percorso, p);
        if (m_p->InCella()) return TVariante::Intero32(m_p->tabella->Cella(m_p->r, m_p->c).allineamento);
        return TVariante::Intero32(m_d->el[size_t(m_d->FineDi(m_p->s))].allineamento);
    }

    void Imposta(const QString& p, const TVariante& v, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Alignment")) Sconosciuto(m_percorso, p);
        const int a = v.ComeIntero();
        if (a < 0 || a > 3) Errore(QStringLiteral("Allineamento non disponibile: %1").arg(a));
        if (m_p->InCella()) {
            m_p->tabella->Cella(m_p->r, m_p->c).allineamento = a;
            return;
        }
        // Every paragraph the span touches.
        const int primo = m_d->FineDi(m_p->s);
        const int ultimo = m_d->FineDi(std::max(m_p->s, m_p->e - 1));
        for (int i = primo; i <= ultimo; ++i)
            if (m_d->el[size_t(i)].genere == WElemento::FineParagrafo) m_d->el[size_t(i)].allineamento = a;
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

class WInlineShapes : public WOggetto {
public:
    WInlineShapes(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p, bool selezione)
        : WOggetto(std::move(app), QStringLiteral("InlineShapes")), m_d(std::move(d)), m_p(std::move(p)),
          m_selezione(selezione) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (!Uguale(p, "Count")) Sconosciuto(m_percorso, p);
        int n = 0;
        for (int i = m_p->s; i < m_p->e; ++i) n += m_d->el[size_t(i)].genere == WElemento::Immagine;
        return TVariante::Intero32(n);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "AddPicture")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"FileName", "LinkToFile", "SaveWithDocument", "Range"});
        const QString nomeFile = a[0].ComeStringa();
        if (!a[1].Vuoto() && a[1].ComeBooleano())
            Errore(QStringLiteral("Le immagini collegate al file non sono disponibili"));
        std::shared_ptr<WPunto> dove = m_p;
        if (!a[3].Vuoto()) {
            auto* r = dynamic_cast<WPuntoDi*>(a[3].ComeOggetto().get());
            if (!r || r->Documento() != m_d) Errore(QStringLiteral("Intervallo di un altro documento"));
            dove = r->Punto();
        }
        if (dove->InCella()) Errore(QStringLiteral("Immagini nelle celle non disponibili"));
        QFile file(nomeFile);
        if (!file.open(QIODevice::ReadOnly)) Errore(QStringLiteral("File non trovato: %1").arg(nomeFile));
        const auto img = LeggiImmagine(file.readAll());
        img->nome = QFileInfo(nomeFile).fileName();
        WElemento e;
        e.genere = WElemento::Immagine;
        e.immagine = img;
        const int pos = dove->s;
        m_d->Rimuovi(dove->s, dove->e); // a picture replaces what the span held
        m_d->Inserisci(pos, {e});
        if (m_selezione || dove == m_d->selezione) m_d->selezione->s = m_d->selezione->e = pos + 1;
        return TVariante::Booleano(true);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
    bool m_selezione;
};

class WCell : public WOggetto {
public:
    WCell(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WTabella> t, int r, int c)
        : WOggetto(std::move(app), QStringLiteral("Cell")), m_d(std::move(d)), m_t(std::move(t)), m_r(r), m_c(c) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Range")) {
            WPunto punto;
            punto.tabella = m_t;
            punto.r = m_r;
            punto.c = m_c;
            return Intervallo(m_app, m_d, m_d->NuovoIntervallo(punto), false);
        }
        if (Uguale(p, "RowIndex")) return TVariante::Intero32(m_r);
        if (Uguale(p, "ColumnIndex")) return TVariante::Intero32(m_c);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WTabella> m_t;
    int m_r, m_c;
};

class WTable : public WOggetto {
public:
    WTable(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WTabella> t)
        : WOggetto(std::move(app), QStringLiteral("Table")), m_d(std::move(d)), m_t(std::move(t)) {}

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "Cell")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"Row", "Column"});
        const int r = a[0].ComeIntero(), c = a[1].ComeIntero();
        if (r < 1 || r > m_t->righe || c < 1 || c > m_t->colonne)
            Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WCell>(m_app, m_d, m_t, r, c));
    }

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "NumRows")) return TVariante::Intero32(m_t->righe);
        if (Uguale(p, "NumColumns")) return TVariante::Intero32(m_t->colonne);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WTabella> m_t;
};

class WTables : public WOggetto {
public:
    WTables(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p)
        : WOggetto(std::move(app), QStringLiteral("Tables")), m_d(std::move(d)), m_p(std::move(p)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Elemento(indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(int(Contenute().size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) return Elemento(Parametri(m_percorso, m, argomenti, {"Index"})[0]);
        if (!Uguale(m, "Add")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti,
                                 {"Range", "NumRows", "NumColumns", "DefaultTableBehavior", "AutoFitBehavior"});
        auto* r = dynamic_cast<WPuntoDi*>(a[0].ComeOggetto().get());
        if (!r || r->Documento() != m_d) Errore(QStringLiteral("Tables.Add vuole un intervallo del documento"));
        const int righe = a[1].ComeIntero(), colonne = a[2].ComeIntero();
        if (righe < 1 || righe > 32767 || colonne < 1 || colonne > 63)
            Errore(QStringLiteral("Numero di righe o di colonne non valido"));
        const auto dove = r->Punto();
        if (dove->InCella()) Errore(QStringLiteral("Tabelle nelle celle non disponibili"));

        WDoc& d = *m_d;
        int pos = dove->s;
        d.Rimuovi(dove->s, dove->e); // the table takes the place of what the span held
        if (!d.InizioParagrafo(pos)) { // a table starts a paragraph of its own
            d.Inserisci(pos, d.Elementi(QStringLiteral("\r"), pos));
            ++pos;
        }
        auto t = std::make_shared<WTabella>();
        t->righe = righe;
        t->colonne = colonne;
        WCella modello;
        modello.stile = d.StileA(pos);
        modello.allineamento = d.el[size_t(d.FineDi(pos))].allineamento;
        t->celle.assign(size_t(righe) * size_t(colonne), modello);
        WElemento e;
        e.genere = WElemento::Tabella;
        e.tabella = t;
        e.stile = modello.stile;
        d.Inserisci(pos, {e});
        // The insertion point goes into the first cell.
        *d.selezione = WPunto{};
        d.selezione->tabella = t;
        d.selezione->r = d.selezione->c = 1;
        return TVariante::Oggetto(std::make_shared<WTable>(m_app, m_d, t));
    }

private:
    // The tables of the span: those that start inside it, or the cell's own.
    std::vector<std::shared_ptr<WTabella>> Contenute() const {
        if (m_p->InCella()) return {m_p->tabella};
        std::vector<std::shared_ptr<WTabella>> t;
        for (int i = m_p->s; i < m_p->e && i < int(m_d->el.size()); ++i)
            if (m_d->el[size_t(i)].genere == WElemento::Tabella) t.push_back(m_d->el[size_t(i)].tabella);
        return t;
    }

    TVariante Elemento(const TVariante& indice) const {
        const auto t = Contenute();
        const int n = indice.ComeIntero();
        if (n < 1 || size_t(n) > t.size()) Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WTable>(m_app, m_d, t[size_t(n - 1)]));
    }

    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
};

// A range, or the selection when it acts for the document's live selection.
class WRange : public WOggetto, public WPuntoDi {
public:
    WRange(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d, std::shared_ptr<WPunto> p, bool selezione)
        : WOggetto(std::move(app), selezione ? QStringLiteral("Selection") : QStringLiteral("Range")),
          m_d(std::move(d)), m_p(std::move(p)), m_selezione(selezione) {}

    std::shared_ptr<WDoc> Documento() const override { return m_d; }
    std::shared_ptr<WPunto> Punto() const override { return m_p; }

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Range")) return Intervallo(m_app, m_d, m_d->NuovoIntervallo(*m_p), false);
        if (Uguale(p, "Font")) return TVariante::Oggetto(std::make_shared<WFont>(m_app, m_d, m_p));
        if (Uguale(p, "ParagraphFormat"))
            return TVariante::Oggetto(std::make_shared<WParagraphFormat>(m_app, m_d, m_p));
        if (Uguale(p, "InlineShapes"))
            return TVariante::Oggetto(std::make_shared<WInlineShapes>(m_app, m_d, m_p, m_selezione));
        if (Uguale(p, "Tables")) return TVariante::Oggetto(std::make_shared<WTables>(m_app, m_d, m_p));
        if (Uguale(p, "Text")) {
            if (m_p->InCella()) return TVariante::Stringa(m_p->tabella->Cella(m_p->r, m_p->c).testo);
            return TVariante::Stringa(m_d->Testo(m_p->s, m_p->e));
        }
        if (!m_p->InCella() && Uguale(p, "Start")) return TVariante::Intero32(m_p->s);
        if (!m_p->InCella() && Uguale(p, "End")) return TVariante::Intero32(m_p->e);
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "InsertAfter")) {
            InserisciDopo(*m_d, *m_p, Parametri(m_percorso, m, argomenti, {"Text"})[0].ComeStringa());
        } else if (Uguale(m, "InsertParagraphAfter")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            InserisciDopo(*m_d, *m_p, QStringLiteral("\r"));
        } else if (m_selezione && Uguale(m, "TypeParagraph")) {
            SenzaArgomenti(m_percorso, m, argomenti);
            Digita(QStringLiteral("\r"));
        } else if (m_selezione && Uguale(m, "TypeText")) {
            Digita(Parametri(m_percorso, m, argomenti, {"Text"})[0].ComeStringa());
        } else if (m_selezione && Uguale(m, "EndOf")) {
            const auto a = Parametri(m_percorso, m, argomenti, {"Unit", "Extend"});
            FineDi(a[0].Vuoto() ? 2 : a[0].ComeIntero(), a[1].Vuoto() ? 0 : a[1].ComeIntero());
        } else {
            Sconosciuto(m_percorso, m);
        }
        return TVariante();
    }

private:
    // Typing replaces the selection and leaves the insertion point after the text.
    void Digita(const QString& testo) {
        WPunto& p = *m_p;
        if (p.InCella()) {
            p.tabella->Cella(p.r, p.c).testo += NormaleCella(testo);
            return;
        }
        const int pos = p.s;
        m_d->Rimuovi(p.s, p.e);
        const auto nuovi = m_d->Elementi(testo, pos);
        m_d->Inserisci(pos, nuovi);
        p.s = p.e = pos + int(nuovi.size());
    }

    // Moves (or extends) the end to the end of the unit: character, word,
    // paragraph or the whole text; never past the last paragraph mark.
    void FineDi(int unita, int estendi) {
        WPunto& p = *m_p;
        if (estendi != 0 && estendi != 1) Errore(QStringLiteral("Valore di Extend non valido"));
        if (p.InCella()) return;
        const auto lettera = [&](int i) {
            return i >= 0 && i < int(m_d->el.size()) && m_d->el[size_t(i)].genere == WElemento::Carattere &&
                   m_d->el[size_t(i)].c.isLetterOrNumber();
        };
        int fine = p.e;
        switch (unita) {
        case 1: break;
        case 2:
            if (lettera(fine - 1))
                while (lettera(fine)) ++fine;
            break;
        case 4: {
            const int marca = m_d->FineDi(std::max(p.s, p.e - 1));
            fine = marca + 1;
            break;
        }
        case 6: fine = int(m_d->el.size()) - 1; break;
        default: Errore(QStringLiteral("Unità non disponibile: %1").arg(unita));
        }
        fine = std::min(fine, int(m_d->el.size()) - 1);
        p.e = fine;
        if (estendi == 0) p.s = fine;
    }

    std::shared_ptr<WDoc> m_d;
    std::shared_ptr<WPunto> m_p;
    bool m_selezione;
};

TVariante Intervallo(const std::shared_ptr<WApp>& app, const std::shared_ptr<WDoc>& d, const std::shared_ptr<WPunto>& p,
                     bool selezione) {
    return TVariante::Oggetto(std::make_shared<WRange>(app, d, p, selezione));
}

class WWindow : public WOggetto {
public:
    WWindow(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d)
        : WOggetto(std::move(app), QStringLiteral("Window")), m_d(std::move(d)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Selection")) return Intervallo(m_app, m_d, m_d->selezione, true);
        Sconosciuto(m_percorso, p);
    }

private:
    std::shared_ptr<WDoc> m_d;
};

class WDocument : public WOggetto {
public:
    WDocument(std::shared_ptr<WApp> app, std::shared_ptr<WDoc> d)
        : WOggetto(std::move(app), QStringLiteral("Document")), m_d(std::move(d)) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Content")) {
            WPunto tutto;
            tutto.e = int(m_d->el.size());
            return Intervallo(m_app, m_d, m_d->NuovoIntervallo(tutto), false);
        }
        if (Uguale(p, "ActiveWindow")) return TVariante::Oggetto(std::make_shared<WWindow>(m_app, m_d));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (!Uguale(m, "Activate")) Sconosciuto(m_percorso, m);
        SenzaArgomenti(m_percorso, m, argomenti);
        for (size_t i = 0; i < m_app->documenti.size(); ++i)
            if (m_app->documenti[i] == m_d) m_app->attivo = int(i);
        return TVariante();
    }

private:
    std::shared_ptr<WDoc> m_d;
};

class WDocuments : public WOggetto {
public:
    explicit WDocuments(std::shared_ptr<WApp> app) : WOggetto(std::move(app), QStringLiteral("Documents")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        if (Uguale(p, "Item")) {
            if (indici.size() != 1) Errore(QStringLiteral("Item vuole un indice"));
            return Elemento(indici[0]);
        }
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Count")) return TVariante::Intero32(int(m_app->documenti.size()));
        Sconosciuto(m_percorso, p);
    }

    TVariante Chiama(const QString& m, const QList<TArgomento>& argomenti) override {
        if (Uguale(m, "Item")) return Elemento(Parametri(m_percorso, m, argomenti, {"Index"})[0]);
        if (!Uguale(m, "Add")) Sconosciuto(m_percorso, m);
        const auto a = Parametri(m_percorso, m, argomenti, {"Template", "NewTemplate", "DocumentType", "Visible"});
        if (!a[0].Vuoto() && !a[0].ComeStringa().isEmpty())
            Errore(QStringLiteral("Modelli di documento non disponibili"));
        if (!a[2].Vuoto() && a[2].ComeIntero() != 0) Errore(QStringLiteral("Tipo di documento non disponibile"));
        auto d = std::make_shared<WDoc>();
        m_app->documenti.push_back(d);
        m_app->attivo = int(m_app->documenti.size() - 1);
        return TVariante::Oggetto(std::make_shared<WDocument>(m_app, d));
    }

private:
    TVariante Elemento(const TVariante& indice) const {
        const int n = indice.ComeIntero();
        if (n < 1 || size_t(n) > m_app->documenti.size())
            Errore(QStringLiteral("Il membro richiesto dell'insieme non esiste"));
        return TVariante::Oggetto(std::make_shared<WDocument>(m_app, m_app->documenti[size_t(n - 1)]));
    }
};

class WApplication : public WOggetto {
public:
    explicit WApplication(std::shared_ptr<WApp> app) : WOggetto(std::move(app), QStringLiteral("Word.Application")) {}

    TVariante Leggi(const QString& p, const QList<TVariante>& indici) override {
        SenzaIndici(m_percorso, p, indici);
        if (Uguale(p, "Documents")) return TVariante::Oggetto(std::make_shared<WDocuments>(m_app));
        if (Uguale(p, "Visible")) return TVariante::Booleano(m_app->visibile);
        if (Uguale(p, "Name")) return TVariante::Stringa(QStringLiteral("Microsoft Word"));
        if (Uguale(p, "ActiveDocument")) return TVariante::Oggetto(std::make_shared<WDocument>(m_app, m_app->Attivo()));
        if (Uguale(p, "ActiveWindow")) return TVariante::Oggetto(std::make_shared<WWindow>(m_app, m_app->Attivo()));
        if (Uguale(p, "Selection")) {
            const auto d = m_app->Attivo();
            return Intervallo(m_app, d, d->selezione, true);
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
    // What a user would now see: every new document, written out and opened.
    void Mostra() {
        for (const auto& d : m_app->documenti) {
            if (d->scritto) continue;
            const QString file = NomeLibero(CartellaDocumenti(*m_app->servizi), NomeDocumento(*d), QStringLiteral("docx"));
            try {
                ScriviDocx(*d, file);
            } catch (...) {
                QFile::remove(file);
                throw;
            }
            d->scritto = true;
            Consegna(*m_app->servizi, file);
        }
    }
};

} // namespace

namespace Motore {

std::shared_ptr<IOggettoAutomazione> CreaWord(std::shared_ptr<TMotoreDocumenti::Servizi> servizi) {
    auto app = std::make_shared<WApp>();
    app->servizi = std::move(servizi);
    return std::make_shared<WApplication>(app);
}

} // namespace Motore
