#include "app/TfrmHelpForm.h"

#include "platform/Piattaforma.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "ui_TfrmHelpForm.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWindow>

namespace {
const QColor Blu(0, 0, 128);
} // namespace

TfrmHelpForm::TfrmHelpForm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmHelpForm>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmHelpForm"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(561, 459);
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    Colora(this, QPalette::Window, Blu);
    setAutoFillBackground(true);

    ImpostaCarattere(ui->panTitle, QStringLiteral("Verdana"), 13);
    Colora(ui->panTitle, QPalette::Window, Qt::black);
    Colora(ui->panTitle, QPalette::WindowText, Qt::white);
    Colora(ui->panContainer, QPalette::Window, Blu);

    ImpostaCarattere(ui->memTopic, QStringLiteral("Verdana"), 13);
    Colora(ui->memTopic, QPalette::Base, Blu);
    Colora(ui->memTopic, QPalette::Text, Qt::white);
    ui->memTopic->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    QFont collegamento = Carattere(QStringLiteral("Verdana"), 11);
    collegamento.setUnderline(true);
    ui->lblPDF->setFont(collegamento);
    ColoreCollegamento(Qt::white);
    ui->cmdOK->setAutoDefault(false);
    ui->cmdOK->setDefault(true);

    // The link turns red under the pointer and white again over the window or the text.
    setMouseTracking(true);
    for (QWidget* w : {static_cast<QWidget*>(ui->lblPDF), static_cast<QWidget*>(ui->imgPDF),
                       ui->memTopic->viewport()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    connect(ui->cmdOK, &QPushButton::clicked, this, &TfrmHelpForm::cmdOKClick);
    connect(ui->lblPDF, &Collegamento::rilasciato, this, [this] { Protetto([this] { lblPDFMouseUp(); }); });
    connect(ui->imgPDF, &PulsanteImmagine::rilasciato, this, [this] { Protetto([this] { lblPDFMouseUp(); }); });
}

TfrmHelpForm::~TfrmHelpForm() = default;

void TfrmHelpForm::ImpostaArgomento(const TArgomentoGuida& argomento) {
    m_argomento = argomento;
    ui->panTitle->setText(argomento.Titolo);
    // The box works with "\n"; the topic keeps its CR LF pairs.
    ui->memTopic->setPlainText(argomento.Paragrafi.join(QStringLiteral("\n\n")));
    ui->memTopic->moveCursor(QTextCursor::Start);
    ui->memTopic->verticalScrollBar()->setValue(0);
}

void TfrmHelpForm::MostraArgomento(const TArgomentoGuida& argomento, QWidget* apertoDa) {
    ImpostaArgomento(argomento);
    // Kept above the window that asked, which waits underneath.
    if (apertoDa) {
        winId();
        if (QWindow* w = windowHandle(); w && apertoDa->window()->windowHandle())
            w->setTransientParent(apertoDa->window()->windowHandle());
    }
    Flusso::MostraModale(this);
}

void TfrmHelpForm::showEvent(QShowEvent* e) {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        MostraImmagine(ui->imgLogo, QStringLiteral(":/guida/logo.png"));
        ui->imgPDF->ImpostaImmagine(QStringLiteral(":/guida/pdf.png"));
        setWindowIcon(QIcon(QStringLiteral(":/guida/icona.png")));
    }
    ColoreCollegamento(Qt::white);
    QDialog::showEvent(e);
    Flusso::CentraSulDesktop(this);
    ui->cmdOK->setFocus(Qt::OtherFocusReason);
}

void TfrmHelpForm::ColoreCollegamento(QColor colore) { Colora(ui->lblPDF, QPalette::WindowText, colore); }

void TfrmHelpForm::mouseMoveEvent(QMouseEvent* e) {
    ColoreCollegamento(Qt::white);
    QDialog::mouseMoveEvent(e);
}

bool TfrmHelpForm::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        if (o == ui->lblPDF || o == ui->imgPDF) {
            ColoreCollegamento(Qt::red);
            return true; // not passed on to the window, which would make it white again
        }
        if (o == ui->memTopic->viewport())
            ColoreCollegamento(Qt::white);
    }
    return QDialog::eventFilter(o, e);
}

void TfrmHelpForm::cmdOKClick() { accept(); }

// Nothing is reported: without the file or a PDF viewer nothing visible happens.
void TfrmHelpForm::lblPDFMouseUp() {
    const QString percorso = Piattaforma::PercorsoProgramma(QString::fromLatin1(FileGuida));
    CursoreOccupato occupato;
    Piattaforma::ApriSistema().Apri(percorso);
}
