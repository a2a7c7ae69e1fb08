#pragma once
// The About window: the product's logos, its name and version, and the maker's addresses.
#include <QDialog>

#include <memory>

namespace Ui { class TfrmInfo; }

class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent = nullptr);
    ~TfrmInfo() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Ui::TfrmInfo> ui;
    bool m_immaginiCaricate = false;
};
