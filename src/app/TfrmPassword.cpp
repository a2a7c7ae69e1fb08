#include "app/TfrmPassword.h"

#include "widgets/Flusso.h"
#include "app/Registro.h"
#include "store/Password.h"
#include "widgets/Comuni.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"
#include "ui_TfrmPassword.h"

#include <QCloseEvent>

namespace {
const QString Titolo = QStringLiteral("Tegolario");

void Avviso(QWidget* w, const QString& testo) {
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, Titolo, testo, w);
}
} // namespace

TfrmPassword::TfrmPassword(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmPassword>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmPassword"));
    Flusso::FinestraFissa(this, 415, 403);
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    ImpostaCarattere(ui->lblInfo, QStringLiteral("Verdana"), 11);
    ImpostaCarattere(ui->cmdOK, QStringLiteral("Verdana"), 16);
    ImpostaCarattere(ui->btnCambiaPassword, QStringLiteral("Verdana"), 11);
    ImpostaCarattere(ui->cmdEsci, QStringLiteral("Verdana"), 11);
    Flusso::CasellaPassword(ui->txtPassword, 19);
    for (QPushButton* b : {ui->cmdOK, ui->btnCambiaPassword, ui->cmdEsci}) b->setAutoDefault(true);

    auto* colori = new ColoriFuoco(this, Qt::white);
    colori->Aggiungi(ui->txtPassword);

    connect(ui->txtPassword, &QLineEdit::textChanged, this, [this] { txtPasswordChange(); });
    connect(ui->txtPassword, &QLineEdit::returnPressed, this, [this] { txtPasswordKeyPress(); });
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { Protetto([this] { cmdOKClick(); }); });
    connect(ui->btnCambiaPassword, &QPushButton::clicked, this,
            [this] { Protetto([this] { btnCambiaPasswordClick(); }); });
    connect(ui->cmdEsci, &QPushButton::clicked, this, [this] { cmdEsciClick(); });
}

TfrmPassword::~TfrmPassword() = default;

void TfrmPassword::showEvent(QShowEvent* e) {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        MostraImmagine(ui->imgLogo01, QStringLiteral(":/password/logo01.png"));
        MostraImmagine(ui->imgLogo02, QStringLiteral(":/password/logo02.png"));
    }
    if (!m_centrata) {
        m_centrata = true;
        Flusso::CentraSulDesktop(this);
    }
    QWidget::showEvent(e);
    ui->txtPassword->setFocus();
}

// Closing the main window, in any way, ends the program.
void TfrmPassword::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted()) Flusso::Termina();
}

void TfrmPassword::RitornaAllAccesso() {
    ui->txtPassword->clear();
    Flusso::Mostra(this);
    ui->txtPassword->setFocus();
}

void TfrmPassword::txtPasswordChange() {
    ui->cmdOK->setEnabled(!Testo::Rifila(ui->txtPassword->text()).isEmpty());
}

void TfrmPassword::txtPasswordKeyPress() {
    if (!Testo::Rifila(ui->txtPassword->text()).isEmpty()) ui->cmdOK->click();
}

void TfrmPassword::cmdOKClick() {
    switch (VerificaPassword(Piattaforma::CartellaProgramma(), ui->txtPassword->text())) {
    case EsitoAccesso::Giusta:
        if (QWidget* avvio = Registro::Finestra(QStringLiteral("frmAvvio"))) {
            Flusso::Mostra(avvio);
            hide();
            // Never shown again in this run; the typed password need not stay behind.
            ui->txtPassword->clear();
        }
        break;
    case EsitoAccesso::Errata:
        Avviso(this, QStringLiteral("Attenzione: password errata."));
        ui->txtPassword->clear();
        ui->txtPassword->setFocus();
        break;
    case EsitoAccesso::ErroreLettura:
        Avviso(this, QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura "
                                    "della password. Si consiglia di reinstallare il software."));
        break;
    }
}

void TfrmPassword::btnCambiaPasswordClick() {
    if (QWidget* cambia = Registro::Finestra(QStringLiteral("frmCambiaPassword"))) {
        Flusso::Mostra(cambia);
        hide();
    }
}

void TfrmPassword::cmdEsciClick() {
    close();
    Flusso::Termina();
}
