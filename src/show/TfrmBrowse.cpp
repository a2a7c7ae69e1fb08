#include "show/TfrmBrowse.h"

#include "card/TfrmZoom.h"
#include "platform/Piattaforma.h"
#include "store/FotoVicine.h"
#include "store/Testo.h"
#include "ui_TfrmBrowse.h"
#include "widgets/Comuni.h"

#include <QCloseEvent>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>

namespace {

using Verso = TScorrimento::Verso;

const char* const TitoloIniziale = "Visualizzatore foto";
const char* const DidascaliaIniziale = "Per visualizzare le foto, servirsi delle frecce di scorrimento.";

struct Comando {
    const char* Nome;
    const char* Immagine;
    const char* Suggerimento;
};
const Comando Comandi[] = {
    {"imgPrimo", ":/show/primo.png", " Visualizza prima foto in archivio. "},
    {"imgIndietro", ":/show/indietro.png", " Visualizza foto precedente in archivio. "},
    {"imgAvanti", ":/show/avanti.png", " Visualizza foto successiva in archivio. "},
    {"imgUltimo", ":/show/ultimo.png", " Visualizza ultima foto in archivio. "},
    {"imgZoom", ":/cmd/zoom.png", " Visualizza la foto corrente a schermo intero. "},
};

} // namespace

TfrmBrowse::TfrmBrowse(const TCategoria& categoria, QWidget* parent)
    : QWidget(parent), m_categoria(categoria), ui(new Ui::TfrmBrowse), m_scorrimento(categoria),
      m_anticipa(new QTimer(this))
{
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra("Browse"));
    setWindowTitle(categoria.CaptionBrowser());
    Aspetto();
    m_anticipa->setSingleShot(true);
    m_anticipa->setInterval(0);
    connect(m_anticipa, &QTimer::timeout, this, &TfrmBrowse::Anticipa);
    connect(ui->imgFoto, &RiquadroFoto::scalaCambiata, m_anticipa, qOverload<>(&QTimer::start));
    connect(ui->imgPrimo, &PulsanteImmagine::clicked, this, &TfrmBrowse::imgPrimoClick);
    connect(ui->imgIndietro, &PulsanteImmagine::clicked, this, &TfrmBrowse::imgIndietroClick);
    connect(ui->imgAvanti, &PulsanteImmagine::clicked, this, &TfrmBrowse::imgAvantiClick);
    connect(ui->imgUltimo, &PulsanteImmagine::clicked, this, &TfrmBrowse::imgUltimoClick);
    connect(ui->imgFoto, &RiquadroFoto::cliccato, this, &TfrmBrowse::imgFotoClick);
    connect(ui->imgZoom, &PulsanteImmagine::clicked, this, &TfrmBrowse::imgZoomClick);
}

TfrmBrowse::~TfrmBrowse() = default;

void TfrmBrowse::Aspetto()
{
    resize(1022, 704);
    setMinimumSize(1022, 704);
    Massimizza(this);
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(ui->grpContainer)}) {
        Colora(w, QPalette::Window, Qt::black);
        w->setAutoFillBackground(true);
    }
    new Centratore(this, ui->grpContainer, 8, 18);

    ui->lblTitolo->setFont(Carattere(QStringLiteral("Tahoma"), 32, true));
    Colora(ui->lblTitolo, QPalette::WindowText, QColor(166, 202, 240));
    ui->lblDidascalia->setFont(Carattere(QStringLiteral("Tahoma"), 19, true));
    Colora(ui->lblDidascalia, QPalette::WindowText, QColor(100, 162, 230));
    for (QLabel* l : {ui->lblTitolo, ui->lblDidascalia, ui->lblPosizione}) {
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(false);
    }
    ui->lblPosizione->hide();
    ui->imgTemp->hide();
    for (const Comando& c : Comandi)
        if (auto* w = findChild<PulsanteImmagine*>(QString::fromLatin1(c.Nome)))
            w->setToolTip(QString::fromUtf8(c.Suggerimento));
    ui->imgZoom->raise();
}

// At the first showing: creating the window stays cheap.
void TfrmBrowse::CaricaImmagini()
{
    if (m_immaginiCaricate)
        return;
    m_immaginiCaricate = true;
    for (const Comando& c : Comandi)
        if (auto* w = findChild<PulsanteImmagine*>(QString::fromLatin1(c.Nome)))
            w->ImpostaImmagine(QString::fromLatin1(c.Immagine));
    m_campione = TFoto::DaFile(m_categoria.FotoCampioneGrande());
    ui->imgTemp->ImpostaFoto(m_campione);
}

void TfrmBrowse::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (e->spontaneous())
        return; // a restore from the task bar is not a new showing
    if (!(windowState() & Qt::WindowMaximized))
        Massimizza(this);
    FormShow();
}

void TfrmBrowse::FormShow()
{
    CaricaImmagini();
    try {
        m_scorrimento.Riapri();
    } catch (...) {
        // The browser is not opened and nothing is said, as when the record card
        // window itself fails to open the archive before showing it.
        QTimer::singleShot(0, this, [this] { hide(); });
        return;
    }
    VistaIniziale();
    m_anticipa->start();
}

// Whatever was on display when the window last closed is gone.
void TfrmBrowse::VistaIniziale()
{
    m_scorrimento.Azzera();
    ui->lblPosizione->clear();
    ui->imgFoto->ImpostaFoto(m_campione);
    ui->lblTitolo->setText(QString::fromUtf8(TitoloIniziale));
    ui->lblDidascalia->setText(QString::fromUtf8(DidascaliaIniziale));
}

void TfrmBrowse::hideEvent(QHideEvent* e)
{
    m_anticipa->stop();
    m_anticipo.Svuota();
    QWidget::hideEvent(e);
}

void TfrmBrowse::closeEvent(QCloseEvent* e)
{
    try {
        m_scorrimento.Riapri();
    } catch (...) {
        // closing never fails
    }
    e->accept();
}

void TfrmBrowse::imgPrimoClick() { Passo(Verso::Primo); }
void TfrmBrowse::imgIndietroClick() { Passo(Verso::Indietro); }
void TfrmBrowse::imgAvantiClick() { Passo(Verso::Avanti); }
void TfrmBrowse::imgUltimoClick() { Passo(Verso::Ultimo); }
void TfrmBrowse::imgFotoClick() { Passo(Verso::Avanti); }

void TfrmBrowse::Passo(Verso verso)
{
    Protetto([&] {
        std::optional<TSchedaMostrata> scheda;
        {
            CursoreOccupato occupato;
            scheda = m_scorrimento.Passo(verso);
        }
        // When the row found has no picture, the large sample photo takes its place;
        // a photo that failed to decode leaves the box empty.
        if (scheda && !MostraScheda(*scheda))
            return;
        if (ui->imgFoto->Foto().Vuota())
            ui->imgFoto->ImpostaFoto(m_campione);
    });
    m_anticipa->start();
}

bool TfrmBrowse::MostraScheda(const TSchedaMostrata& scheda)
{
    ui->imgFoto->Svuota();
    ui->lblPosizione->setText(QString::number(scheda.ID));
    ui->lblTitolo->setText(scheda.Titolo);
    ui->lblDidascalia->setText(scheda.Didascalia);
    if (scheda.Foto.isEmpty())
        return true;
    bool decodificata;
    TFoto foto;
    {
        CursoreOccupato occupato;
        const QSize box = ui->imgFoto->BoxDispositivo();
        foto = m_anticipo.Foto(scheda.ID, scheda.Foto, box);
        decodificata = !foto.Immagine(box).isNull();
    }
    if (!decodificata) {
        Piattaforma::Messaggi().Mostra(
            TipoMessaggio::Errore, QStringLiteral("Tegolario"),
            Testo::TestoErrore(QStringLiteral("La foto della scheda %1 non può essere visualizzata: i dati in "
                                              "archivio non sono una foto JPEG leggibile")
                                   .arg(scheda.ID)),
            this);
        return false;
    }
    ui->imgFoto->ImpostaFoto(foto);
    return true;
}

// The cards an arrow would bring up next, read now and decoded on the worker thread.
void TfrmBrowse::Anticipa()
{
    if (!isVisible())
        return;
    QList<TAnticipoFoto::Voce> voci;
    const QByteArray avanti = m_scorrimento.Query(Verso::Avanti);
    const QByteArray indietro = m_scorrimento.Query(Verso::Indietro);
    if (auto v = FotoVicine::Leggi(m_scorrimento.Archivio(), avanti))
        voci.append(*v);
    if (indietro != avanti)
        if (auto v = FotoVicine::Leggi(m_scorrimento.Archivio(), indietro))
            voci.append(*v);
    m_anticipo.Prepara(voci, ui->imgFoto->BoxDispositivo());
}

void TfrmBrowse::imgZoomClick()
{
    const TFoto foto = ui->imgFoto->Foto();
    bool mostrata = false;
    if (!foto.Vuota()) {
        try {
            QPointer<TfrmZoom> zoom = new TfrmZoom(this);
            zoom->ImpostaFoto(foto);
            zoom->exec();
            delete zoom.data();
            mostrata = true;
        } catch (...) {
            mostrata = false;
        }
    }
    if (!mostrata)
        Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Operazione annullata"),
                                       QStringLiteral("Attenzione: impossibile individuare la foto corrente."),
                                       this);
}
