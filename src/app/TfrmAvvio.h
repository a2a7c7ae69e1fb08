#pragma once
// The launcher: the ten category tiles and the way out of the program.
#include <QPointer>
#include <QWidget>

#include <memory>

class QMovie;
struct TCategoria;
namespace Ui { class TfrmAvvio; }

class TfrmAvvio : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget* parent = nullptr);
    ~TfrmAvvio() override;

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormShow();
    void CaricaBanner();
    void ApriCategoria(const TCategoria& categoria);
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void lblWebMouseUp();

    std::unique_ptr<Ui::TfrmAvvio> ui;
    QPointer<QMovie> m_banner;
    bool m_immaginiCaricate = false;
};
