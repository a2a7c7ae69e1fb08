#include "card/RiquadroFoto.h"

#include <QMouseEvent>
#include <QPainter>

RiquadroFoto::RiquadroFoto(QWidget* parent) : QWidget(parent) {}

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

void RiquadroFoto::paintEvent(QPaintEvent*) {
    const TFoto* f = FotoMostrata();
    if (!f || size().isEmpty()) return;
    const QRect dove = Adattamento::Adatta(f->Dimensioni(), size());
    const QImage img = f->Immagine(size());
    if (img.isNull() || dove.isEmpty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (img.size() == dove.size())
        p.drawImage(dove.topLeft(), img);
    else
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
