#include "card/TfrmZoom.h"

#include "card/RiquadroFoto.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

TfrmZoom::TfrmZoom(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_imgZoom(new RiquadroFoto(this)) {
    setObjectName(QStringLiteral("frmZoom"));
    m_imgZoom->setObjectName(QStringLiteral("imgZoom"));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    setModal(true);
    connect(m_imgZoom, &RiquadroFoto::cliccato, this, &QDialog::accept);
    setWindowState(Qt::WindowFullScreen);
    Disponi();
}

void TfrmZoom::ImpostaFoto(const TFoto& foto, const TFoto& riserva) {
    m_imgZoom->ImpostaRiserva(riserva);
    m_imgZoom->ImpostaFoto(foto);
}

// The picture box covers the screen but for a white margin of 2 pixels on every side.
void TfrmZoom::Disponi() {
    QScreen* s = screen();
    const QRect schermo = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const QSize box(schermo.width() - 4, schermo.height() - 4);
    m_imgZoom->setGeometry(schermo.width() / 2 - box.width() / 2, schermo.height() / 2 - box.height() / 2,
                           box.width(), box.height());
}

void TfrmZoom::showEvent(QShowEvent* e) {
    if (QScreen* s = screen()) setGeometry(s->geometry());
    Disponi();
    QDialog::showEvent(e);
}

void TfrmZoom::resizeEvent(QResizeEvent* e) {
    Disponi();
    QDialog::resizeEvent(e);
}

void TfrmZoom::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    accept();
}

// No key of its own: the window closes by a click only.
void TfrmZoom::keyPressEvent(QKeyEvent* e) {
    e->accept();
}
