#pragma once
// The advanced search window of one category: up to nine fields at once on the
// criteria page, the result list with its in-list find and printout on the
// result page, and a double click that opens a card in the record card window.
#include "find/TRicercaSchede.h"

#include <QDialog>
#include <QHash>

#include <memory>

namespace Ui {
class TfrmRicerca;
}
class TfrmScheda;

class TfrmRicerca : public QDialog {
    Q_OBJECT
public:
    TfrmRicerca(const TCategoria& categoria, TfrmScheda* scheda, QWidget* parent = nullptr);
    ~TfrmRicerca() override;

    const TCategoria& Categoria() const { return m_ricerca.Categoria(); }
    const TRicercaSchede& Ricerca() const { return m_ricerca; }
    const QString& UltimaChiave() const { return m_ultimaChiave; }
    bool PaginaRisultati() const; // the result page is the one shown

protected:
    void showEvent(QShowEvent* e) override;
    void done(int esito) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private slots:
    void cmdTrovaClick();
    void cmdIndietroClick();
    void cmdTrova02Click();
    void lstRecordsDblClick();
    void cmdStampaClick();
    void cmdAnnullaClick();

private:
    void Aspetto();
    void FormShow();
    void FormClose();
    void PaginaCriteri(); // the criteria page, as at every showing and after Back

    std::unique_ptr<Ui::TfrmRicerca> ui;
    TRicercaSchede m_ricerca;
    TfrmScheda* m_scheda;
    QString m_ultimaChiave;
    QHash<QObject*, QWidget*> m_invioSuccessivo;
    bool m_immaginiCaricate = false;
};
