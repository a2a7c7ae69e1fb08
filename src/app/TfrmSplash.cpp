#include "app/TfrmSplash.h"

#include "platform/Piattaforma.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "ui_TfrmSplash.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

namespace {

QSize DimensioneDi(const char* risorsa) {
    QImageReader lettore(QString::fromLatin1(risorsa));
    return lettore.size();
}

} // namespace

TfrmSplash::TfrmSplash(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmSplash>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmSplash"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(600, 368);
    Colora(this, QPalette::Window, Qt::black);
    setAutoFillBackground(false); // the frame is drawn whole; the rest stays black in paintEvent
    setAttribute(Qt::WA_OpaquePaintEvent);
    FormCreate();
}

TfrmSplash::~TfrmSplash() = default;

// At start-up: the sprites take their places from the pictures' sizes (read from
// their headers only, so creating the window stays cheap) and the timer starts.
void TfrmSplash::FormCreate() {
    m_scena.Avvia(DimensioneDi(RisorsaSfondo), DimensioneDi(RisorsaSprite));
    m_timer.setInterval(TScenaSplash::IntervalloMs);
    connect(&m_timer, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);
    m_timer.start();
}

void TfrmSplash::CaricaImmagini() {
    if (m_immaginiCaricate) return;
    m_immaginiCaricate = true;
    const QImage sfondo(QString::fromLatin1(RisorsaSfondo));
    // The sprite is a 24-bit picture; its bottom-left pixel gives the transparent colour.
    const QImage sprite = QImage(QString::fromLatin1(RisorsaSprite)).convertToFormat(QImage::Format_RGB888);
    m_scena.CaricaImmagini(sfondo, sprite);
    ui->BackImage->setPixmap(QPixmap::fromImage(sfondo));
    ui->SpriteImage->setPixmap(QPixmap::fromImage(sprite));
}

void TfrmSplash::Timer1Timer() {
    // Hidden, the scene only moves; its frame is made afresh at the next showing.
    const bool visibile = isVisible();
    m_scena.Tick(visibile);
    if (visibile) update(QRect(QPoint(0, 0), m_scena.Fotogramma().size()));
}

void TfrmSplash::showEvent(QShowEvent* e) {
    Protetto([this] { CaricaImmagini(); });
    m_scena.Ricostruisci();
    QDialog::showEvent(e);
    Flusso::CentraSulDesktop(this);
}

void TfrmSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage& fotogramma = m_scena.Fotogramma();
    if (!fotogramma.isNull()) p.drawImage(0, 0, fotogramma);
    // The client area is a few pixels larger than the picture: the margin stays black.
    const QRegion resto = QRegion(rect()) - QRegion(QRect(QPoint(0, 0), fotogramma.size()));
    for (const QRect& r : resto) p.fillRect(r, Qt::black);
}

void TfrmSplash::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    Protetto([] {
        CursoreOccupato occupato;
        Piattaforma::ApriSistema().Apri(QString::fromLatin1(Flusso::SitoProduttore), QStringLiteral("Open"));
    });
    accept();
}
