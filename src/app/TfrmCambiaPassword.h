#pragma once
// The change-password window: the old password, the new one and its confirmation.
#include <QWidget>

#include <memory>

namespace Ui { class TfrmCambiaPassword; }

class TfrmCambiaPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget* parent = nullptr);
    ~TfrmCambiaPassword() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void txtChange();
    void cmdOKClick();

    std::unique_ptr<Ui::TfrmCambiaPassword> ui;
    bool m_immaginiCaricate = false;
    bool m_centrata = false;
};
