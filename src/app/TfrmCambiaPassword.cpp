#include "app/TfrmCambiaPassword.h"

#include "widgets/Flusso.h"
#include "app/Registro.h"
#include "store/Password.h"
#include "app/TfrmPassword.h"
#include "widgets/Comuni.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"
#include "ui_TfrmCambiaPassword.h"

#include <QCloseEvent>

namespace {
void Avviso(QWidget* w, const QString& testo) {
    Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Tegolario"), testo, w);
}
} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TfrmCambiaPassword>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmCambiaPassword"));
    Flusso::FinestraFissa(this, 415, 403);
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lblPasswordOld, ui->lblPasswordNew, ui->lblConferma,
                                                      ui->cmdOK, ui->cmdEsci})
        ImpostaCarattere(w, QStringLiteral("Verdana"), 11);
    for (QPushButton* b : {ui->cmdOK, ui->cmdEsci}) b->setAutoDefault(true);

    auto* colori = new ColoriFuoco(this, Qt::white);
    for (QLineEdit* t : {ui->txtPasswordOld, ui->txtPasswordNew, ui->txtConferma}) {
        Flusso::CasellaPassword(t, 13);
        colori->Aggiungi(t);
        connect(t, &QLineEdit::textChanged, this, [this] { txtChange(); });
    }
    connect(ui->txtPasswordOld, &QLineEdit::returnPressed, this, [this] { ui->txtPasswordNew->setFocus(); });
    connect(ui->txtPasswordNew, &QLineEdit::returnPressed, this, [this] { ui->txtConferma->setFocus(); });
    connect(ui->txtConferma, &QLineEdit::returnPressed, this, [this] {
        if (ui->cmdOK->isEnabled())
            ui->cmdOK->setFocus();
        else
            ui->txtPasswordOld->setFocus();
    });
    connect(ui->cmdOK, &QPushButton::clicked, this, [this] { Protetto([this] { cmdOKClick(); }); });
    connect(ui->cmdEsci, &QPushButton::clicked, this, [this] { close(); });
}

TfrmCambiaPassword::~TfrmCambiaPassword() = default;

void TfrmCambiaPassword::showEvent(QShowEvent* e) {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        MostraImmagine(ui->imgLogo01, QStringLiteral(":/password/logo01.png"));
        MostraImmagine(ui->Image1, QStringLiteral(":/password/image1.png"));
    }
    if (!m_centrata) {
        m_centrata = true;
        Flusso::CentraSulDesktop(this);
    }
    QWidget::showEvent(e);
    ui->txtPasswordOld->clear();
    ui->txtPasswordNew->clear();
    ui->txtConferma->clear();
    ui->txtPasswordOld->setFocus();
}

// Any way of leaving goes back to the login window with an empty box.
void TfrmCambiaPassword::closeEvent(QCloseEvent* e) {
    if (auto* accesso = qobject_cast<TfrmPassword*>(Registro::Finestra(QStringLiteral("frmPassword"))))
        accesso->RitornaAllAccesso();
    QWidget::closeEvent(e);
}

void TfrmCambiaPassword::txtChange() {
    const auto pieno = [](QLineEdit* t) { return !Testo::Rifila(t->text()).isEmpty(); };
    ui->cmdOK->setEnabled(pieno(ui->txtPasswordOld) && pieno(ui->txtPasswordNew) && pieno(ui->txtConferma));
}

void TfrmCambiaPassword::cmdOKClick() {
    switch (CambiaPassword(Piattaforma::CartellaProgramma(), ui->txtPasswordOld->text(),
                           ui->txtPasswordNew->text(), ui->txtConferma->text())) {
    case EsitoCambio::VecchiaErrata:
        Avviso(this, QStringLiteral("Attenzione: vecchia password errata."));
        ui->txtPasswordOld->clear();
        ui->txtPasswordOld->setFocus();
        break;
    case EsitoCambio::ConfermaDiversa:
        Avviso(this, QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                                    "E' necessario reinserire entrambi i valori."));
        ui->txtPasswordNew->clear();
        ui->txtConferma->clear();
        ui->txtPasswordNew->setFocus();
        break;
    case EsitoCambio::Cambiata:
        Avviso(this, QStringLiteral("Modifica della password avvenuta con successo."));
        close();
        break;
    case EsitoCambio::Errore:
        Avviso(this, QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica "
                                    "della password. Si consiglia di reinstallare il software."));
        break;
    }
}
