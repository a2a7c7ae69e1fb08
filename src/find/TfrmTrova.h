#pragma once
// The quick find window of one category: the cards whose chosen field contains a
// key, the in-list find, the printout, and a double click that opens a card in
// the category's record card window.
#include "find/TRicercaSchede.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmTrova;
}
class TfrmScheda;
class ListaRisultati;

class TfrmTrova : public QDialog {
    Q_OBJECT
public:
    // scheda: the record card window into which a chosen card is loaded.
    TfrmTrova(const TCategoria& categoria, TfrmScheda* scheda, QWidget* parent = nullptr);
    ~TfrmTrova() override;

    const TCategoria& Categoria() const { return m_ricerca.Categoria(); }
    const TRicercaSchede& Ricerca() const { return m_ricerca; }
    const QString& UltimaChiave() const { return m_ultimaChiave; }

protected:
    void showEvent(QShowEvent* e) override;
    void done(int esito) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private slots:
    void cboCriterioChange();
    void txtCriterioChange();
    void btnPopolaClick();
    void btnTrovaClick();
    void lstRecordsDblClick();
    void btnStampaClick();
    void btnChiudiClick();

private:
    void Aspetto();
    void FormShow();
    void FormClose();

    std::unique_ptr<Ui::TfrmTrova> ui;
    TRicercaSchede m_ricerca;
    TfrmScheda* m_scheda;
    QString m_ultimaChiave;
    bool m_immaginiCaricate = false;
};
