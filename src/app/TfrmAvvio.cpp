#include "app/TfrmAvvio.h"

#include "widgets/Flusso.h"
#include "app/ArgomentiGuida.h"
#include "app/Registro.h"
#include "widgets/Comuni.h"
#include "platform/Piattaforma.h"
#include "store/TCategoria.h"
#include "ui_TfrmAvvio.h"

#include <QCloseEvent>
#include <QMovie>

namespace {
const QColor BluStriscia(71, 96, 192);

} // namespace

TfrmAvvio::TfrmAvvio(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmAvvio>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmAvvio"));
    ui->btnSfondo->hide();
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    setMinimumSize(1022, 704); // outer 1038 x 742 with the frame
    resize(1022, 704);
    Massimizza(this);
    Colora(this, QPalette::Window, Qt::white);
    setAutoFillBackground(true);
    Colora(ui->grpContainer, QPalette::Window, Qt::white);
    Colora(ui->shpSubTitle, QPalette::Window, BluStriscia);
    Colora(ui->shpFootNote, QPalette::Window, BluStriscia);
    for (QLabel* l : {ui->lblSlogan, static_cast<QLabel*>(ui->lblWeb)}) {
        ImpostaCarattere(l, QStringLiteral("Verdana"), 13);
        Colora(l, QPalette::WindowText, Qt::white);
    }
    new Centratore(this, ui->grpContainer, 4, 18);

    // Two rows of five: the tile picture and, under it, its button picture.
    for (const TCategoria& c : Categorie::Tutte()) {
        const int colonna = c.RiquadroPosizione - 1;
        const bool alta = c.RiquadroRiga == TCategoria::Riga::Alta;
        auto* img = new PulsanteImmagine(ui->grpContainer);
        img->setObjectName(QStringLiteral("img") + QLatin1String(c.Radice));
        img->setGeometry(16 + 194 * colonna, alta ? 152 : 376, 187, 165);
        auto* btn = new PulsanteImmagine(ui->grpContainer);
        btn->setObjectName(QStringLiteral("btn") + QLatin1String(c.Radice));
        btn->setGeometry(20 + 194 * colonna, alta ? 320 : 544, 180, 37);
        for (PulsanteImmagine* p : {img, btn})
            connect(p, &PulsanteImmagine::clicked, this, [this, &c] { ApriCategoria(c); });
    }

    connect(ui->imgInfo, &PulsanteImmagine::clicked, this, [this] { Protetto([this] { imgInfoClick(); }); });
    connect(ui->imgGuida, &PulsanteImmagine::clicked, this, [this] { Protetto([this] { imgGuidaClick(); }); });
    connect(ui->imgCopyright, &PulsanteImmagine::clicked, this,
            [this] { Protetto([this] { imgCopyrightClick(); }); });
    connect(ui->imgEsci, &PulsanteImmagine::clicked, this, [] { Flusso::Termina(); });
    connect(ui->lblWeb, &Collegamento::rilasciato, this, [this] { Protetto([this] { lblWebMouseUp(); }); });
}

TfrmAvvio::~TfrmAvvio() = default;

void TfrmAvvio::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous() && !(windowState() & Qt::WindowMaximized)) Massimizza(this);
    Protetto([this] { FormShow(); });
}

void TfrmAvvio::hideEvent(QHideEvent* e) {
    // Nobody sees the banner while the launcher is hidden; the next showing reloads it.
    if (m_banner) m_banner->stop();
    QWidget::hideEvent(e);
}

void TfrmAvvio::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    Flusso::Termina();
}

void TfrmAvvio::FormShow() {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        const auto carica = [](QLabel* l, const char* risorsa) {
            if (auto* p = qobject_cast<PulsanteImmagine*>(l))
                p->ImpostaImmagine(QString::fromLatin1(risorsa));
            else
                MostraImmagine(l, QString::fromLatin1(risorsa));
        };
        carica(ui->imgLogo00, ":/avvio/logo00.png");
        carica(ui->imgLogo01, ":/avvio/logo01.png");
        carica(ui->imgInfo, ":/avvio/info.png");
        carica(ui->imgGuida, ":/avvio/guida.png");
        carica(ui->imgCopyright, ":/avvio/copyright.png");
        carica(ui->imgEsci, ":/avvio/esci.png");
        carica(ui->imgAnimata, ":/avvio/banner_fermo.png");
        for (const TCategoria& c : Categorie::Tutte()) {
            if (auto* img = findChild<PulsanteImmagine*>(QStringLiteral("img") + QLatin1String(c.Radice)))
                img->ImpostaImmagine(c.ImmagineRiquadro());
            if (auto* btn = findChild<PulsanteImmagine*>(QStringLiteral("btn") + QLatin1String(c.Radice)))
                btn->ImpostaImmagine(c.ImmaginePulsante());
        }
    }
    PiastrellaSfondo(this, QStringLiteral(":/avvio/sfondo.png"));
    CaricaBanner();
}

// The banner is loaded afresh at every showing, so it starts from its first frame.
void TfrmAvvio::CaricaBanner() {
    auto* film = new QMovie(QStringLiteral(":/RESNAME"), QByteArray("gif"), this);
    if (!film->isValid()) {
        delete film; // the picture keeps what it had
        return;
    }
    QMovie* vecchio = m_banner;
    m_banner = film;
    ui->imgAnimata->setMovie(film);
    film->start();
    ui->imgAnimata->resize(film->frameRect().size().isValid() ? film->frameRect().size()
                                                               : ui->imgAnimata->size());
    delete vecchio;
}

void TfrmAvvio::ApriCategoria(const TCategoria& categoria) {
    Protetto([&] {
        QWidget* scheda = Registro::Finestra(categoria.NomeFinestra());
        if (!scheda) return;
        Flusso::Mostra(scheda);
        hide();
    });
}

void TfrmAvvio::imgInfoClick() { Flusso::MostraModale(Registro::Finestra(QStringLiteral("frmInfo"))); }

void TfrmAvvio::imgCopyrightClick() { Flusso::MostraModale(Registro::Finestra(QStringLiteral("frmSplash"))); }

void TfrmAvvio::imgGuidaClick() { Registro::MostraGuida(ArgomentiGuida::Avvio(), this); }

void TfrmAvvio::lblWebMouseUp() {
    CursoreOccupato occupato;
    Piattaforma::ApriSistema().Apri(QString::fromLatin1(Flusso::SitoProduttore), QStringLiteral("Open"));
}
