#include "app/Screenshots.h"

#include "app/Registro.h"
#include "card/TfrmZoom.h"
#include "doubles/Doppi.h"
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
