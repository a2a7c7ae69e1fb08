#include "card/RiquadroFoto.h"

#include <QMouseEvent>
#include <QPainter>

RiquadroFoto::RiquadroFoto(QWidget* parent) : QWidget(parent) {
    // The box paints its own background: what lies behind it is not painted again
    // under every photo, which at 200 % costs as much as drawing the photo.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RiquadroFoto::ImpostaFoto(const TFoto& foto) {
    m_foto = foto;
    update();
}

void RiquadroFoto::ImpostaRiserva(const TFoto& riserva) {
    m_riserva = riserva;
    update();
}

const TFoto* RiquadroFoto::FotoMostrata() const {
    if (m_foto.Vuota()) return nullptr;
    if (m_foto.Decodificabile()) return &m_foto;
    if (m_riserva.Decodificabile()) return &m_riserva;
    return nullptr;
}

QRect RiquadroFoto::RettangoloImmagine() const {
    const TFoto* f = FotoMostrata();
    return f ? Adattamento::Adatta(f->Dimensioni(), size()) : QRect();
}

QSize RiquadroFoto::BoxDispositivo() const {
    return Adattamento::BoxDispositivo(size(), devicePixelRatioF());
}

QImage RiquadroFoto::ImmagineMostrata() const {
    const TFoto* f = FotoMostrata();
    return f && !size().isEmpty() ? f->Immagine(BoxDispositivo()) : QImage();
}

bool RiquadroFoto::event(QEvent* e) {
    if (e->type() == QEvent::ScreenChangeInternal) {
        update();
        emit scalaCambiata();
    }
    return QWidget::event(e);
}

void RiquadroFoto::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setBrushOrigin(-mapTo(window(), QPoint(0, 0))); // a pattern lines up with the window's
    p.fillRect(rect(), palette().brush(backgroundRole()));
    const TFoto* f = FotoMostrata();
    if (!f || size().isEmpty()) return;
    // What one pixel of the layout becomes where this is painted: the screen's scale
    // on a screen, anything at all in a print or a document.
    const QTransform t = p.combinedTransform();
    const bool scalaSemplice =
        t.type() <= QTransform::TxScale && t.m11() > 0 && qFuzzyCompare(t.m11(), t.m22());
    const double scala = scalaSemplice ? t.m11() : devicePixelRatioF();
    const QSize box = Adattamento::BoxDispositivo(size(), scala);
    const QImage img = f->Immagine(box);
    const QRect dove = Adattamento::Adatta(f->Dimensioni(), size());
    if (img.isNull() || dove.isEmpty()) return;
    // Decoded smaller than the photo, the picture is the fitted size in device pixels:
    // it goes on whole device pixels, unscaled, centred in the box as the rule says.
    if (scalaSemplice && (img.size() != f->Dimensioni() || qFuzzyCompare(scala, 1.0))) {
        const QPointF origine = t.map(QPointF(0, 0));
        const QPoint inDispositivo(qRound(origine.x()) + (box.width() - img.width()) / 2,
                                   qRound(origine.y()) + (box.height() - img.height()) / 2);
        p.setWorldTransform(t.inverted(), true); // device pixels from here on
        p.drawImage(inDispositivo, img);
        return;
    }
    // A photo smaller than the box in device pixels keeps the place the rule gives it
    // in the layout: Qt enlarges it on the screen, it is never decoded larger.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(dove, img);
}

void RiquadroFoto::mousePressEvent(QMouseEvent* e) {
    m_clic.Premuto(e);
    e->accept();
}

void RiquadroFoto::mouseDoubleClickEvent(QMouseEvent* e) {
    m_clic.DoppioClic();
    e->accept();
}

void RiquadroFoto::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (m_clic.Rilasciato(e, rect())) emit cliccato();
}
