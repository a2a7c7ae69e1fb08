// The login and change-password windows driven through the registry, with the
// password file in a temporary program folder.
#include "support/Supporto.h"
#include "app/Registro.h"
#include "store/Password.h"
#include "doubles/Doppi.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
template <class T> T* Controllo(const char* finestra, const char* nome) {
    QWidget* w = Registro::Finestra(QString::fromLatin1(finestra));
    return w ? w->findChild<T*>(QString::fromLatin1(nome)) : nullptr;
}
QWidget* F(const char* nome) { return Registro::Finestra(QString::fromLatin1(nome)); }
} // namespace

class TestGuiAccesso : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    FintoApriSistema& m_apri = m_doppi.ApriSistema;
    FintoCursore& m_cursore = m_doppi.Cursore;
    QLineEdit* m_txt = nullptr;
    QPushButton* m_ok = nullptr;

    void Digita(QLineEdit* t, const QString& s) {
        t->clear();
        t->insert(s); // keyClicks takes ASCII only; insert goes through the same filter
    }
    // The last box shown: a plain box (caption "Tegolario", no icon) with this whole text.
    void Semplice(const QString& testo) {
        QVERIFY(!m_messaggi.Mostrati.isEmpty());
        QCOMPARE(int(m_messaggi.Ultimo().Tipo), int(TipoMessaggio::Semplice));
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QCOMPARE(m_messaggi.Ultimo().Testo, testo);
    }
    void Cambia(const QString& vecchia, const QString& nuova, const QString& conferma) {
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordOld"), vecchia);
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordNew"), nuova);
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtConferma"), conferma);
        Controllo<QPushButton>("frmCambiaPassword", "cmdOK")->click();
    }

private slots:
    void initTestCase() {
        AvviaProgramma(m_doppi, m_cartella.path());
        m_txt = Controllo<QLineEdit>("frmPassword", "txtPassword");
        m_ok = Controllo<QPushButton>("frmPassword", "cmdOK");
        QVERIFY(m_txt && m_ok);
    }
    void init() {
        QVERIFY(ScriviPassword(m_cartella.path(), QStringLiteral("Segreto")));
        m_messaggi.Azzera();
        for (QWidget* w : Registro::Tutte()) w->hide();
        m_txt->clear();
        F("frmPassword")->show();
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void rightPasswordOpensLauncher() {
        QCOMPARE(m_txt->maxLength(), 230);
        QCOMPARE(m_txt->echoMode(), QLineEdit::Password);
        // Every character shows as a filled circle.
        QCOMPARE(m_txt->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, m_txt), 0x25CF);
        // The password file holds Windows-1252 bytes only.
        m_txt->insert(QStringLiteral("ł"));
        QVERIFY(m_txt->text().isEmpty());
        // Blanks around and lower case are accepted; Enter clicks OK.
        QTest::keyClicks(m_txt, QStringLiteral("  segreto "));
        QVERIFY(m_ok->isEnabled());
        QTest::keyClick(m_txt, Qt::Key_Return);
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QVERIFY(F("frmAvvio")->isVisible());
        QVERIFY(!F("frmPassword")->isVisible());
    }

    void wrongPasswordClearsBox() {
        QTest::keyClicks(m_txt, QStringLiteral("sbagliata"));
        m_ok->click();
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Attenzione: password errata."));
        QVERIFY(m_txt->text().isEmpty());
        QCOMPARE(F("frmPassword")->focusWidget(), m_txt);
        QVERIFY(F("frmPassword")->isVisible());
        QVERIFY(!F("frmAvvio")->isVisible());
        QVERIFY(!m_ok->isEnabled());
    }

    void blankTextDoesNothing() {
        QTest::keyClicks(m_txt, QStringLiteral("   \t"));
        QVERIFY(!m_ok->isEnabled());
        QTest::keyClick(m_txt, Qt::Key_Return);
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QVERIFY(F("frmPassword")->isVisible());
        QTest::keyClicks(m_txt, QStringLiteral("x"));
        QVERIFY(m_ok->isEnabled());
    }

    void unreadableFileShowsReadingError() {
        QFile f(m_cartella.filePath(QString::fromLatin1(FilePassword)));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Accesso]\r\nValore=A1ZZ\r\n");
        f.close();
        QTest::keyClicks(m_txt, QStringLiteral("segreto"));
        m_ok->click();
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        Semplice(QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                                "password. Si consiglia di reinstallare il software."));
        QCOMPARE(m_txt->text(), QStringLiteral("segreto"));
        QVERIFY(F("frmPassword")->isVisible());
    }

    void changePassword() {
        QTest::keyClicks(m_txt, QStringLiteral("qualcosa"));
        Controllo<QPushButton>("frmPassword", "btnCambiaPassword")->click();
        QVERIFY(F("frmCambiaPassword")->isVisible());
        QVERIFY(!F("frmPassword")->isVisible());
        auto* old = Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordOld");
        auto* nuova = Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordNew");
        auto* conf = Controllo<QLineEdit>("frmCambiaPassword", "txtConferma");
        auto* ok = Controllo<QPushButton>("frmCambiaPassword", "cmdOK");
        QVERIFY(old->text().isEmpty() && !ok->isEnabled());

        // Enter moves along the boxes; on the confirmation it focuses OK without clicking it.
        QTest::keyClicks(old, QStringLiteral("a"));
        QTest::keyClick(old, Qt::Key_Return);
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), nuova);
        QTest::keyClick(nuova, Qt::Key_Return);
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), conf);
        QTest::keyClick(conf, Qt::Key_Return);
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), old);
        QTest::keyClicks(nuova, QStringLiteral("b"));
        QTest::keyClicks(conf, QStringLiteral("b"));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(conf, Qt::Key_Return);
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), ok);
        QVERIFY(m_messaggi.Mostrati.isEmpty());

        Cambia(QStringLiteral("sbagliata"), QStringLiteral("nuova"), QStringLiteral("nuova"));
        Semplice(QStringLiteral("Attenzione: vecchia password errata."));
        QVERIFY(old->text().isEmpty());
        QCOMPARE(nuova->text(), QStringLiteral("nuova"));
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), old);

        // The confirmation must repeat the letter case.
        Cambia(QStringLiteral("segreto"), QStringLiteral("nuova"), QStringLiteral("NUOVA"));
        Semplice(QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' "
                                "necessario reinserire entrambi i valori."));
        QVERIFY(nuova->text().isEmpty() && conf->text().isEmpty());
        QCOMPARE(old->text(), QStringLiteral("segreto"));
        QCOMPARE(F("frmCambiaPassword")->focusWidget(), nuova);
        QVERIFY(F("frmCambiaPassword")->isVisible());

        Cambia(QStringLiteral(" SEGRETO"), QStringLiteral(" nuovà "), QStringLiteral(" nuovà "));
        Semplice(QStringLiteral("Modifica della password avvenuta con successo."));
        QCOMPARE(m_messaggi.Mostrati.size(), 3); // one box per attempt
        QVERIFY(!F("frmCambiaPassword")->isVisible());
        QVERIFY(F("frmPassword")->isVisible());
        QVERIFY(m_txt->text().isEmpty());
        QCOMPARE(F("frmPassword")->focusWidget(), m_txt);

        // The new password is needed at once; the accented letter keeps its case.
        QCOMPARE(VerificaPassword(m_cartella.path(), QStringLiteral("segreto")), EsitoAccesso::Errata);
        QCOMPARE(VerificaPassword(m_cartella.path(), QStringLiteral("NUOVÀ")), EsitoAccesso::Errata);
        m_txt->insert(QStringLiteral("NUOVà"));
        QTest::keyClick(m_txt, Qt::Key_Return);
        QVERIFY(F("frmAvvio")->isVisible());
    }

    // A stored value that is not hexadecimal: the change window's own error, and it stays as it was.
    void unreadableFileShowsChangeError() {
        Controllo<QPushButton>("frmPassword", "btnCambiaPassword")->click();
        QFile f(m_cartella.filePath(QString::fromLatin1(FilePassword)));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Accesso]\r\nValore=XY\r\n");
        f.close();
        Cambia(QStringLiteral("segreto"), QStringLiteral("altra"), QStringLiteral("altra"));
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        Semplice(QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                                "password. Si consiglia di reinstallare il software."));
        QVERIFY(F("frmCambiaPassword")->isVisible());
        QCOMPARE(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordOld")->text(), QStringLiteral("segreto"));
        QCOMPARE(Controllo<QLineEdit>("frmCambiaPassword", "txtConferma")->text(), QStringLiteral("altra"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[Accesso]\r\nValore=XY\r\n"));
        F("frmCambiaPassword")->close();
    }

    void leavingChangeWindowChangesNothing() {
        Controllo<QPushButton>("frmPassword", "btnCambiaPassword")->click();
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordOld"), QStringLiteral("segreto"));
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordNew"), QStringLiteral("altra"));
        Digita(Controllo<QLineEdit>("frmCambiaPassword", "txtConferma"), QStringLiteral("altra"));
        Controllo<QPushButton>("frmCambiaPassword", "cmdEsci")->click();
        QVERIFY(!F("frmCambiaPassword")->isVisible());
        QVERIFY(F("frmPassword")->isVisible());
        QVERIFY(m_txt->text().isEmpty());
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QCOMPARE(VerificaPassword(m_cartella.path(), QStringLiteral("segreto")), EsitoAccesso::Giusta);

        // Shown again, the change window starts empty; its title-bar close also goes back.
        Controllo<QPushButton>("frmPassword", "btnCambiaPassword")->click();
        QVERIFY(Controllo<QLineEdit>("frmCambiaPassword", "txtPasswordNew")->text().isEmpty());
        F("frmCambiaPassword")->close();
        QVERIFY(F("frmPassword")->isVisible());
    }

    // Closing the login window ends the program; hiding it does not.
    void closingLoginEndsProgram() {
        bool vivo = false;
        QTimer::singleShot(0, this, [&] {
            F("frmPassword")->hide();
            QTimer::singleShot(0, this, [&] {
                vivo = true;
                F("frmPassword")->show();
                Controllo<QPushButton>("frmPassword", "cmdEsci")->click();
            });
        });
        QTimer guardia;
        guardia.setSingleShot(true);
        connect(&guardia, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guardia.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(vivo);
        QVERIFY(!F("frmPassword")->isVisible());
    }
};

QTEST_MAIN(TestGuiAccesso)
#include "test_gui_accesso.moc"
