#include "find/TfrmTrova.h"

#include "find/AzioniElenco.h"
#include "find/ListaRisultati.h"
#include "find/TModelloElenco.h"
#include "platform/Piattaforma.h"
#include "ui_TfrmTrova.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "widgets/Testo1252.h"

#include <QShowEvent>
#include <QTimer>

namespace {

const QColor Verde = ColoriFuoco::VerdeChiaro();

void Pannello(QWidget* w) {
    Colora(w, QPalette::Window, Qt::white);
    w->setAutoFillBackground(true);
}

// A drop-down list paints its box with the button colour.
void ColoraElenco(QWidget* w, QColor c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

} // namespace

TfrmTrova::TfrmTrova(const TCategoria& categoria, TfrmScheda* scheda, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmTrova>()), m_ricerca(categoria), m_scheda(scheda) {
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra("Trova"));
    Aspetto();
    connect(ui->cboCriterio, &QComboBox::activated, this, &TfrmTrova::cboCriterioChange);
    connect(ui->txtCriterio, &QLineEdit::textChanged, this, &TfrmTrova::txtCriterioChange);
    connect(ui->btnPopola, &QPushButton::clicked, this, &TfrmTrova::btnPopolaClick);
    connect(ui->btnTrova, &QPushButton::clicked, this, &TfrmTrova::btnTrovaClick);
    connect(ui->lstRecords, &ListaRisultati::DoppioClic, this, &TfrmTrova::lstRecordsDblClick);
    connect(ui->btnStampa, &QPushButton::clicked, this, &TfrmTrova::btnStampaClick);
    connect(ui->btnChiudi, &QPushButton::clicked, this, &TfrmTrova::btnChiudiClick);
}

TfrmTrova::~TfrmTrova() = default;

void TfrmTrova::Aspetto() {
    Flusso::FinestraFissa(this, 783, 505);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(Carattere(QStringLiteral("Verdana"), 11));
    for (QWidget* w : {ui->shpTrova, ui->shpChiave, ui->shpSelezionaVoce}) Pannello(w);

    const QFont grande = Carattere(QStringLiteral("Verdana"), 13);
    for (QWidget* w : {static_cast<QWidget*>(ui->lblInfo03), static_cast<QWidget*>(ui->lblChiave),
                       static_cast<QWidget*>(ui->cboCriterio), static_cast<QWidget*>(ui->txtCriterio),
                       static_cast<QWidget*>(ui->txtTrova)})
        w->setFont(grande);
    Colora(ui->LabelCount, QPalette::WindowText, Qt::white);

    for (const TCriterio& c : Criteri) ui->cboCriterio->addItem(QString::fromLatin1(c.Voce));
    ui->cboCriterio->setCurrentIndex(0);
    ui->cboCriterio->setFocusPolicy(Qt::ClickFocus); // Tab skips it
    ui->cboCriterio->setMaxVisibleItems(10);
    ColoraElenco(ui->cboCriterio, Verde);
    ui->cboCriterio->installEventFilter(this);

    auto* colori = new ColoriFuoco(this, Verde);
    for (QLineEdit* t : {ui->txtCriterio, ui->txtTrova}) {
        Testo1252::Filtra(t);
        colori->Aggiungi(t);
    }
    for (QPushButton* b : {ui->btnStampa, ui->btnChiudi}) b->setFocusPolicy(Qt::ClickFocus);
    for (QPushButton* b : {ui->btnPopola, ui->btnTrova, ui->btnStampa, ui->btnChiudi}) b->setAutoDefault(false);

    ListaRisultati* lista = ui->lstRecords;
    lista->setFont(Carattere(QStringLiteral("Courier New"), 11));
    Colora(lista, QPalette::Base, Verde);
    lista->ImpostaEstensione(1500);

    setTabOrder(ui->txtCriterio, ui->btnPopola);
    setTabOrder(ui->btnPopola, ui->txtTrova);
    setTabOrder(ui->txtTrova, ui->btnTrova);
    setTabOrder(ui->btnTrova, ui->lstRecords);
}

bool TfrmTrova::eventFilter(QObject* o, QEvent* e) {
    if (o == ui->cboCriterio && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut))
        ColoraElenco(ui->cboCriterio, e->type() == QEvent::FocusIn ? ColoriFuoco::Giallo() : Verde);
    return QDialog::eventFilter(o, e);
}

void TfrmTrova::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        MostraImmagine(ui->imgLente, QStringLiteral(":/trova/lente.png"));
        MostraImmagine(ui->imgChiave, QStringLiteral(":/trova/chiave.png"));
    }
    Flusso::CentraSulDesktop(this);
    FormShow();
}

void TfrmTrova::FormShow() {
    ui->lstRecords->Modello()->Svuota();
    try {
        CursoreOccupato cursore;
        m_ricerca.ApriPrimaScheda();
    } catch (...) {
        // Like the card window's opening of its children: nothing said, not shown.
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    m_ultimaChiave.clear();
    ui->txtTrova->clear();
    AzioniElenco::Conteggio(ui->LabelCount, 0);
    ui->txtCriterio->setFocus(Qt::OtherFocusReason);
}

void TfrmTrova::done(int esito) {
    FormClose();
    QDialog::done(esito);
}

void TfrmTrova::FormClose() {
    try {
        m_ricerca.ApriPrimaScheda();
    } catch (...) {
        // Closing never fails.
    }
}

void TfrmTrova::cboCriterioChange() { ui->btnPopola->setEnabled(true); }

void TfrmTrova::txtCriterioChange() { ui->btnPopola->setEnabled(!ui->txtCriterio->text().isEmpty()); }

void TfrmTrova::btnPopolaClick() {
    TModelloElenco* m = ui->lstRecords->Modello();
    Protetto([&] {
        CursoreOccupato cursore;
        m->Svuota();
        AzioniElenco::Conteggio(ui->LabelCount, 0);
        m->Imposta(m_ricerca.CercaPerCriterio(ui->cboCriterio->currentText(), ui->txtCriterio->text()));
        AzioniElenco::Conteggio(ui->LabelCount, m->Conteggio());
    });
}

void TfrmTrova::btnTrovaClick() { AzioniElenco::TrovaNellaLista(ui->lstRecords, ui->txtTrova->text(), m_ultimaChiave); }

void TfrmTrova::lstRecordsDblClick() {
    switch (AzioniElenco::ApriScelta(ui->lstRecords, m_ricerca, m_scheda)) {
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

void TfrmTrova::btnStampaClick() {
    AzioniElenco::Stampa(ui->lstRecords, Categoria(), TipoMessaggio::Domanda,
                         QStringLiteral("Si vuole stampare l'elenco corrente?"), QString(23, QLatin1Char('-')));
}

void TfrmTrova::btnChiudiClick() { close(); }
