#include "app/Screenshots.h"

#include "app/ArgomentiGuida.h"
#include "app/Registro.h"
#include "app/TfrmHelpForm.h"
#include "app/TfrmSplash.h"
#include "card/TfrmZoom.h"
#include "doubles/Doppi.h"
#include "show/TfrmBrowse.h"
#include "show/TfrmSlide.h"
#include "export/TfrmExp.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TScheda.h"
#include "store/Win1252.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

void Attendi() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Picks the category's sample photo through the card's own photo command.
void CaricaFotoCampione(QWidget* finestra, const QString& cartellaTemporanea, FintoDialoghi& dialoghi) {
    const TCategoria* categoria = nullptr;
    for (const TCategoria& c : Categorie::Tutte())
        if (c.NomeFinestra() == finestra->objectName()) categoria = &c;
    QWidget* cmdFoto = finestra->findChild<QWidget*>(QStringLiteral("cmdFoto"));
    if (!categoria || !cmdFoto) return;
    const QString percorso = cartellaTemporanea + QStringLiteral("/campione.jpg");
    QFile::remove(percorso);
    if (!QFile::copy(categoria->FotoCampione(), percorso)) return;
    dialoghi.ProssimoPercorso = percorso;
    if (auto* b = qobject_cast<QAbstractButton*>(cmdFoto))
        b->click();
    else
        QMetaObject::invokeMethod(cmdFoto, "clicked");
    Attendi();
}

// A few cards of the kind an agency keeps, so that the export window shows a grid
// (in an archive that has none yet).
void SchedeDimostrative(const TCategoria& categoria) {
    struct Voce {
        const char *rif, *descrizione, *ubicazione, *vani, *mq, *prezzo, *classe, *condizioni, *didascalia;
    };
    static const Voce voci[] = {
        {"A-101", "Luminoso con balcone", "Via Garibaldi 12", "2", "48", "€ 98.000", "C", "Ristrutturato", "Soggiorno con vista"},
        {"A-102", "Ultimo piano con terrazzo", "Corso Italia 3", "3", "75", "€ 165.000", "B", "Ottime", "Terrazzo abitabile"},
        {"A-103", "Vicino alla stazione", "Piazza Dante 8", "1", "32", "€ 450/mese", "D", "Arredato", "Ingresso"},
        {"A-104", "Nuova costruzione", "Via dei Mille 40", "4", "110", "€ 289.000", "A", "Nuovo", "Facciata"},
        {"A-105", "Piano terra con giardino", "Via Manzoni 5", "3", "90", "€ 210.000", "C", "Buone", "Giardino privato"},
    };
    TArchivio archivio(categoria);
    if (archivio.ApriArchivio(Statementi::PrimaScheda(archivio.Tabella())) && archivio.Risultato() &&
        archivio.Risultato()->Count() > 0)
        return;
    TSQLiteDatabase& db = *archivio.Connessione();
    QByteArray colonne = "varTitolo,varAutore,varAlbum,varCategoria,varData,varFotocamera,varLuogo,varSoggetti,varDidascalia";
    for (const Voce& v : voci) {
        QList<QByteArray> testi;
        for (const char* t : {v.rif, v.descrizione, v.ubicazione, v.vani, v.mq, v.prezzo, v.classe, v.condizioni, v.didascalia})
            testi << Win1252::DaTesto(QString::fromUtf8(t));
        db.Execute("INSERT INTO " + archivio.Tabella() + " (" + colonne + ",Ext) VALUES (?,?,?,?,?,?,?,?,?,'JPG')", testi);
    }
}

// A few studio flats, so that the find windows can be shown with a result list.
void SchedeDiEsempio() {
    struct Esempio {
        const char *Titolo, *Descrizione, *Ubicazione, *Vani, *Metri, *Prezzo, *Note;
    };
    const Esempio esempi[] = {
        {"M-104", "Monolocale con bagno finestrato e angolo cottura", "Milano, Città Studi", "1", "32", "145.000",
         "Posto box auto"},
        {"M-087", "Monolocale arredato, bagno con doccia", "Torino, San Salvario", "1", "28", "98.000", ""},
        {"M-112", "Ampio monolocale su due livelli", "Bologna, centro storico", "1 + soppalco", "45", "189.000",
         "Box auto doppio"},
        {"M-009", "Monolocale da ristrutturare", "Genova, Sampierdarena", "1", "25", "39.000", ""},
        {"M-131", "Monolocale nuovo, classe A, terrazzo", "Verona, Borgo Trento", "1", "38", "172.500",
         "Cantina e posto bici"},
        {"M-010", "Monolocale con vista lago e bagno nuovo", "Como, lungolago", "1", "30", "210.000", ""},
    };
    TArchivio archivio(*Categorie::PerTabella(QStringLiteral("amici")));
    archivio.ApriArchivio();
    QByteArray sql = "INSERT INTO amici (" + Statementi::ColonneElenco().mid(3) + ",Ext) VALUES (";
    for (int i = 0; i < NumeroCampiTesto; ++i) sql += "?,";
    sql += "'JPG')";
    for (const Esempio& e : esempi) {
        QList<QByteArray> v(NumeroCampiTesto);
        const auto b = [](const char* s) { return Win1252::DaTesto(QString::fromUtf8(s)); };
        v[cTitolo] = b(e.Titolo);
        v[cAutore] = b(e.Descrizione);
        v[cAlbum] = b(e.Ubicazione);
        v[cCategoria] = b(e.Vani);
        v[cData] = b(e.Metri);
        v[cFotocamera] = b(e.Prezzo);
        v[cNote] = b(e.Note);
        archivio.Connessione()->Execute(sql, v);
    }
}

template <class T> T* Figlio(QWidget* w, const char* nome) { return w->findChild<T*>(QString::fromLatin1(nome)); }

// The find windows once more, as they look with a result list: file name + "Elenco".
bool ConElenco(QWidget* w) {
    if (w->objectName() == QLatin1String("frmTrovaAmici")) {
        Figlio<QLineEdit>(w, "txtCriterio")->setText(QStringLiteral("M-"));
        Figlio<QPushButton>(w, "btnPopola")->click();
        Figlio<QLineEdit>(w, "txtTrova")->setText(QStringLiteral("vista"));
        Figlio<QPushButton>(w, "btnTrova")->click();
        Figlio<QLineEdit>(w, "txtCriterio")->setFocus();
    } else if (w->objectName() == QLatin1String("frmRicercaAmici")) {
        Figlio<QLineEdit>(w, "txtAutore")->setText(QStringLiteral("monolocale"));
        Figlio<QPushButton>(w, "cmdTrova")->click();
        Figlio<QLineEdit>(w, "txtTrova")->setText(QStringLiteral("bagno"));
        Figlio<QPushButton>(w, "cmdTrova02")->click();
    } else {
        return false;
    }
    Attendi();
    return true;
}

// One stored card with a photo, reference and caption, for the browser and the
// slideshow as a customer sees them.
void SchedaDiEsempio(const TCategoria& categoria) {
    TArchivio archivio(categoria);
    archivio.ApriArchivio();
    const QByteArray t = archivio.Tabella();
    archivio.Connessione()->Execute(
        "INSERT OR REPLACE INTO " + t + "(ID,varTitolo,varDidascalia,Ext) VALUES (1,?,?,'JPG')",
        {Win1252::DaTesto(QStringLiteral("A-1024")),
         Win1252::DaTesto(QStringLiteral("Luminoso, con terrazzo e vista sul parco"))});
    QFile foto(Categorie::PerTabella(QStringLiteral("scuola"))->FotoCampioneGrande());
    if (foto.open(QIODevice::ReadOnly))
        archivio.Connessione()->ExecuteWithBlob("UPDATE " + t + " SET Picture = ? WHERE ID = 1", foto.readAll());
}

// For the first category: the browser and the slideshow after one step.
bool ConUnaScheda(QWidget* w) {
    const TCategoria& primo = Categorie::PerPosizione(0);
    QWidget* passo = nullptr;
    if (auto* b = qobject_cast<TfrmBrowse*>(w); b && &b->Categoria() == &primo)
        passo = w->findChild<QWidget*>(QStringLiteral("imgAvanti"));
    if (auto* s = qobject_cast<TfrmSlide*>(w); s && &s->Categoria() == &primo)
        passo = w->findChild<QWidget*>(QStringLiteral("cmdAvanti"));
    if (!passo) return false;
    SchedaDiEsempio(primo);
    if (auto* b = qobject_cast<QAbstractButton*>(passo))
        b->click();
    else
        QMetaObject::invokeMethod(passo, "clicked");
    Attendi();
    return true;
}

} // namespace

namespace Screenshots {

int Esegui(const QString& cartella) {
    if (!QDir().mkpath(cartella)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(cartella));
        return 1;
    }
    QTemporaryDir programma;
    DoppiPiattaforma doppi;
    doppi.Installa();
    Piattaforma::ImpostaCartellaProgramma(programma.path());

    Registro::CreaFinestre();
    SchedeDiEsempio();
    int errori = 0;
    for (QWidget* w : Registro::Tutte()) {
        // A maximised window would take the size of whatever screen runs this;
        // the picture shows the design size instead.
        const auto misuraDiProgetto = [w] {
            if (!(w->windowState() & Qt::WindowMaximized)) return;
            w->setWindowState(Qt::WindowNoState);
            w->resize(w->minimumSize());
            Attendi();
        };
        misuraDiProgetto();
        if (auto* esporta = qobject_cast<TfrmExp*>(w)) SchedeDimostrative(esporta->Categoria());
        w->show();
        Attendi();
        misuraDiProgetto(); // some windows maximise themselves when shown
        if (Categorie::PerRadice(w->objectName().mid(3))) CaricaFotoCampione(w, programma.path(), doppi.Dialoghi);
        if (auto* guida = qobject_cast<TfrmHelpForm*>(w)) { // with the topic the launcher gives it
            guida->ImpostaArgomento(ArgomentiGuida::Avvio());
            Attendi();
        }
        if (auto* splash = qobject_cast<TfrmSplash*>(w)) { // the sprites on their ways, a few seconds in
            for (int i = 0; i < 60; ++i) splash->Timer1Timer();
            Attendi();
        }
        if (auto* zoom = qobject_cast<TfrmZoom*>(w)) { // as a user sees it: with a photo
            zoom->ImpostaFoto(TFoto::DaFile(Categorie::PerPosizione(0).FotoCampioneGrande()));
            Attendi();
        }
        const auto salva = [&](const QString& nome) {
            const QString file = QDir(cartella).filePath(nome + QStringLiteral(".png"));
            if (!w->grab().save(file)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                ++errori;
            }
        };
        salva(w->objectName());
        if (ConElenco(w)) salva(w->objectName() + QStringLiteral("Elenco"));
        if (ConUnaScheda(w)) salva(w->objectName() + QStringLiteral("_scheda"));
        w->hide();
        Attendi();
    }
    Registro::DistruggiFinestre();
    return errori ? 1 : 0;
}

} // namespace Screenshots
