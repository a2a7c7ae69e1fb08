// The window registry and the launcher, driven by object name on the offscreen platform.
#include "support/Supporto.h"
#include "app/Registro.h"
#include "doubles/Doppi.h"
#include "platform/QtPiattaforma.h"
#include "store/TCategoria.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
QWidget* F(const QString& nome) { return Registro::Finestra(nome); }
QWidget* Avvio() { return F(QStringLiteral("frmAvvio")); }
template <class T = QWidget> T* C(const char* nome) { return Avvio()->findChild<T*>(QString::fromLatin1(nome)); }
} // namespace

class TestGuiAvvio : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    FintoApriSistema& m_apri = m_doppi.ApriSistema;
    FintoCursore& m_cursore = m_doppi.Cursore;

    // Runs the event loop until the program ends; 99 if it never does.
    int FinoAllaFine(const std::function<void()>& azione) {
        QTimer::singleShot(0, this, azione);
        QTimer guardia;
        guardia.setSingleShot(true);
        connect(&guardia, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guardia.start(20000);
        return QCoreApplication::exec();
    }

private slots:
    void initTestCase() {
        AvviaProgramma(m_doppi, m_cartella.path());
    }
    void init() {
        for (QWidget* w : Registro::Tutte()) w->hide();
        m_messaggi.Azzera();
        Avvio()->show();
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void windowsCreatedInOrderAndHidden() {
        for (QWidget* w : Registro::Tutte()) w->hide();
        Registro::CreaFinestre(); // afresh: nothing shown by creation
        QStringList attesi{"frmPassword", "frmAvvio", "frmCambiaPassword", "frmHelpForm", "frmInfo", "frmSplash", "frmZoom"};
        // Per category, in creation order, the windows built so far.
        for (const TCategoria& c : Categorie::Tutte()) {
            attesi << c.NomeFinestra();
            // The attachments and folder windows serve every category: created once, after the first card window.
            if (&c == &Categorie::PerPosizione(0))
                attesi << "frmAllegaCartella" << "frmAllegaFile" << c.NomeFinestra("Trova") << c.NomeFinestra("Exp")
                       << c.NomeFinestra("Ricerca") << c.NomeFinestra("Browse") << c.NomeFinestra("Slide");
            else
                attesi << c.NomeFinestra("Browse") << c.NomeFinestra("Exp") << c.NomeFinestra("Ricerca")
                       << c.NomeFinestra("Slide") << c.NomeFinestra("Trova");
        }
        QStringList nomi;
        for (QWidget* w : Registro::Tutte()) {
            nomi << w->objectName();
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
            QVERIFY(w->isWindow());
        }
        QCOMPARE(nomi, attesi);
        QCOMPARE(Registro::Principale(), F(QStringLiteral("frmPassword")));
        QCOMPARE(F(QStringLiteral("nessuna")), nullptr);
        Avvio()->show();
    }

    void launcherLayout() {
        QCOMPARE(Avvio()->windowTitle(), QStringLiteral(" Tegolario © - Archivio fotografico per agenzie immobiliari"));
        QCOMPARE(Avvio()->minimumSize(), QSize(1022, 704));
        QVERIFY(Avvio()->windowState() & Qt::WindowMaximized);
        QCOMPARE(C("imgHobby")->geometry(), QRect(792, 376, 187, 165));
        QCOMPARE(C("btnHobby")->geometry(), QRect(796, 544, 180, 37));
        QCOMPARE(C("imgFamiglia")->geometry(), QRect(210, 152, 187, 165));
        QCOMPARE(C("imgEsci")->toolTip(), QStringLiteral(" Esci "));
        // Centred from the outer size: 1400 x 900 client is 1416 x 938 outside.
        Avvio()->showNormal();
        Avvio()->resize(1400, 900);
        QCOMPARE(C("grpContainer")->pos(), QPoint(1416 / 2 - 995 / 2 - 4, 938 / 2 - 688 / 2 - 18));
    }

    void tileAndButtonOpenTheCardAndBack() {
        for (const char* nome : {"imgAmici", "btnAmici"}) {
            QTest::mouseClick(C(nome), Qt::LeftButton);
            QWidget* scheda = F(QStringLiteral("frmAmici"));
            QVERIFY2(scheda->isVisible(), nome);
            QVERIFY(!Avvio()->isVisible());
            QMovie* prima = C<QLabel>("imgAnimata")->movie();
            scheda->close();
            QVERIFY(!scheda->isVisible());
            QVERIFY(Avvio()->isVisible());
            // Back on the launcher the banner starts again from its first frame.
            QMovie* banner = C<QLabel>("imgAnimata")->movie();
            QVERIFY(banner);
            QVERIFY(banner != prima);
            QCOMPARE(banner->currentFrameNumber(), 0);
            QCOMPARE(banner->state(), QMovie::Running);
        }
        QVERIFY(m_messaggi.Mostrati.isEmpty());
    }

    void webLinkAndAbout() {
        QTest::mouseClick(C("lblWeb"), Qt::RightButton);
        QCOMPARE(m_apri.Richieste.size(), 1);
        QCOMPARE(m_apri.Richieste.last().first, QStringLiteral("https://www.tegolario.example"));
        QCOMPARE(m_apri.Richieste.last().second, QStringLiteral("Open"));
        QCOMPARE(m_cursore.Profondita, 0);
        QVERIFY(m_cursore.Volte >= 1);

        QWidget* info = F(QStringLiteral("frmInfo"));
        bool modale = false;
        QTimer::singleShot(0, this, [&] {
            modale = QApplication::activeModalWidget() == info && info->isVisible();
            QTest::mouseClick(info->findChild<QWidget*>(QStringLiteral("lblPosta")), Qt::LeftButton);
            info->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        QTest::mouseClick(C("imgInfo"), Qt::LeftButton); // returns when the About window closes
        QVERIFY(modale);
        QVERIFY(!info->isVisible());
        QVERIFY(Avvio()->isVisible());
        QCOMPARE(m_apri.Richieste.last().first, QStringLiteral("mailto:info@tegolario.example"));
    }

    void launcherEndsProgram() {
        QCOMPARE(FinoAllaFine([] { Avvio()->close(); }), 0);
        Avvio()->show();
        QCOMPARE(FinoAllaFine([] { QTest::mouseClick(C("imgEsci"), Qt::LeftButton); }), 0);
    }

    void fileFilterForQt() {
        QCOMPARE(QtDialoghi::FiltriQt(QStringLiteral(
                     "File JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg;|JPG (*.jpg)|*.jpg|JPEG (*.jpeg)|*.jpeg")),
                 QStringList({"File JPEG (*.jpg;*.jpeg) (*.jpg *.jpeg)", "JPG (*.jpg) (*.jpg)", "JPEG (*.jpeg) (*.jpeg)"}));
        QCOMPARE(QtDialoghi::FiltriQt(QStringLiteral("Tutti i file (*.*)|*.*")), QStringList{"Tutti i file (*.*) (*.*)"});
    }
};

QTEST_MAIN(TestGuiAvvio)
#include "test_gui_avvio.moc"
