#pragma once
// The slideshow of one category: every card's photo over the whole screen, one
// card after the other by number, changing every six seconds, with the card's
// reference in a band at the top; after the last card it starts again. A click
// on the picture or beside it ends it. The next card's photo is decoded ahead
// during each interval.
#include "photo/AnticipoFoto.h"
#include "show/Scorrimento.h"
#include "store/TCategoria.h"
#include "widgets/Comuni.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class TfrmSlide;
}
class QScreen;
class QTimer;

class TfrmSlide : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSlide(const TCategoria& categoria, QWidget* parent = nullptr);
    ~TfrmSlide() override;

    const TCategoria& Categoria() const { return m_categoria; }
    static constexpr int Intervallo = 6000; // milliseconds between two cards

    // What the record card window hands over before the show: the picture of its
    // photo box, and the screen it is on, which the show covers.
    void ImpostaFoto(const TFoto& foto);
    void ImpostaSchermo(QScreen* schermo);
    const TFoto& FotoConsegnata() const { return m_consegnata; }
    const TAnticipoFoto& Anticipo() const { return m_anticipo; }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private slots:
    void cmdAvantiClick();
    void TimerTimer();

private:
    void FormShow();
    void Disponi();
    QRect Schermo() const;
    QSize Box() const; // in the screen's own pixels: what photos are decoded for
    void Anticipa();
    void MostraErrore(const QString& testo);

    const TCategoria& m_categoria;
    std::unique_ptr<Ui::TfrmSlide> ui;
    QTimer* m_timer;
    QTimer* m_anticipa;
    TScorrimento m_scorrimento;
    TAnticipoFoto m_anticipo;
    TFoto m_campione;
    TFoto m_consegnata;
    QPointer<QScreen> m_schermo;
    bool m_erroreAperto = false;
    ClicSinistro m_clic;
};
