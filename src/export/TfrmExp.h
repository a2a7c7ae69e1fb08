#pragma once
// The spreadsheet export window of one category: every card of the archive in a
// grid, handed on request to a new spreadsheet workbook.
#include "export/Griglia.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmExp;
}
class QLabel;
class VistaGriglia;

class TfrmExp : public QWidget {
    Q_OBJECT
public:
    explicit TfrmExp(const TCategoria& categoria, QWidget* parent = nullptr);
    ~TfrmExp() override;

    const TCategoria& Categoria() const { return m_categoria; }
    const TGriglia& Griglia() const { return m_modello->Griglia(); }
    TArchivio& Archivio() { return m_archivio; }

signals:
    // The help window with this window's topic, modal over it.
    void GuidaRichiesta();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormShow();
    void FormClose();
    void imgExcelMouseMove();
    void imgGuidaMouseMove();
    void imgEsciMouseMove();
    void grpControlliMouseMove();
    void grdRecordsMouseMove();
    void imgExcelMouseUp();
    void imgGuidaMouseUp();
    void imgEsciMouseUp();
    void Etichetta(QLabel* rossa, const QString& suggerimento);
    void CaricaImmagini();
    void CreaGriglia();

    const TCategoria& m_categoria;
    std::unique_ptr<Ui::TfrmExp> ui;
    TModelloGriglia* m_modello;
    VistaGriglia* m_griglia = nullptr; // made at the first showing: a grid view is costly to create
    TArchivio m_archivio;
    bool m_immaginiCaricate = false;
};
