#pragma once
// The zoom window: one photo over the whole screen on white, closed by a click.
#include "photo/Foto.h"

#include <QDialog>

class RiquadroFoto;

class TfrmZoom : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget* parent = nullptr);
    // riserva: what to show when the photo's bytes do not decode.
    void ImpostaFoto(const TFoto& foto, const TFoto& riserva = TFoto());
    RiquadroFoto* Riquadro() const { return m_imgZoom; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Disponi();
    RiquadroFoto* m_imgZoom;
};
