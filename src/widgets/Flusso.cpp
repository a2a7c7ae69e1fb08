#include "widgets/Flusso.h"

#include "widgets/Comuni.h"

#include "widgets/Testo1252.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

static void RegistraRisorse() { Q_INIT_RESOURCE(assets); }

namespace {

// The desktop's own style, with group frames drawn as a plain etched line: the
// frames take the colour of what they sit on (the windows' frames are white),
// where the style would tint their inside.
class StileFinestre : public QProxyStyle {
public:
    explicit StileFinestre(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}
    void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opzione, QPainter* pittore,
                       const QWidget* widget) const override {
        if (elemento != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(elemento, opzione, pittore, widget);
            return;
        }
        const QRect r = opzione->rect.adjusted(0, 0, -1, -1);
        pittore->save();
        pittore->setBrush(Qt::NoBrush);
        pittore->setPen(QColor(160, 160, 160));
        pittore->drawRect(r.adjusted(0, 0, -1, -1));
        pittore->setPen(Qt::white);
        pittore->drawRect(r.adjusted(1, 1, 0, 0));
        pittore->restore();
    }
};

// Ends a nested loop when the watched window is hidden or destroyed.
class SorveglianzaChiusura : public QObject {
public:
    SorveglianzaChiusura(QWidget* w, QEventLoop* ciclo) : m_ciclo(ciclo) { w->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) m_ciclo->quit();
        return false;
    }

private:
    QEventLoop* m_ciclo;
};

} // namespace

namespace Flusso {

void CaricaRisorse() {
    static const bool fatto = (RegistraRisorse(), true);
    Q_UNUSED(fatto);
    if (qApp && !dynamic_cast<StileFinestre*>(QApplication::style()))
        QApplication::setStyle(new StileFinestre(QApplication::style()->name()));
}

void MostraModale(QWidget* finestra) {
    if (!finestra) return;
    if (auto* d = qobject_cast<QDialog*>(finestra)) {
        d->exec();
        return;
    }
    QPointer<QWidget> guardia(finestra);
    const Qt::WindowModality prima = finestra->windowModality();
    if (!finestra->isVisible()) finestra->setWindowModality(Qt::ApplicationModal);
    QEventLoop ciclo;
    SorveglianzaChiusura sorveglianza(finestra, &ciclo);
    QObject::connect(finestra, &QObject::destroyed, &ciclo, &QEventLoop::quit);
    Mostra(finestra);
    ciclo.exec(QEventLoop::DialogExec);
    if (guardia) {
        guardia->removeEventFilter(&sorveglianza);
        if (!guardia->isVisible()) guardia->setWindowModality(prima);
    }
}

void CentraSulDesktop(QWidget* finestra) {
    if (!finestra) return;
    QScreen* schermo = finestra->screen() ? finestra->screen() : QGuiApplication::primaryScreen();
    if (!schermo) return;
    const QRect area = schermo->availableGeometry();
    const QSize esterna = finestra->frameGeometry().size().expandedTo(finestra->size());
    finestra->move(area.center() - QPoint(esterna.width() / 2, esterna.height() / 2));
}

void Mostra(QWidget* finestra) {
    if (!finestra) return;
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
}

void Termina() { QCoreApplication::exit(0); }

void FinestraFissa(QWidget* finestra, int larghezza, int altezza) {
    finestra->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                             Qt::MSWindowsFixedSizeDialogHint);
    finestra->setFixedSize(larghezza, altezza);
    QPalette p = finestra->palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    p.setColor(QPalette::Button, QColor(192, 192, 192));
    finestra->setPalette(p);
    finestra->setAutoFillBackground(true);
}

void CasellaPassword(QLineEdit* casella, int pixel) {
    casella->setEchoMode(QLineEdit::Password);
    casella->setMaxLength(230);
    ImpostaCarattere(casella, QStringLiteral("Tahoma"), pixel, true);
    Testo1252::Filtra(casella);
}

} // namespace Flusso
