#include "show/TfrmSlide.h"

#include "platform/Piattaforma.h"
#include "store/CausaArchivio.h"
#include "store/FotoVicine.h"
#include "store/Testo.h"
#include "ui_TfrmSlide.h"
#include "widgets/Comuni.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

namespace {
const char* const Avvio = "Avvio slideshow. Attendere...";
constexpr int AltezzaBanda = 32;
} // namespace

TfrmSlide::TfrmSlide(const TCategoria& categoria, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_categoria(categoria), ui(new Ui::TfrmSlide),
      m_timer(new QTimer(this)), m_anticipa(new QTimer(this)), m_scorrimento(categoria)
{
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra("Slide"));
    setWindowTitle(QStringLiteral("Tegolario"));
    Colora(this, QPalette::Window, Qt::white);
    setAutoFillBackground(true);

    ui->panTitolo->setFont(Carattere(QStringLiteral("Verdana"), 19, true));
    ui->panTitolo->setTextFormat(Qt::PlainText);
    ui->panTitolo->setFrameShape(QFrame::NoFrame);
    Colora(ui->panTitolo, QPalette::Window, QColor(103, 149, 205));
    Colora(ui->panTitolo, QPalette::WindowText, Qt::white);
    ui->panTitolo->setAutoFillBackground(true);
    ui->panTitolo->installEventFilter(this); // a click on the band does nothing
    ui->panTitolo->raise();
    for (QWidget* w : {static_cast<QWidget*>(ui->imgTemp), static_cast<QWidget*>(ui->lblPosizione),
                       static_cast<QWidget*>(ui->cmdAvanti)})
        w->hide();
    ui->cmdAvanti->setFocusPolicy(Qt::NoFocus);

    m_timer->setObjectName(QStringLiteral("Timer"));
    m_timer->setInterval(Intervallo);
    m_anticipa->setSingleShot(true);
    m_anticipa->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &TfrmSlide::TimerTimer);
    connect(m_anticipa, &QTimer::timeout, this, &TfrmSlide::Anticipa);
    connect(ui->imgZoom, &RiquadroFoto::scalaCambiata, m_anticipa, qOverload<>(&QTimer::start));
    connect(ui->cmdAvanti, &QPushButton::clicked, this, &TfrmSlide::cmdAvantiClick);
    connect(ui->imgZoom, &RiquadroFoto::cliccato, this, &QWidget::close);
    setWindowState(Qt::WindowFullScreen);
}

TfrmSlide::~TfrmSlide() = default;

void TfrmSlide::ImpostaFoto(const TFoto& foto)
{
    m_consegnata = foto;
    ui->imgZoom->ImpostaFoto(foto);
}

void TfrmSlide::ImpostaSchermo(QScreen* schermo) { m_schermo = schermo; }

QRect TfrmSlide::Schermo() const
{
    QScreen* s = m_schermo ? m_schermo.data() : screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QSize TfrmSlide::Box() const { return ui->imgZoom->BoxDispositivo(); }

// The picture covers the screen but for 2 pixels on every side; the band lies over its top.
void TfrmSlide::Disponi()
{
    const QRect s = Schermo();
    const QSize box(s.width() - 4, s.height() - 4);
    ui->imgZoom->setGeometry(s.width() / 2 - box.width() / 2, s.height() / 2 - box.height() / 2, box.width(),
                             box.height());
    ui->panTitolo->setGeometry(0, 0, width(), AltezzaBanda);
}

void TfrmSlide::resizeEvent(QResizeEvent* e)
{
    Disponi();
    QWidget::resizeEvent(e);
}

void TfrmSlide::showEvent(QShowEvent* e)
{
    const QRect s = Schermo();
    if (m_schermo && windowHandle() && windowHandle()->screen() != m_schermo)
        windowHandle()->setScreen(m_schermo);
    if (geometry() != s)
        setGeometry(s);
    Disponi();
    QWidget::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TfrmSlide::FormShow()
{
    if (m_campione.Vuota()) // at the first showing: creating the window stays cheap
        m_campione = TFoto::DaFile(m_categoria.FotoCampioneGrande());
    ui->imgTemp->ImpostaFoto(m_campione);
    m_scorrimento.Azzera();
    ui->lblPosizione->clear();
    ui->panTitolo->setText(QString::fromUtf8(Avvio));
    ui->imgZoom->ImpostaFoto(m_campione);
    m_timer->start();
    m_anticipa->start();
}

void TfrmSlide::hideEvent(QHideEvent* e)
{
    m_timer->stop();
    m_anticipa->stop();
    m_anticipo.Svuota();
    QWidget::hideEvent(e);
}

void TfrmSlide::closeEvent(QCloseEvent* e)
{
    try {
        m_scorrimento.Riapri();
    } catch (...) {
        // closing never fails
    }
    e->accept();
}

void TfrmSlide::mousePressEvent(QMouseEvent* e)
{
    m_clic.Premuto(e);
    e->accept();
}

void TfrmSlide::mouseDoubleClickEvent(QMouseEvent* e)
{
    m_clic.DoppioClic();
    e->accept();
}

void TfrmSlide::mouseReleaseEvent(QMouseEvent* e)
{
    e->accept();
    if (m_clic.Rilasciato(e, rect()))
        close();
}

bool TfrmSlide::eventFilter(QObject* o, QEvent* e)
{
    if (o == ui->panTitolo) {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(o, e);
}

void TfrmSlide::TimerTimer() { ui->cmdAvanti->click(); }

void TfrmSlide::cmdAvantiClick()
{
    // Whatever goes wrong, the show goes on at the next tick; ticks keep coming
    // while the error box is open.
    QString errore;
    try {
        TSchedaMostrata scheda;
        switch (m_scorrimento.Avanza(&scheda)) {
        case TScorrimento::Esito::Scheda: {
            ui->imgZoom->Svuota();
            ui->lblPosizione->setText(QString::number(scheda.ID));
            ui->panTitolo->setText(QStringLiteral("Rif. ") + scheda.Titolo);
            if (!scheda.Foto.isEmpty()) {
                const TFoto foto = m_anticipo.Foto(scheda.ID, scheda.Foto, Box());
                if (foto.Immagine(Box()).isNull())
                    errore = QStringLiteral("La foto della scheda %1 non può essere visualizzata: i dati in "
                                            "archivio non sono una foto JPEG leggibile")
                                 .arg(scheda.ID);
                else
                    ui->imgZoom->ImpostaFoto(foto);
            }
            break;
        }
        case TScorrimento::Esito::FineGiro:
            ui->lblPosizione->clear(); // the last card stays for one more interval
            break;
        case TScorrimento::Esito::Invariato:
            break;
        }
    } catch (const ESQLiteException& e) {
        errore = TestoErroreArchivio(e);
    } catch (const std::exception& e) {
        errore = QString::fromLocal8Bit(e.what());
    } catch (...) {
        errore = QStringLiteral("Errore imprevisto");
    }
    if (ui->imgZoom->Foto().Vuota())
        ui->imgZoom->ImpostaFoto(m_campione);
    m_anticipa->start();
    if (!errore.isEmpty())
        MostraErrore(errore);
}

// The card the next tick brings up, read now and decoded during the interval.
void TfrmSlide::Anticipa()
{
    if (!isVisible())
        return;
    QList<TAnticipoFoto::Voce> voci;
    if (auto v = FotoVicine::Leggi(m_scorrimento.Archivio(), m_scorrimento.Query(TScorrimento::Verso::Avanti)))
        voci.append(*v);
    m_anticipo.Prepara(voci, Box());
}

// One box at a time, since an archive that stays out of reach all day must not
// pile up a box every six seconds. The box opens once this tick is over: a box
// opened inside the timer's own event would hold the timer until someone closes
// it, and the shop window would stand still.
void TfrmSlide::MostraErrore(const QString& testo)
{
    if (m_erroreAperto)
        return;
    m_erroreAperto = true;
    QMetaObject::invokeMethod(
        this,
        [this, testo] {
            Piattaforma::Messaggi().Mostra(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                                           Testo::TestoErrore(testo), this);
            m_erroreAperto = false;
        },
        Qt::QueuedConnection);
}
