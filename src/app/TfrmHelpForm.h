#pragma once
// The on-line help: one shared window showing one topic at a time, and the way
// to the full user guide Guida.pdf in the program folder.
#include "app/ArgomentiGuida.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmHelpForm; }

class TfrmHelpForm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelpForm(QWidget* parent = nullptr);
    ~TfrmHelpForm() override;

    // Puts the topic in and shows the window modally over its opener; returns
    // when it closes. The topic stays until the next one replaces it.
    void MostraArgomento(const TArgomentoGuida& argomento, QWidget* apertoDa = nullptr);
    void ImpostaArgomento(const TArgomentoGuida& argomento);
    const TArgomentoGuida& Argomento() const { return m_argomento; }

    static constexpr const char* FileGuida = "Guida.pdf";

protected:
    void showEvent(QShowEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void cmdOKClick();
    void lblPDFMouseUp();
    void ColoreCollegamento(QColor colore);

    std::unique_ptr<Ui::TfrmHelpForm> ui;
    TArgomentoGuida m_argomento;
    bool m_immaginiCaricate = false;
};
