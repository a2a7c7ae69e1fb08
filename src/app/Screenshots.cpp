#include "app/Screenshots.h"

#include "app/Registro.h"
#include "card/TfrmZoom.h"
#include "doubles/Doppi.h"
#include "export/TfrmExp.h"
#include "store/TArchivio.h"
#include "store/TScheda.h"
#include "store/Win1252.h"
#include "store/TCategoria.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
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

// A few cards of the kind an agency keeps, so that the export window shows a grid.
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
    archivio.ApriArchivio();
    TSQLiteDatabase& db = *archivio.Connessione();
    QByteArray colonne = "varTitolo,varAutore,varAlbum,varCategoria,varData,varFotocamera,varLuogo,varSoggetti,varDidascalia";
    for (const Voce& v : voci) {
        QList<QByteArray> testi;
        for (const char* t : {v.rif, v.descrizione, v.ubicazione, v.vani, v.mq, v.prezzo, v.classe, v.condizioni, v.didascalia})
            testi << Win1252::DaTesto(QString::fromUtf8(t));
        db.Execute("INSERT INTO " + archivio.Tabella() + " (" + colonne + ",Ext) VALUES (?,?,?,?,?,?,?,?,?,'JPG')", testi);
    }
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
        if (auto* zoom = qobject_cast<TfrmZoom*>(w)) { // as a user sees it: with a photo
            zoom->ImpostaFoto(TFoto::DaFile(Categorie::PerPosizione(0).FotoCampioneGrande()));
            Attendi();
        }
        const QString file = QDir(cartella).filePath(w->objectName() + QStringLiteral(".png"));
        if (!w->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++errori;
        }
        w->hide();
        Attendi();
    }
    Registro::DistruggiFinestre();
    return errori ? 1 : 0;
}

} // namespace Screenshots
