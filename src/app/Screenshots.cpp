#include "app/Screenshots.h"

#include "app/ArgomentiGuida.h"
#include "app/Registro.h"
#include "app/TfrmHelpForm.h"
#include "app/TfrmSplash.h"
#include "card/TfrmZoom.h"
#include "doubles/Doppi.h"
#include "show/TfrmBrowse.h"
#include "show/TfrmSlide.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/Win1252.h"

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
        if (ConUnaScheda(w)) salva(w->objectName() + QStringLiteral("_scheda"));
        w->hide();
        Attendi();
    }
    Registro::DistruggiFinestre();
    return errori ? 1 : 0;
}

} // namespace Screenshots
