#include "find/TfrmRicerca.h"

#include "find/AzioniElenco.h"
#include "find/ListaRisultati.h"
#include "find/TModelloElenco.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"
#include "ui_TfrmRicerca.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "widgets/Testo1252.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace {

const QColor Verde = ColoriFuoco::VerdeChiaro();
const QColor Blu(0, 0, 128);

void Pannello(QFrame* w, QColor colore, bool bordo) {
    Colora(w, QPalette::Window, colore);
    w->setAutoFillBackground(true);
    if (bordo) {
        Colora(w, QPalette::WindowText, Qt::black);
        w->setFrameShape(QFrame::Box);
        w->setFrameShadow(QFrame::Plain);
        w->setLineWidth(1);
    }
}

} // namespace

TfrmRicerca::TfrmRicerca(const TCategoria& categoria, TfrmScheda* scheda, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmRicerca>()), m_ricerca(categoria), m_scheda(scheda) {
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra("Ricerca"));
    Aspetto();
    connect(ui->cmdTrova, &QPushButton::clicked, this, &TfrmRicerca::cmdTrovaClick);
    connect(ui->cmdIndietro, &QPushButton::clicked, this, &TfrmRicerca::cmdIndietroClick);
    connect(ui->cmdTrova02, &QPushButton::clicked, this, &TfrmRicerca::cmdTrova02Click);
    connect(ui->lstRecords, &ListaRisultati::DoppioClic, this, &TfrmRicerca::lstRecordsDblClick);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &TfrmRicerca::cmdStampaClick);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &TfrmRicerca::cmdAnnullaClick);
}

TfrmRicerca::~TfrmRicerca() = default;

void TfrmRicerca::Aspetto() {
    Flusso::FinestraFissa(this, 783, 505);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(Carattere(QStringLiteral("Verdana"), 11));

    Pannello(ui->shpLogo, Qt::white, true);
    Pannello(ui->shpTitolo, Blu, false);
    Pannello(ui->shpSfondo, Qt::white, true);
    Pannello(ui->shpTrova, Qt::white, true);
    ui->lblTitolo->setText(Categoria().TitoloRicerca());
    ui->lblTitolo->setFont(Carattere(QStringLiteral("Verdana"), 24, true));
    Colora(ui->lblTitolo, QPalette::WindowText, Qt::white);
    const QFont grassetto = Carattere(QStringLiteral("Verdana"), 11, true);
    for (QLabel* l : {ui->lblInfo, ui->lblInfo04, ui->lblInfo05, ui->lblInfo06}) l->setFont(grassetto);
    Colora(ui->lblInfo03, QPalette::WindowText, QColor(128, 0, 0));
    Colora(ui->LabelCount, QPalette::WindowText, Qt::white);
    ui->lblMemory->hide();
    ui->lblMemory->setTextFormat(Qt::PlainText);

    // The nine boxes in the order of the fields, for Tab and for Enter (a ring).
    QLineEdit* caselle[] = {ui->txtTitolo, ui->txtAutore, ui->txtAlbum, ui->txtCategoria, ui->txtData,
                            ui->txtFotocamera, ui->txtLuogo, ui->txtSoggetti, ui->txtNote};
    auto* colori = new ColoriFuoco(this, Verde);
    for (int i = 0; i < NumeroCaselleRicerca; ++i) {
        QLineEdit* c = caselle[i];
        c->setFont(grassetto);
        Testo1252::Filtra(c);
        colori->Aggiungi(c);
        c->installEventFilter(this);
        m_invioSuccessivo.insert(c, caselle[(i + 1) % NumeroCaselleRicerca]);
        if (i + 1 < NumeroCaselleRicerca) setTabOrder(c, caselle[i + 1]);
    }
    for (QLabel* l : ui->grpCriteri->findChildren<QLabel*>())
        if (l->objectName().startsWith(QLatin1String("lblCampo"))) {
            l->setFont(grassetto);
            Colora(l, QPalette::WindowText, Blu);
        }
    Testo1252::Filtra(ui->txtTrova);
    colori->Aggiungi(ui->txtTrova);

    for (QPushButton* b : {ui->cmdTrova02, ui->cmdIndietro, ui->cmdStampa, ui->cmdTrova, ui->cmdAnnulla}) {
        b->setFocusPolicy(Qt::ClickFocus);
        b->setAutoDefault(false);
    }
    ListaRisultati* lista = ui->lstRecords;
    lista->setFont(Carattere(QStringLiteral("Courier New"), 11));
    Colora(lista, QPalette::Base, Qt::white);
    lista->setFrameShape(QFrame::Box);
    lista->setFrameShadow(QFrame::Plain);
    lista->setFocusPolicy(Qt::ClickFocus);
    ui->grpElenco->hide();
    ui->LabelCount->hide();
}

bool TfrmRicerca::PaginaRisultati() const { return !ui->grpElenco->isHidden(); }

bool TfrmRicerca::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(e)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter)
            if (QWidget* prossima = m_invioSuccessivo.value(o)) {
                prossima->setFocus(Qt::TabFocusReason);
                return true;
            }
    }
    return QDialog::eventFilter(o, e);
}

void TfrmRicerca::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        MostraImmagine(ui->imgLogo, QStringLiteral(":/trova/mano.png"));
        MostraImmagine(ui->icoRicerca01, QStringLiteral(":/trova/stanza.png"));
        MostraImmagine(ui->imgLente, QStringLiteral(":/trova/lente.png"));
    }
    Flusso::CentraSulDesktop(this);
    FormShow();
}

void TfrmRicerca::FormShow() {
    // Showing does not touch the archive; the boxes and the last find key stay.
    PaginaCriteri();
}

void TfrmRicerca::PaginaCriteri() {
    ui->lstRecords->Modello()->Svuota();
    ui->cmdIndietro->setEnabled(false);
    ui->cmdTrova->setEnabled(true);
    ui->grpElenco->hide();
    ui->grpCriteri->show();
    ui->LabelCount->hide();
    ui->txtTitolo->setFocus(Qt::OtherFocusReason);
    ui->cmdStampa->setEnabled(false);
}

void TfrmRicerca::done(int esito) {
    FormClose();
    QDialog::done(esito);
}

void TfrmRicerca::FormClose() {
    try {
        m_ricerca.ApriPrimaScheda();
    } catch (...) {
        // Closing never fails.
    }
}

void TfrmRicerca::cmdTrovaClick() {
    TModelloElenco* m = ui->lstRecords->Modello();
    Protetto([&] {
        CursoreOccupato cursore;
        m->Svuota();
        const std::array<QString, NumeroCaselleRicerca> caselle = {
            ui->txtTitolo->text(),     ui->txtAutore->text(), ui->txtAlbum->text(),
            ui->txtCategoria->text(),  ui->txtData->text(),   ui->txtFotocamera->text(),
            ui->txtLuogo->text(),      ui->txtSoggetti->text(), ui->txtNote->text()};
        m->Imposta(m_ricerca.CercaAvanzata(caselle));
        AzioniElenco::Conteggio(ui->LabelCount, m->Conteggio());
        ui->lstRecords->ImpostaEstensione(3000);
        ui->grpElenco->show();
        ui->grpCriteri->hide();
        ui->LabelCount->show();
        ui->cmdTrova->setEnabled(false);
        ui->cmdIndietro->setEnabled(true);
        ui->txtTrova->clear();
        ui->txtTrova->setFocus(Qt::OtherFocusReason);
        ui->cmdStampa->setEnabled(true);
    });
}

void TfrmRicerca::cmdIndietroClick() { PaginaCriteri(); }

void TfrmRicerca::cmdTrova02Click() {
    AzioniElenco::TrovaNellaLista(ui->lstRecords, ui->txtTrova->text(), m_ultimaChiave);
}

void TfrmRicerca::lstRecordsDblClick() {
    // Only the category whose card window wrote its key here gets the card.
    const bool propria = Testo::Rifila(ui->lblMemory->text()) == QLatin1String(Categoria().Tabella);
    switch (AzioniElenco::ApriScelta(ui->lstRecords, m_ricerca, propria ? m_scheda : nullptr)) {
    case AzioniElenco::Esito::NessunaRiga:
        return;
    case AzioniElenco::Esito::NonAperta:
        AzioniElenco::AvvisaNonAperta(this);
        return;
    case AzioniElenco::Esito::Aperta:
        close();
        return;
    }
}

void TfrmRicerca::cmdStampaClick() {
    AzioniElenco::Stampa(ui->lstRecords, Categoria(), TipoMessaggio::DomandaConIcona,
                         QStringLiteral("Si vuole stampare il presente elenco?"), QString(17, QLatin1Char('-')));
}

void TfrmRicerca::cmdAnnullaClick() { close(); }
