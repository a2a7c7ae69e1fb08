#include "export/TfrmExp.h"

#include "export/Esportazione.h"
#include "export/VistaGriglia.h"
#include "store/Testo.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "ui_TfrmExp.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QShowEvent>

namespace {

void ColoreEtichetta(QLabel* l, QColor c) { Colora(l, QPalette::WindowText, c); }

} // namespace

TfrmExp::TfrmExp(const TCategoria& categoria, QWidget* parent)
    : QWidget(parent), m_categoria(categoria), ui(std::make_unique<Ui::TfrmExp>()),
      m_modello(new TModelloGriglia(this)), m_archivio(categoria) {
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra("Exp"));
    setWindowTitle(categoria.CaptionEsportazione());
    Flusso::FinestraFissa(this, 783, 505);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(Carattere(QStringLiteral("Tahoma"), 11));

    QFont collegamento = Carattere(QStringLiteral("Verdana"), 11);
    collegamento.setUnderline(true);
    for (QLabel* l : {static_cast<QLabel*>(ui->lblExcel), static_cast<QLabel*>(ui->lblGuida),
                      static_cast<QLabel*>(ui->lblEsci)}) {
        l->setFont(collegamento);
        ColoreEtichetta(l, Qt::black);
    }
    ui->panInfo->setFont(Carattere(QStringLiteral("Tahoma"), 11));

    // Pointer moves: the commands (picture and label), the frame's background; the grid's at its making.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->imgExcel, ui->lblExcel, ui->imgGuida, ui->lblGuida,
                                                      ui->imgEsci, ui->lblEsci, ui->grpControlli}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    connect(ui->imgExcel, &PulsanteImmagine::rilasciato, this, &TfrmExp::imgExcelMouseUp);
    connect(ui->lblExcel, &Collegamento::rilasciato, this, &TfrmExp::imgExcelMouseUp);
    connect(ui->imgGuida, &PulsanteImmagine::rilasciato, this, &TfrmExp::imgGuidaMouseUp);
    connect(ui->lblGuida, &Collegamento::rilasciato, this, &TfrmExp::imgGuidaMouseUp);
    connect(ui->imgEsci, &PulsanteImmagine::rilasciato, this, &TfrmExp::imgEsciMouseUp);
    connect(ui->lblEsci, &Collegamento::rilasciato, this, &TfrmExp::imgEsciMouseUp);
}

TfrmExp::~TfrmExp() = default;

void TfrmExp::CaricaImmagini() {
    if (m_immaginiCaricate) return;
    m_immaginiCaricate = true;
    MostraImmagine(ui->imgLogo, QStringLiteral(":/esporta/logo.png"));
    ui->imgExcel->ImpostaImmagine(QStringLiteral(":/esporta/excel.png"));
    ui->imgGuida->ImpostaImmagine(QStringLiteral(":/esporta/guida.png"));
    ui->imgEsci->ImpostaImmagine(QStringLiteral(":/esporta/esci.png"));
    setWindowIcon(QIcon(QStringLiteral(":/esporta/excel.png")));
}

// The grid, docked above the status line: 10 x 10 empty cells until it is first filled.
void TfrmExp::CreaGriglia() {
    if (m_griglia) return;
    m_griglia = new VistaGriglia(this);
    m_griglia->setObjectName(QStringLiteral("grdRecords"));
    m_griglia->setGeometry(0, 96, 783, 383);
    m_griglia->ImpostaModello(m_modello);
    std::initializer_list<QWidget*> parti{m_griglia, m_griglia->viewport(), m_griglia->horizontalHeader(),
                                          m_griglia->verticalHeader(), m_griglia->Angolo()};
    for (QWidget* w : parti) {
        if (!w) continue;
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    m_griglia->show();
}

void TfrmExp::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (e->spontaneous()) return; // a restore from the task bar is not a new showing
    CreaGriglia();
    CaricaImmagini();
    Flusso::CentraSulDesktop(this);
    FormShow();
}

void TfrmExp::FormShow() {
    // Whatever fails, the window shows what the grid holds.
    try {
        if (!m_archivio.ApriArchivio(QueryGriglia(m_archivio.Tabella()))) return; // table just created
        TSQLiteTable* risultato = m_archivio.Risultato();
        if (!risultato) return;
        risultato->First();
        if (risultato->Count() > 0) {
            m_modello->Cambia([&](TGriglia& g) { FillGrid(g, *risultato); });
            m_griglia->ApplicaLarghezze(m_modello->Griglia());
        }
    } catch (...) {
    }
}

void TfrmExp::closeEvent(QCloseEvent* e) {
    FormClose();
    e->accept();
}

void TfrmExp::FormClose() {
    // While hidden the window keeps at most one card; the grid stays until the next showing.
    try {
        m_archivio.ApriArchivio(QueryGriglia(m_archivio.Tabella()) + " LIMIT 1 OFFSET 0");
    } catch (...) {
    }
}

void TfrmExp::Etichetta(QLabel* rossa, const QString& suggerimento) {
    ui->panInfo->setText(suggerimento);
    if (rossa) {
        ColoreEtichetta(rossa, Qt::red);
        return;
    }
    for (QLabel* l :
         {static_cast<QLabel*>(ui->lblExcel), static_cast<QLabel*>(ui->lblGuida), static_cast<QLabel*>(ui->lblEsci)})
        ColoreEtichetta(l, Qt::black);
}

void TfrmExp::imgExcelMouseMove() { Etichetta(ui->lblExcel, QStringLiteral(" Esporta i dati in un file di Microsoft Excel.")); }
void TfrmExp::imgGuidaMouseMove() { Etichetta(ui->lblGuida, QStringLiteral(" Visualizza la guida in linea.")); }
void TfrmExp::imgEsciMouseMove() { Etichetta(ui->lblEsci, QStringLiteral(" Esce dalla schermata di lavoro corrente.")); }
void TfrmExp::grpControlliMouseMove() { Etichetta(nullptr, QString()); }

void TfrmExp::grdRecordsMouseMove() {
    // The selected cell's text, wherever the pointer is.
    Etichetta(nullptr, QLatin1Char(' ') + Testo::Rifila(m_griglia->TestoCorrente()));
}

void TfrmExp::imgExcelMouseUp() {
    Protetto([&] { ExportGridToExcel(m_modello->Griglia(), m_categoria.NomeFoglio()); });
}

void TfrmExp::imgGuidaMouseUp() {
    Protetto([&] { emit GuidaRichiesta(); });
}

void TfrmExp::imgEsciMouseUp() { close(); }

bool TfrmExp::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::MouseMove) return QWidget::eventFilter(o, e);
    if (o == ui->imgExcel || o == ui->lblExcel)
        imgExcelMouseMove();
    else if (o == ui->imgGuida || o == ui->lblGuida)
        imgGuidaMouseMove();
    else if (o == ui->imgEsci || o == ui->lblEsci)
        imgEsciMouseMove();
    else if (o == ui->grpControlli) {
        // Only the frame's own background: the logo has no action.
        if (!ui->grpControlli->childAt(static_cast<QMouseEvent*>(e)->position().toPoint())) grpControlliMouseMove();
    } else
        grdRecordsMouseMove(); // the grid, its headings or its corner
    return false;
}
