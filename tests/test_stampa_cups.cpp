// A result list printed from the real quick find window through the real printer
// seam and a real CUPS queue. The test starts its own cupsd, with its own
// configuration and socket in a temporary folder, so the machine's printers are
// never touched; the queue's backend writes every job to a file, read back with
// pdftotext.
#include "app/Registro.h"
#include "doubles/Doppi.h"
#include "find/ListaRisultati.h"
#include "find/TModelloElenco.h"
#include "find/TfrmTrova.h"
#include "platform/QtStampante.h"
#include "store/TArchivio.h"
#include "store/TScheda.h"
#include "store/Win1252.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// Kept short: a Unix socket path has a small length limit.
QTemporaryDir& CartellaCups() {
    static QTemporaryDir d(QStringLiteral("/tmp/tgcups-XXXXXX"));
    return d;
}
QString InCups(const QString& nome) { return CartellaCups().filePath(nome); }

bool Scrivi(const QString& percorso, const QByteArray& testo, QFileDevice::Permissions permessi = {}) {
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly) || f.write(testo) != testo.size()) return false;
    f.close();
    return permessi == QFileDevice::Permissions() || f.setPermissions(permessi);
}

// Runs a CUPS command against the private server; its output, or the error.
QString Comando(const QString& programma, const QStringList& argomenti, bool* riuscito = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programma, argomenti);
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (riuscito) *riuscito = ok;
    return QString::fromLocal8Bit(p.readAll());
}

// Words separated by single blanks, so that the PDF text layout does not matter.
QString Parole(const QString& s) { return s.simplified(); }

} // namespace

class TestStampaCups : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    QtStampante m_stampante;
    QProcess m_cupsd;
    QString m_assente; // what is missing to run the test, if anything

    QString Lavori() const { return InCups(QStringLiteral("lavori")); }

    bool AvviaCupsd() {
        const QString d = CartellaCups().path();
        for (const char* sotto : {"spool", "cache", "state", "log", "tmp", "ppd", "bin/backend", "lavori"})
            if (!QDir().mkpath(InCups(QString::fromLatin1(sotto)))) return false;
        QFile::setPermissions(Lavori(), QFileDevice::Permissions(0x7777));
        QFile::link(QStringLiteral("/usr/lib/cups/daemon"), InCups(QStringLiteral("bin/daemon")));
        QFile::link(QStringLiteral("/usr/lib/cups/filter"), InCups(QStringLiteral("bin/filter")));
        // The queue's backend: each job as a file of its own, complete before it appears.
        const QByteArray backend =
            "#!/bin/sh\n"
            "if [ $# -eq 0 ]; then echo 'direct tegolario \"Tegolario\" \"File di prova\"'; exit 0; fi\n"
            "out=\"${DEVICE_URI#tegolario:}/lavoro-$1\"\n"
            "if [ $# -ge 6 ]; then cat \"$6\" >\"$out.tmp\"; else cat >\"$out.tmp\"; fi && mv \"$out.tmp\" \"$out.pdf\"\n";
        const bool ok =
            Scrivi(InCups(QStringLiteral("bin/backend/tegolario")), backend,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner) &&
            Scrivi(InCups(QStringLiteral("cupsd.conf")),
                   "Listen " + InCups(QStringLiteral("cups.sock")).toUtf8() +
                       "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n") &&
            Scrivi(InCups(QStringLiteral("cups-files.conf")),
                   ("ServerRoot " + d + "\nServerBin " + d + "/bin\nRequestRoot " + d + "/spool\nCacheDir " + d +
                    "/cache\nStateDir " + d + "/state\nTempDir " + d + "/tmp\nErrorLog " + d +
                    "/log/error_log\nAccessLog " + d + "/log/access_log\nPageLog " + d + "/log/page_log\n")
                       .toUtf8());
        if (!ok) return false;
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"), InCups(QStringLiteral("cupsd.conf")),
                       QStringLiteral("-s"), InCups(QStringLiteral("cups-files.conf"))});
        if (!m_cupsd.waitForStarted(10000)) return false;
        QElapsedTimer attesa;
        attesa.start();
        while (!QFile::exists(InCups(QStringLiteral("cups.sock"))) && attesa.elapsed() < 20000) {
            if (m_cupsd.state() != QProcess::Running) return false;
            QTest::qWait(50);
        }
        bool creata = false;
        Comando(QStringLiteral("/usr/sbin/lpadmin"),
                {QStringLiteral("-p"), QStringLiteral("Ufficio"), QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("tegolario:") + Lavori(), QStringLiteral("-m"), QStringLiteral("raw")},
                &creata);
        bool predefinita = false;
        Comando(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-d"), QStringLiteral("Ufficio")}, &predefinita);
        return creata && predefinita;
    }

    // The next job file written by the queue, as text; empty after 60 s.
    QString Lavoro(int numero, QString* info = nullptr) {
        QElapsedTimer attesa;
        attesa.start();
        QString pdf;
        while (attesa.elapsed() < 60000) {
            const QStringList lavori = QDir(Lavori()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
            if (lavori.size() >= numero) {
                pdf = QDir(Lavori()).filePath(lavori.at(numero - 1));
                break;
            }
            QTest::qWait(100);
        }
        if (pdf.isEmpty()) return QString();
        if (info) *info = Comando(QStringLiteral("pdfinfo"), {pdf});
        return Comando(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    }

    TfrmTrova* Trova() { return qobject_cast<TfrmTrova*>(Registro::Finestra(QStringLiteral("frmTrovaCelebrazioni"))); }

    void Cerca(const QString& chiave) {
        TfrmTrova* t = Trova();
        auto* cbo = t->findChild<QComboBox*>(QStringLiteral("cboCriterio"));
        cbo->setCurrentIndex(0);
        emit cbo->activated(0);
        t->findChild<QLineEdit*>(QStringLiteral("txtCriterio"))->setText(chiave);
        QTest::mouseClick(t->findChild<QPushButton*>(QStringLiteral("btnPopola")), Qt::LeftButton);
    }

    void Inserisci(int quante, const char* prefisso) {
        TArchivio a(*Categorie::PerTabella(QStringLiteral("celebrazioni")));
        a.ApriArchivio();
        QByteArray sql = "INSERT INTO celebrazioni (" + Statementi::ColonneElenco().mid(3) + ",Ext) VALUES (";
        for (int i = 0; i < NumeroCampiTesto; ++i) sql += "?,";
        sql += "'JPG')";
        for (int i = 0; i < quante; ++i) {
            QList<QByteArray> v(NumeroCampiTesto);
            v[cTitolo] = prefisso + QByteArray::number(100 + i);
            v[cAutore] = Win1252::DaTesto(QStringLiteral("Deposito n. %1 con soppalco, città").arg(i));
            v[cCategoria] = QByteArray::number(1 + i % 3);
            v[cData] = QByteArray::number(200 + i);
            v[cFotocamera] = Win1252::DaTesto(QStringLiteral("€ %1.000").arg(90 + i));
            a.Connessione()->Execute(sql, v);
        }
    }

private slots:
    void initTestCase() {
        if (geteuid() != 0) m_assente = QStringLiteral("cupsd runs only as root");
        for (const char* p : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin"})
            if (!QFile::exists(QString::fromLatin1(p))) m_assente = QStringLiteral("%1 is missing (make test installs cups)").arg(p);
        for (const char* p : {"pdftotext", "pdfinfo"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(p)).isEmpty())
                m_assente = QStringLiteral("%1 is missing (make test installs poppler-utils)").arg(p);
        if (!m_assente.isEmpty()) QSKIP(qPrintable(m_assente));
        QVERIFY(CartellaCups().isValid());
        QVERIFY2(AvviaCupsd(), qPrintable(QString::fromLocal8Bit(m_cupsd.readAll())));
        AvviaProgramma(m_doppi, m_cartella.path());
        Piattaforma::Imposta(&m_stampante);
    }
    void cleanupTestCase() {
        Piattaforma::Imposta(static_cast<IStampante*>(nullptr));
        Registro::DistruggiFinestre();
        if (m_cupsd.state() == QProcess::Running) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000)) m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }

    void elencoSullaStampantePredefinita() {
        Inserisci(4, "D");
        TfrmTrova* t = Trova();
        t->show();
        Cerca(QStringLiteral("D"));
        const QStringList righe = t->findChild<ListaRisultati*>(QStringLiteral("lstRecords"))->Modello()->Righe();
        QCOMPARE(righe.size(), 4);
        m_doppi.Orologio.Ora = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2));
        QTest::mouseClick(t->findChild<QPushButton*>(QStringLiteral("btnStampa")), Qt::LeftButton);
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1); // the question only: no error
        QCOMPARE(m_doppi.Messaggi.Ultimo().Testo, QStringLiteral("Si vuole stampare l'elenco corrente?"));

        QString info;
        const QString testo = Lavoro(1, &info);
        QVERIFY2(!testo.isEmpty(), "no job reached the queue");
        const QString parole = Parole(testo);
        QVERIFY(parole.startsWith(QStringLiteral("----------------------- Elenco foto depositi -----------------------")));
        for (const QString& r : righe) QVERIFY2(parole.contains(Parole(r)), qPrintable(r));
        QVERIFY(parole.indexOf(Parole(righe[0])) < parole.indexOf(Parole(righe[3])));
        QVERIFY(parole.contains(QString::fromUtf8("€ 93.000")));
        QVERIFY(parole.endsWith(QStringLiteral("____________________ Stampa eseguita in data 05/03/2024 alle ore 09:07:02")));
        QVERIFY2(info.contains(QStringLiteral("Pages:           1")), qPrintable(info));
        // Landscape: the page is wider than it is tall.
        const QRegularExpressionMatch pagina =
            QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
        QVERIFY(pagina.hasMatch());
        QVERIFY(pagina.captured(1).toDouble() > pagina.captured(2).toDouble());
        t->close();
    }

    void elencoSuPiuPagine() {
        Inserisci(80, "L");
        TfrmTrova* t = Trova();
        t->show();
        Cerca(QStringLiteral("L"));
        QTest::mouseClick(t->findChild<QPushButton*>(QStringLiteral("btnStampa")), Qt::LeftButton);
        QString info;
        const QString testo = Lavoro(2, &info);
        QVERIFY(!testo.isEmpty());
        const QRegularExpressionMatch pagine = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY(pagine.hasMatch());
        QVERIFY2(pagine.captured(1).toInt() >= 2, qPrintable(info));
        QCOMPARE(testo.count(QStringLiteral("Elenco foto depositi")), 1); // the heading on the first page only
        const QStringList righe = t->findChild<ListaRisultati*>(QStringLiteral("lstRecords"))->Modello()->Righe();
        const QString parole = Parole(testo);
        for (const QString& r : righe) QVERIFY2(parole.contains(Parole(r)), qPrintable(r));
        t->close();
    }

    void codaCheRifiutaILavoro() {
        bool ok = false;
        Comando(QStringLiteral("/usr/sbin/cupsreject"), {QStringLiteral("Ufficio")}, &ok);
        QVERIFY(ok);
        m_doppi.Messaggi.Azzera();
        TfrmTrova* t = Trova();
        t->show();
        Cerca(QStringLiteral("D"));
        QTest::mouseClick(t->findChild<QPushButton*>(QStringLiteral("btnStampa")), Qt::LeftButton);
        // Said in the error box, never a silent no-op; the list stays.
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 2);
        const MessaggioMostrato errore = m_doppi.Messaggi.Ultimo();
        QCOMPARE(errore.Tipo, TipoMessaggio::Errore);
        QVERIFY2(errore.Testo.startsWith(QStringLiteral("La stampante \"Ufficio\" non ha accettato il lavoro di stampa")),
                 qPrintable(errore.Testo));
        QCOMPARE(t->findChild<ListaRisultati*>(QStringLiteral("lstRecords"))->Modello()->Conteggio(), 4);
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        // Accepting again, the next job goes through.
        Comando(QStringLiteral("/usr/sbin/cupsaccept"), {QStringLiteral("Ufficio")}, &ok);
        QVERIFY(ok);
        m_doppi.Messaggi.Azzera();
        QTest::mouseClick(t->findChild<QPushButton*>(QStringLiteral("btnStampa")), Qt::LeftButton);
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QVERIFY(!Lavoro(3).isEmpty());
        t->close();
    }
};

int main(int argc, char** argv) {
    // The private server only: the machine's printers and the user's choices stay out.
    qputenv("CUPS_SERVER", CartellaCups().filePath(QStringLiteral("cups.sock")).toUtf8());
    qputenv("HOME", CartellaCups().path().toUtf8());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QApplication app(argc, argv);
    TestStampaCups t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_stampa_cups.moc"
