// Every window of one category opened and closed 200 times, as a long working day
// does: the record card window from the launcher and each window it opens (find,
// search, export, browser, slideshow, attachments, folder, zoom, help). Memory in
// use may grow only by a fixed amount, whatever the number of rounds.
#include "support/Supporto.h"
#include "app/Registro.h"
#include "doubles/Doppi.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#if defined(__SANITIZE_ADDRESS__)
#define TEGOLARIO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TEGOLARIO_ASAN 1
#endif
#endif
#ifdef TEGOLARIO_ASAN
// From the sanitizer runtime (its header does not come with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

// Bytes the program holds from the allocator now.
qint64 InUso()
{
#ifdef TEGOLARIO_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
#endif
}

constexpr int Giri = 200;
constexpr qint64 CrescitaAmmessa = 16 * 1024 * 1024;

// The commands of the card window that open a window of their own.
const char* const Comandi[] = {"cmdTrova", "cmdRicerca", "cmdExcel", "cmdSfogliaFoto", "cmdSlideshow",
                               "cmdAllega", "cmdAssocia", "imgZoom", "cmdGuida"};

} // namespace

class TestFinestreRipetute : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    int m_aperte = 0;

    QWidget* F(const char* nome) { return Registro::Finestra(QString::fromLatin1(nome)); }
    QWidget* C(const char* nome) { return F("frmAmici")->findChild<QWidget*>(QString::fromLatin1(nome)); }

    // Clicks the command and closes whatever modal window it opens, as the user would.
    void ApriEChiudi(const char* comando)
    {
        QWidget* w = C(comando);
        if (!w)
            return;
        QTimer chiudi;
        chiudi.setInterval(0);
        connect(&chiudi, &QTimer::timeout, this, [this] {
            if (QWidget* m = QApplication::activeModalWidget(); m && m != F("frmAmici")) {
                ++m_aperte;
                m->close();
            }
        });
        chiudi.start();
        QTest::mouseClick(w, Qt::LeftButton);
        chiudi.stop();
    }

    void Giro()
    {
        F("frmAvvio")->show();
        QTest::mouseClick(F("frmAvvio")->findChild<QWidget*>(QStringLiteral("imgAmici")), Qt::LeftButton);
        if (!F("frmAmici")->isVisible())
            F("frmAmici")->show();
        for (const char* c : Comandi)
            ApriEChiudi(c);
        QTest::mouseClick(C("imgPrimo"), Qt::LeftButton);
        QTest::mouseClick(C("cmdEsci"), Qt::LeftButton);
        QVERIFY(!F("frmAmici")->isVisible());
        // Windows made for one use go when the event loop lets them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_cartella.isValid());
        AvviaProgramma(m_doppi, m_cartella.path());
        // One card with its photo, so that every window has something to show.
        QImage img(900, 700, QImage::Format_RGB32);
        img.fill(QColor(40, 90, 160));
        const QString foto = m_cartella.filePath(QStringLiteral("casa.jpg"));
        QVERIFY(img.save(foto, "JPG"));
        F("frmAmici")->show();
        m_doppi.Dialoghi.ProssimoPercorso = foto;
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        F("frmAmici")->findChild<QLineEdit*>(QStringLiteral("txtTitolo"))->setText(QStringLiteral("RIF-1"));
        QTest::mouseClick(C("cmdSalva"), Qt::LeftButton);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
        F("frmAmici")->hide();
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void duecentoAperture()
    {
        // The first rounds fill the caches (fonts, pictures, decoded photos).
        for (int i = 0; i < 10; ++i)
            Giro();
        m_doppi.Messaggi.Azzera();
        m_aperte = 0;
        const qint64 prima = InUso();
        for (int i = 0; i < Giri; ++i) {
            Giro();
            m_doppi.Messaggi.Azzera(); // the double keeps what it is shown
        }
        const qint64 crescita = InUso() - prima;
        qInfo("%d rounds, %d windows opened and closed besides the card window, memory in use %+lld KB", Giri,
              m_aperte, crescita / 1024);
        QVERIFY2(crescita < CrescitaAmmessa, qPrintable(QStringLiteral("grew by %1 KB").arg(crescita / 1024)));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }
};

QTEST_MAIN(TestFinestreRipetute)
#include "test_finestre_ripetute.moc"
