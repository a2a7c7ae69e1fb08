// The help window, opened from the launcher, the record card windows and a modal
// window over a card window, with the desktop seams doubled.
#include "app/ArgomentiGuida.h"
#include "app/Registro.h"
#include "app/TfrmHelpForm.h"
#include "store/TCategoria.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

TfrmHelpForm* Guida() { return qobject_cast<TfrmHelpForm*>(Registro::Finestra(QStringLiteral("frmHelpForm"))); }
template <class T = QWidget> T* G(const char* nome) { return Guida()->findChild<T*>(QString::fromLatin1(nome)); }
QColor ColoreLink() { return G("lblPDF")->palette().color(QPalette::WindowText); }

void Muovi(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(w->rect().center()), w->mapToGlobal(QPointF(w->rect().center())),
                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestGuiGuida : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;

    // Clicks a control of the opener and runs azione inside the help window;
    // returns the opener that was active when the help window showed, after it closed.
    QWidget* ApriGuida(QWidget* controllo, const std::function<void()>& azione = {}) {
        QWidget* sotto = nullptr;
        QTimer::singleShot(0, this, [&] {
            if (QApplication::activeModalWidget() != Guida() || !Guida()->isVisible()) return;
            if (QWindow* t = Guida()->windowHandle()->transientParent())
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->windowHandle() == t) sotto = w;
            if (azione) azione();
            if (Guida()->isVisible()) QTest::mouseClick(G("cmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(controllo, Qt::LeftButton);
        return sotto;
    }

private slots:
    void initTestCase() { AvviaProgramma(m_doppi, m_cartella.path()); }
    void init() {
        m_doppi.Messaggi.Azzera();
        m_doppi.ApriSistema.Richieste.clear();
    }
    void cleanup() {
        QVERIFY(!Guida()->isVisible());
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void windowLayout() {
        TfrmHelpForm* g = Guida();
        QCOMPARE(g->windowTitle(), QStringLiteral(" Guida in linea"));
        QCOMPARE(g->size(), QSize(561, 459));
        QCOMPARE(g->minimumSize(), g->maximumSize());
        QVERIFY(!(g->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(g->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(g->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(G<QLabel>("panTitle")->text(), QStringLiteral("Titolo argomento guida"));
        QCOMPARE(G("panTitle")->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(G("panTitle")->palette().color(QPalette::WindowText), QColor(Qt::white));
        auto* mem = G<QPlainTextEdit>("memTopic");
        QCOMPARE(mem->parentWidget(), G("panContainer"));
        QVERIFY(mem->isReadOnly());
        QCOMPARE(mem->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(mem->palette().color(QPalette::Base), QColor(0, 0, 128));
        QCOMPARE(mem->palette().color(QPalette::Text), QColor(Qt::white));
        QVERIFY(G("lblPDF")->font().underline());
    }

    void launcherTopicOverTheLauncher() {
        QWidget* avvio = Registro::Finestra(QStringLiteral("frmAvvio"));
        avvio->show();
        QVERIFY(QTest::qWaitForWindowExposed(avvio));
        int barra = -1, massimo = -1;
        QString titolo, testo;
        QWidget* fuoco = nullptr;
        QWidget* sotto = ApriGuida(avvio->findChild<QWidget*>(QStringLiteral("imgGuida")), [&] {
            titolo = G<QLabel>("panTitle")->text();
            testo = G<QPlainTextEdit>("memTopic")->toPlainText();
            barra = G<QPlainTextEdit>("memTopic")->verticalScrollBar()->value();
            massimo = G<QPlainTextEdit>("memTopic")->verticalScrollBar()->maximum();
            fuoco = Guida()->focusWidget();
        });
        QCOMPARE(sotto, avvio);
        const TArgomentoGuida atteso = ArgomentiGuida::Avvio();
        QCOMPARE(titolo, atteso.Titolo);
        QCOMPARE(testo.split(QStringLiteral("\n\n")), atteso.Paragrafi);
        QCOMPARE(Guida()->Argomento().Testo(), atteso.Testo());
        // A long topic scrolls, and it opens at its first paragraph.
        QVERIFY(massimo > 0);
        QCOMPARE(barra, 0);
        QCOMPARE(fuoco, G("cmdOK"));
        QVERIFY(avvio->isVisible());
        // The title-bar close returns to the launcher as well.
        QTimer::singleShot(0, this, [] { Guida()->close(); });
        QTest::mouseClick(avvio->findChild<QWidget*>(QStringLiteral("imgGuida")), Qt::LeftButton);
        QVERIFY(avvio->isVisible());
        // The topic stays until the next one is put in.
        QCOMPARE(Guida()->Argomento().Titolo, atteso.Titolo);
        avvio->hide();
    }

    void cardTopicIsTheSameInEveryCategory() {
        const TArgomentoGuida atteso = ArgomentiGuida::Scheda();
        for (const TCategoria& c : Categorie::Tutte()) {
            QWidget* scheda = Registro::Finestra(c.NomeFinestra());
            scheda->show();
            QString titolo, testo;
            QWidget* sotto = ApriGuida(scheda->findChild<QWidget*>(QStringLiteral("cmdGuida")), [&] {
                titolo = G<QLabel>("panTitle")->text();
                testo = G<QPlainTextEdit>("memTopic")->toPlainText();
            });
            QCOMPARE(sotto, scheda);
            QCOMPARE(titolo, QStringLiteral("Gestione delle schede degli immobili"));
            QCOMPARE(testo.split(QStringLiteral("\n\n")), atteso.Paragrafi);
            QVERIFY(scheda->isVisible());
            scheda->hide();
        }
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
    }

    // As the export window does: modal over a card window, it asks for its topic.
    void topicOverAModalWindowReturnsToIt() {
        const TCategoria& box = *Categorie::PerTabella(QStringLiteral("sposi"));
        QWidget* scheda = Registro::Finestra(box.NomeFinestra());
        scheda->show();
        QDialog esportazione(scheda);
        auto* richiesta = new QPushButton(&esportazione);
        QObject::connect(richiesta, &QPushButton::clicked, &esportazione,
                         [&] { Registro::MostraGuida(ArgomentiGuida::Esportazione(box), &esportazione); });
        QWidget* sotto = nullptr;
        QString titolo;
        bool modaleDopo = false;
        QTimer::singleShot(0, this, [&] {
            sotto = ApriGuida(richiesta, [&] { titolo = G<QLabel>("panTitle")->text(); });
            modaleDopo = QApplication::activeModalWidget() == &esportazione && esportazione.isVisible();
            esportazione.accept();
        });
        esportazione.exec();
        QCOMPARE(sotto, &esportazione);
        QCOMPARE(titolo, QStringLiteral("Esportazione archivio box e garage"));
        QVERIFY(modaleDopo);
        QVERIFY(scheda->isVisible());
        scheda->hide();
    }

    void pdfLinkOpensTheGuideAndReportsNothing() {
        QVERIFY(!QFile::exists(m_cartella.filePath(QStringLiteral("Guida.pdf"))));
        const QString guida = Piattaforma::PercorsoProgramma(QStringLiteral("Guida.pdf"));
        bool aperta = false;
        QTimer::singleShot(0, this, [&] {
            QTest::mouseClick(G("lblPDF"), Qt::RightButton); // any button
            QTest::mouseClick(G("imgPDF"), Qt::LeftButton);
            aperta = Guida()->isVisible();
            Guida()->close();
        });
        Guida()->MostraArgomento(ArgomentiGuida::Avvio());
        QVERIFY(aperta);
        QCOMPARE(m_doppi.ApriSistema.Richieste.size(), 2);
        for (const auto& r : std::as_const(m_doppi.ApriSistema.Richieste)) QCOMPARE(r, qMakePair(guida, QString()));
        QVERIFY(m_doppi.Cursore.Volte >= 2);
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
    }

    void linkHighlight() {
        QList<QColor> colori;
        QTimer::singleShot(0, this, [&] {
            colori << ColoreLink();
            Muovi(G("lblPDF"));
            colori << ColoreLink();
            Muovi(G<QPlainTextEdit>("memTopic")->viewport());
            colori << ColoreLink();
            Muovi(G("imgPDF"));
            colori << ColoreLink();
            Muovi(Guida());
            colori << ColoreLink();
            Muovi(G("imgPDF"));
            Guida()->close();
        });
        Guida()->MostraArgomento(ArgomentiGuida::Scheda());
        QCOMPARE(colori, (QList<QColor>{Qt::white, Qt::red, Qt::white, Qt::red, Qt::white}));
        // Each showing starts with the link white.
        QTimer::singleShot(0, this, [&] {
            colori << ColoreLink();
            Guida()->close();
        });
        Guida()->MostraArgomento(ArgomentiGuida::Scheda());
        QCOMPARE(colori.last(), QColor(Qt::white));
    }
};

QTEST_MAIN(TestGuiGuida)
#include "test_gui_guida.moc"
