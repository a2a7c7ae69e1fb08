#include "app/GuidaPdf.h"

#include "app/ArgomentiGuida.h"
#include "app/DocumentoGuida.h"
#include "app/Registro.h"
#include "app/TfrmHelpForm.h"
#include "card/TfrmAllegaCartella.h"
#include "card/TfrmAllegaFile.h"
#include "card/TfrmScheda.h"
#include "doubles/Doppi.h"
#include "store/TCategoria.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

void Attendi() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A maximised window would take the size of whatever screen runs this; the
// pictures show the design size.
void MisuraDiProgetto(QWidget* w) {
    if (!(w->windowState() & Qt::WindowMaximized)) return;
    w->setWindowState(Qt::WindowNoState);
    w->resize(w->minimumSize());
    Attendi();
}

QImage Foto(QWidget* w) {
    MisuraDiProgetto(w);
    w->show();
    Attendi();
    MisuraDiProgetto(w); // some windows maximise themselves when shown
    return w->grab().toImage();
}

struct SchedaEsempio {
    const char* Campi[10]; // txtTitolo .. txtDidascalia, in the order of the card's fields
    const char* FotoDa;    // the table whose sample picture serves as its photo
};

const SchedaEsempio Esempi[] = {
    {{"M-101", "Monolocale arredato con angolo cottura", "Milano, zona Navigli", "1 più servizi", "38",
      "€ 185.000", "C", "Ristrutturato", "Secondo piano con ascensore, cantina.\nLibero da subito.",
      "Il soggiorno con l'angolo cottura"},
     "amici"},
    {{"M-102", "Monolocale luminoso con balcone", "Torino, Crocetta", "1", "42", "€ 139.000", "D", "Buone",
      "Riscaldamento autonomo.", "La zona giorno"},
     "ricorrenze"},
    {{"M-103", "Monolocale in residence con piscina", "Rimini, Marina centro", "1", "30", "€ 120.000", "B",
      "Nuovo", "Posto auto coperto.", "Il residence"},
     "vacanze"},
};

// Cards stored through the card window's own commands, so the pictures show a working archive.
void SchedeEsempio(TfrmScheda* scheda, const QString& cartella, FintoDialoghi& dialoghi) {
    const char* caselle[] = {"txtTitolo", "txtAutore",   "txtAlbum",   "txtCategoria", "txtData",
                             "txtFotocamera", "txtLuogo", "txtSoggetti", "txtNote",     "txtDidascalia"};
    const auto clic = [scheda](const char* nome) {
        if (auto* b = scheda->findChild<QWidget*>(QLatin1String(nome))) {
            if (auto* p = qobject_cast<QPushButton*>(b))
                p->click();
            else
                QMetaObject::invokeMethod(b, "clicked");
        }
        Attendi();
    };
    int n = 0;
    for (const SchedaEsempio& e : Esempi) {
        clic("cmdNuovo");
        for (int i = 0; i < 10; ++i) {
            QWidget* w = scheda->findChild<QWidget*>(QLatin1String(caselle[i]));
            if (auto* r = qobject_cast<QLineEdit*>(w)) r->setText(QString::fromUtf8(e.Campi[i]));
            if (auto* t = qobject_cast<QPlainTextEdit*>(w)) t->setPlainText(QString::fromUtf8(e.Campi[i]));
        }
        const QString foto = QStringLiteral("%1/foto%2.jpg").arg(cartella).arg(++n);
        if (const TCategoria* c = Categorie::PerTabella(QLatin1String(e.FotoDa)); c && QFile::copy(c->FotoCampione(), foto)) {
            dialoghi.ProssimoPercorso = foto;
            clic("cmdFoto");
        }
        clic("cmdSalva");
    }
    clic("imgPrimo");
}

struct Figura {
    int Capitolo;
    int DopoParagrafo;
    const char* Finestra;
    const char* Didascalia;
};

// Which window illustrates which paragraph. Windows the program does not have are left out.
const Figura Figure[] = {
    {0, 0, "frmAvvio", "La finestra iniziale, con le dieci categorie di immobili."},
    {0, 1, "frmSlideAmici", "Lo slideshow a tutto schermo, con il riferimento dell'immobile sopra la foto."},
    {0, 5, "frmBrowseAmici", "Il visualizzatore foto, con il riferimento sopra la foto e la didascalia sotto."},
    {0, 9, "frmRicercaAmici", "La ricerca avanzata su più campi contemporaneamente."},
    {0, 13, "frmPassword", "La finestra di accesso, con il pulsante per cambiare la password."},
    {0, 15, "frmHelpForm", "La guida in linea, con il collegamento a questo documento."},
    {1, 0, "frmAmici", "La finestra di gestione delle schede, con la foto di un monolocale."},
    {1, 5, "frmTrovaAmici", "La ricerca rapida in un solo campo."},
    {1, 11, "frmAllegaFile", "La finestra dei file allegati alla scheda."},
    {1, 11, "frmAllegaCartella", "La finestra della cartella associata alla scheda."},
    {2, 1, "frmExpAmici", "L'ambiente per l'esportazione dell'archivio dei monolocali."},
};

QImage FotoFinestra(const QString& nome, TfrmScheda* scheda) {
    if (nome == QLatin1String("frmAllegaFile")) {
        TfrmAllegaFile f(scheda);
        f.Compila(QString::fromLatin1(scheda->Categoria().Tabella),
                  {QStringLiteral("/home/agenzia/Documenti/M-101 planimetria.pdf"),
                   QStringLiteral("/home/agenzia/Documenti/M-101 visura catastale.pdf"), QString()},
                  {QStringLiteral("Planimetria del monolocale"), QStringLiteral("Visura catastale"), QString()});
        return Foto(&f);
    }
    if (nome == QLatin1String("frmAllegaCartella")) {
        TfrmAllegaCartella f(scheda);
        f.Compila(QString::fromLatin1(scheda->Categoria().Tabella), QStringLiteral("/home/agenzia/Immobili/M-101"),
                  QStringLiteral("Altre foto e documenti dell'immobile"));
        return Foto(&f);
    }
    QWidget* w = Registro::Finestra(nome);
    if (!w) return {};
    if (auto* guida = qobject_cast<TfrmHelpForm*>(w)) guida->ImpostaArgomento(ArgomentiGuida::Avvio());
    // The windows a card window opens are prepared as it prepares them.
    const bool figlia = w != scheda && nome.endsWith(QLatin1String(scheda->Categoria().Radice)) &&
                        Categorie::PerRadice(nome.mid(3)) == nullptr;
    if (figlia && !scheda->PreparaFinestraFiglia()) return {};
    if (w == scheda) QMetaObject::invokeMethod(scheda->findChild<QWidget*>(QStringLiteral("imgPrimo")), "clicked");
    const QImage foto = Foto(w);
    if (w != scheda) w->hide();
    Attendi();
    return foto;
}

} // namespace

namespace GuidaPdf {

int Esegui(const QString& file) {
    QTemporaryDir programma;
    if (!programma.isValid()) return 1;
    DoppiPiattaforma doppi;
    doppi.Installa();
    Piattaforma::ImpostaCartellaProgramma(programma.path());
    Registro::CreaFinestre();

    auto* scheda = qobject_cast<TfrmScheda*>(Registro::Finestra(Categorie::PerTabella(QStringLiteral("amici"))->NomeFinestra()));
    if (!scheda) return 1;
    Foto(scheda);
    SchedeEsempio(scheda, programma.path(), doppi.Dialoghi);

    TGuida guida;
    guida.Titolo = QStringLiteral("Tegolario ©");
    guida.Sottotitolo = QStringLiteral("Archivio fotografico per agenzie immobiliari");
    guida.Versione = QStringLiteral("Versione 1.0");
    guida.Piede = QStringLiteral("www.tegolario.example");
    guida.Marchio = QImage(QStringLiteral(":/icon/tegolario.png"));

    const TArgomentoGuida avvio = ArgomentiGuida::Avvio();
    const TArgomentoGuida schede = ArgomentiGuida::Scheda();
    const TArgomentoGuida esportazione = ArgomentiGuida::Esportazione(Categorie::PerPosizione(0));
    guida.Capitoli = {
        {avvio.Titolo, QStringLiteral("Questa pagina della guida si apre con il punto interrogativo della finestra iniziale."),
         avvio.Paragrafi, {}},
        {schede.Titolo,
         QStringLiteral("Questa pagina della guida si apre con il punto interrogativo della finestra di gestione delle "
                        "schede, la stessa per tutte le categorie."),
         schede.Paragrafi, {}},
        {QStringLiteral("Esportazione archivio"),
         QStringLiteral("Questa pagina della guida si apre dalla finestra di esportazione di ciascuna categoria, con il "
                        "nome della categoria nel titolo: ad esempio \"Esportazione archivio monolocali\"."),
         esportazione.Paragrafi, {}},
    };
    int mancanti = 0;
    for (const Figura& f : Figure) {
        const QImage img = FotoFinestra(QString::fromLatin1(f.Finestra), scheda);
        if (img.isNull()) {
            ++mancanti;
            continue;
        }
        guida.Capitoli[f.Capitolo].Figure.append({img, QString::fromUtf8(f.Didascalia), f.DopoParagrafo});
    }
    scheda->hide();
    Registro::DistruggiFinestre();

    if (!DocumentoGuida::Scrivi(guida, file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    if (mancanti) std::fprintf(stderr, "Guida.pdf: %d window pictures left out (windows not in this build)\n", mancanti);
    return 0;
}

} // namespace GuidaPdf
