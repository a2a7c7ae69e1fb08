#pragma once
// The copyright splash: five sprites flying over the maker's picture. The scene
// moves every 50 ms from start-up for the whole run, also while the window is
// hidden, so each opening shows it where it has got to; pixels are drawn only
// while it is visible. A click opens the maker's web site and closes it.
#include "app/TScenaSplash.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui { class TfrmSplash; }

class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

    TScenaSplash& Scena() { return m_scena; }
    QTimer& Timer1() { return m_timer; }

    static constexpr const char* RisorsaSfondo = ":/splash/sfondo.png";
    static constexpr const char* RisorsaSprite = ":/splash/sprite.png";

public slots:
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void FormCreate();
    void CaricaImmagini();

    std::unique_ptr<Ui::TfrmSplash> ui;
    TScenaSplash m_scena;
    QTimer m_timer;
    bool m_immaginiCaricate = false;
};
