#pragma once
// The photo browser of one category: a large black window showing one card's
// photo at a time with its reference above and its caption below, four arrows
// to step through the cards by number, and the zoom window over the photo.
// The next and the previous card's photos are decoded ahead while a card is shown.
#include "photo/AnticipoFoto.h"
#include "show/Scorrimento.h"
#include "store/TCategoria.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmBrowse;
}
class QTimer;

class TfrmBrowse : public QWidget {
    Q_OBJECT
public:
    explicit TfrmBrowse(const TCategoria& categoria, QWidget* parent = nullptr);
    ~TfrmBrowse() override;

    const TCategoria& Categoria() const { return m_categoria; }
    const TAnticipoFoto& Anticipo() const { return m_anticipo; }
    // The photo box's size in the layout; photos are decoded for it times the screen's scale.
    static QSize BoxFoto() { return QSize(713, 536); }

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private slots:
    void imgPrimoClick();
    void imgIndietroClick();
    void imgAvantiClick();
    void imgUltimoClick();
    void imgFotoClick();
    void imgZoomClick();

private:
    void Aspetto();
    void CaricaImmagini();
    void FormShow();
    void VistaIniziale();
    void Passo(TScorrimento::Verso verso);
    // False when the card's photo cannot be decoded (the error box has been shown).
    bool MostraScheda(const TSchedaMostrata& scheda);
    void Anticipa();

    const TCategoria& m_categoria;
    std::unique_ptr<Ui::TfrmBrowse> ui;
    TScorrimento m_scorrimento;
    TAnticipoFoto m_anticipo;
    QTimer* m_anticipa; // reading ahead waits until the card on display is painted
    TFoto m_campione;   // the large sample photo, read at the first showing
    bool m_immaginiCaricate = false;
};
