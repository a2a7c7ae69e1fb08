#pragma once
// The login window: the first window created, hence the main window.
#include <QWidget>

#include <memory>

namespace Ui { class TfrmPassword; }

class TfrmPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* parent = nullptr);
    ~TfrmPassword() override;

    // Back from the change-password window: empty box, window shown, box focused.
    void RitornaAllAccesso();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void txtPasswordChange();
    void txtPasswordKeyPress();
    void cmdOKClick();
    void btnCambiaPasswordClick();
    void cmdEsciClick();

    std::unique_ptr<Ui::TfrmPassword> ui;
    bool m_immaginiCaricate = false;
    bool m_centrata = false;
};
