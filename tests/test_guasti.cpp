// Faults a user can meet, each through the window where it shows: the record card
// window of Monolocali (created by the registry as at start) and the password
// windows. Each checks the exact Italian message and that the archive still holds
// every card it held before the fault.
#include "support/Supporto.h"
#include "app/Registro.h"
#include "doubles/Doppi.h"
#include "store/Password.h"
#include "store/TSQLiteDatabase.h"
#include "store/TScheda.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A user without rights on the files, as the agency's staff are; the tests run as
// root, who passes every permission bit. While this lives the process acts as the
// unprivileged user "nobody" (the saved user stays root, to come back).
class UtenteSenzaDiritti {
public:
    UtenteSenzaDiritti()
    {
        if (geteuid() != 0)
            return; // already an ordinary user
        m_cambiato = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
        if (!m_cambiato)
            qFatal("cannot act as an ordinary user");
    }
    ~UtenteSenzaDiritti()
    {
        if (m_cambiato && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("cannot act as root again");
    }

private:
    bool m_cambiato = false;
};

QByteArray Jpeg(int w, int h, QColor colore)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colore);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG");
    return b;
}

QString Ripeti(const QString& s, int lunghezza)
{
    QString r;
    while (r.size() < lunghezza)
        r += s;
    r.truncate(lunghezza);
    return r;
}

using Istantanea = QMap<qint64, QList<QByteArray>>; // ID -> every column

const QString Sola = QStringLiteral(
    "l'archivio o la cartella del programma è di sola lettura. Accertarsi di possedere i privilegi di "
    "scrittura nella cartella di installazione del programma.");
const QString NonInserita = QStringLiteral("La scheda corrente non è stata inserita in archivio: ");

} // namespace

class TestGuasti : public QObject {
    Q_OBJECT

    QTemporaryDir m_radice;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    QString m_cartella;
    Istantanea m_prima;

    QWidget* Scheda() { return Registro::Finestra(QStringLiteral("frmAmici")); }
    template <class T = QWidget> T* C(const char* nome)
    {
        auto* w = Scheda()->findChild<T*>(QString::fromLatin1(nome));
        if (!w)
            qFatal("control %s missing", nome);
        return w;
    }
    void Clic(const char* nome) { QTest::mouseClick(C(nome), Qt::LeftButton); }
    QString Archivio() const { return m_cartella + QStringLiteral("/Monolocali.db"); }
    QString File(const QString& nome) const { return m_cartella + QLatin1Char('/') + nome; }
    void ScriviFile(const QString& percorso, const QByteArray& dati)
    {
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(dati), dati.size());
    }
    QByteArray LeggiFile(const QString& percorso)
    {
        QFile f(percorso);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static Istantanea Leggi(const QString& archivio)
    {
        Istantanea s;
        TSQLiteDatabase db(archivio);
        const auto t = db.Query("SELECT * FROM amici");
        for (t->First(); !t->Eof(); t->Next()) {
            QList<QByteArray> colonne;
            for (int c = 0; c < t->ColumnCount(); ++c)
                colonne << t->ColumnText(c);
            s.insert(t->ColumnInteger(t->ColumnIndex("ID")), colonne);
        }
        return s;
    }

    // Three cards as the program stores them, two with a photo.
    void Semina()
    {
        TSQLiteDatabase db(Archivio());
        db.Execute(StatementoCreaTabella("amici"));
        for (int i = 1; i <= 3; ++i) {
            QByteArray sql = "INSERT INTO amici(ID";
            for (const TCampo& c : CampiTesto)
                sql += QByteArray(",") + c.Colonna;
            sql += ",Ext) VALUES (NULL";
            QList<QByteArray> testi;
            for (int k = 0; k < NumeroCampiTesto; ++k) {
                sql += ",?";
                testi << (k == cTitolo ? "RIF-" + QByteArray::number(i) : QByteArray(CampiTesto[k].Colonna) + " \xe8");
            }
            db.Execute(sql + ",'JPG');", testi);
            if (i != 2)
                db.ExecuteWithBlob("UPDATE amici SET picture = ? WHERE ID = " + QByteArray::number(db.LastInsertRowId()),
                                   Jpeg(40 * i, 30 * i, QColor(20 * i, 100, 200)));
        }
        m_prima = Leggi(Archivio());
        QCOMPARE(m_prima.size(), 3);
        QVERIFY(QFile::setPermissions(Archivio(), QFileDevice::Permissions(0x6666)));
    }

    // Every card held before the fault is still there, unchanged.
    void NienteDiPerso()
    {
        const Istantanea ora = Leggi(Archivio());
        for (auto i = m_prima.cbegin(); i != m_prima.cend(); ++i) {
            QVERIFY2(ora.contains(i.key()), qPrintable(QStringLiteral("card %1 lost").arg(i.key())));
            QCOMPARE(ora.value(i.key()), i.value());
        }
    }

    void Mostra()
    {
        Scheda()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Scheda()));
    }

    void NuovaScheda(const QString& riferimento)
    {
        Clic("cmdNuovo");
        C<QLineEdit>("txtTitolo")->setText(riferimento);
        C<QLineEdit>("txtAutore")->setText(QStringLiteral("digitata"));
        m_messaggi.Azzera();
        Clic("cmdSalva");
    }

    void ControllaMessaggio(TipoMessaggio tipo, const QString& caption, const QString& testo)
    {
        QVERIFY(!m_messaggi.Mostrati.isEmpty());
        const MessaggioMostrato& m = m_messaggi.Ultimo();
        QCOMPARE(m.Testo, testo);
        QCOMPARE(m.Caption, caption);
        QVERIFY(m.Tipo == tipo);
    }

    // A save that did not happen keeps the card on screen as typed.
    void SchedaIntatta(const QString& riferimento)
    {
        QCOMPARE(C<QLineEdit>("txtTitolo")->text(), riferimento);
        QCOMPARE(C<QLineEdit>("txtAutore")->text(), QStringLiteral("digitata"));
        QCOMPARE(C<QLabel>("lblPosizione")->text().trimmed(), QString());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_radice.isValid());
        // Ordinary users reach the test folders; only what a test closes is closed.
        QVERIFY(QFile::setPermissions(m_radice.path(), QFileDevice::Permissions(0x7755)));
        AvviaProgramma(m_doppi, m_radice.path());
        std::signal(SIGXFSZ, SIG_IGN); // a file size limit makes writes fail instead
    }
    void init()
    {
        for (QWidget* w : Registro::Tutte())
            w->hide();
        m_cartella = m_radice.filePath(QString::fromLatin1(QTest::currentTestFunction()));
        QVERIFY(QDir().mkpath(m_cartella));
        Piattaforma::ImpostaCartellaProgramma(m_cartella);
        m_messaggi.Azzera();
        m_prima.clear();
    }
    void cleanup()
    {
        for (QWidget* w : Registro::Tutte())
            w->hide();
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }
    void cleanupTestCase() { Registro::DistruggiFinestre(); }

    void cartellaDiSolaLettura()
    {
        Semina();
        Mostra();
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        QVERIFY(QFile::setPermissions(m_cartella, QFileDevice::Permissions(0x5555)));
        {
            UtenteSenzaDiritti utente;
            NuovaScheda(QStringLiteral("RIF-4"));
        }
        QFile::setPermissions(m_cartella, QFileDevice::Permissions(0x7755));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"), NonInserita + Sola);
        SchedaIntatta(QStringLiteral("RIF-4"));
        NienteDiPerso();
        QCOMPARE(Leggi(Archivio()).size(), 3);

        // Once the folder can be written, the same card is saved as it stands.
        m_messaggi.Azzera();
        Clic("cmdSalva");
        ControllaMessaggio(TipoMessaggio::Informazione, QStringLiteral("Salvataggio effettuato con successo"),
                           QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(Leggi(Archivio()).size(), 4);
    }

    void cartellaDiSolaLetturaSenzaArchivio()
    {
        // A category never opened: its archive cannot be created, and showing the
        // window says why in the error box.
        QVERIFY(QFile::setPermissions(m_cartella, QFileDevice::Permissions(0x5555)));
        {
            UtenteSenzaDiritti utente;
            Mostra();
        }
        QFile::setPermissions(m_cartella, QFileDevice::Permissions(0x7755));
        ControllaMessaggio(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                           QStringLiteral("La cartella del programma è di sola lettura, quindi l'archivio \"%1\" non "
                                          "può esservi creato. Accertarsi di possedere i privilegi di scrittura nella "
                                          "cartella di installazione del programma.\n\nFailed to open database "
                                          "\"%1\" : unable to open database file.")
                               .arg(Archivio()));
        QVERIFY(!QFile::exists(Archivio()));
    }

    void archivioDiSolaLettura()
    {
        Semina();
        Mostra();
        QVERIFY(QFile::setPermissions(Archivio(), QFileDevice::Permissions(0x4444)));
        {
            UtenteSenzaDiritti utente;
            NuovaScheda(QStringLiteral("RIF-4"));
        }
        QFile::setPermissions(Archivio(), QFileDevice::Permissions(0x6666));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"), NonInserita + Sola);
        SchedaIntatta(QStringLiteral("RIF-4"));
        NienteDiPerso();
        QCOMPARE(Leggi(Archivio()).size(), 3);
    }

    void archivioBloccatoOltreLAttesa()
    {
        Semina();
        Mostra();
        // Another computer holds the archive longer than a copy waits.
        TSQLiteDatabase altro(Archivio());
        altro.Execute("BEGIN EXCLUSIVE;");
        NuovaScheda(QStringLiteral("RIF-4"));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("l'archivio è in uso da parte di un altro utente o di un altro "
                                                        "computer. Riprovare tra qualche istante."));
        SchedaIntatta(QStringLiteral("RIF-4"));
        altro.Execute("ROLLBACK;");
        NienteDiPerso();
        m_messaggi.Azzera();
        Clic("cmdSalva");
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
        QCOMPARE(Leggi(Archivio()).size(), 4);
    }

    void discoPienoDuranteIlSalvataggio()
    {
        // A small medium of its own, as a nearly full USB stick.
        if (mount("tmpfs", qPrintable(m_cartella), "tmpfs", 0, "size=200k") != 0)
            QSKIP("this system does not let the test mount a small disk; the file size limit case runs instead");
        struct Smonta {
            QString c;
            ~Smonta() { umount2(qPrintable(c), MNT_DETACH); }
        } smonta{m_cartella};
        Semina();
        Mostra();
        const QString foto = m_radice.filePath(QStringLiteral("grande.jpg"));
        QByteArray dati = Jpeg(1600, 1200, Qt::darkGreen);
        QRandomGenerator caso(3);
        while (dati.size() < 400 * 1024) // noise after the picture, as cameras append data
            dati += char(caso.bounded(256));
        ScriviFile(foto, dati);
        Clic("cmdNuovo");
        m_doppi.Dialoghi.ProssimoPercorso = foto;
        Clic("cmdFoto");
        C<QLineEdit>("txtTitolo")->setText(QStringLiteral("RIF-4"));
        C<QLineEdit>("txtAutore")->setText(QStringLiteral("digitata"));
        m_messaggi.Azzera();
        Clic("cmdSalva");
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("il disco è pieno."));
        SchedaIntatta(QStringLiteral("RIF-4"));
        NienteDiPerso();
        QCOMPARE(Leggi(Archivio()).size(), 3);
    }

    void limiteDiDimensioneDelFile()
    {
        // The largest file the medium allows (FAT32 sticks stop at 4 GB), here a
        // limit on this process.
        Semina();
        Mostra();
        const QString foto = m_radice.filePath(QStringLiteral("grande2.jpg"));
        QByteArray dati = Jpeg(1600, 1200, Qt::darkBlue);
        QRandomGenerator caso(5);
        while (dati.size() < 600 * 1024)
            dati += char(caso.bounded(256));
        ScriviFile(foto, dati);
        Clic("cmdNuovo");
        m_doppi.Dialoghi.ProssimoPercorso = foto;
        Clic("cmdFoto");
        C<QLineEdit>("txtTitolo")->setText(QStringLiteral("RIF-4"));
        C<QLineEdit>("txtAutore")->setText(QStringLiteral("digitata"));
        m_messaggi.Azzera();
        rlimit prima{};
        getrlimit(RLIMIT_FSIZE, &prima);
        rlimit limite = prima;
        limite.rlim_cur = rlim_t(QFileInfo(Archivio()).size() + 64 * 1024);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limite), 0);
        Clic("cmdSalva");
        setrlimit(RLIMIT_FSIZE, &prima);
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("il file dell'archivio ha raggiunto la dimensione massima "
                                                        "consentita dal disco."));
        SchedaIntatta(QStringLiteral("RIF-4"));
        NienteDiPerso();
        QCOMPARE(Leggi(Archivio()).size(), 3);
    }

    void archivioCheNonESQLite()
    {
        QByteArray casuali(20000, '\0');
        QRandomGenerator caso(11);
        for (char& c : casuali)
            c = char(caso.bounded(256));
        ScriviFile(Archivio(), casuali);
        Mostra();
        ControllaMessaggio(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                           QStringLiteral("L'archivio è danneggiato.\n\nError executing SQL \"PRAGMA "
                                          "SYNCHRONOUS=NORMAL;\" : file is not a database."));
        // A save says the same, and the file is left exactly as it was.
        NuovaScheda(QStringLiteral("RIF-1"));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("l'archivio è danneggiato."));
        SchedaIntatta(QStringLiteral("RIF-1"));
        QCOMPARE(LeggiFile(Archivio()), casuali);
    }

    void archivioDanneggiato()
    {
        Semina();
        // Random bytes over the table's pages of a copy, past the first page.
        QByteArray copia = LeggiFile(Archivio());
        QRandomGenerator caso(17);
        for (qsizetype i = 4096; i < copia.size(); i += 7)
            copia[i] = char(caso.bounded(256));
        ScriviFile(Archivio(), copia);
        Mostra();
        m_messaggi.Azzera();
        Clic("imgUltimo");
        ControllaMessaggio(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                           QStringLiteral("L'archivio è danneggiato.\n\nCould not retrieve data \"SELECT * FROM amici "
                                          "WHERE ID = (SELECT MAX(ID) FROM amici)\" : database disk image is "
                                          "malformed."));
        NuovaScheda(QStringLiteral("RIF-4"));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("l'archivio è danneggiato."));
        SchedaIntatta(QStringLiteral("RIF-4"));
        QCOMPARE(LeggiFile(Archivio()), copia); // no write made the damage worse
    }

    void tabellaMancante()
    {
        {
            TSQLiteDatabase db(Archivio());
            db.Execute("CREATE TABLE appunti (testo)");
            db.Execute("INSERT INTO appunti VALUES ('da conservare')");
        }
        Mostra();
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        NuovaScheda(QStringLiteral("RIF-1"));
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
        TSQLiteDatabase db(Archivio());
        const auto t = db.Query("SELECT testo FROM appunti");
        QVERIFY(t->First());
        QCOMPARE(t->ColumnText(0), QByteArray("da conservare"));
        QCOMPARE(Leggi(Archivio()).size(), 1);
    }

    void colonneDiUnAltraVersione()
    {
        // An older table without the folder columns, holding two cards.
        QByteArray vecchia = StatementoCreaTabella("amici");
        vecchia.replace(",varCartella BLOB,varCartellaDesc BLOB", "");
        {
            TSQLiteDatabase db(Archivio());
            db.Execute(vecchia);
            db.Execute("INSERT INTO amici (varTitolo, varAutore) VALUES ('V-1', 'prima'), ('V-2', 'seconda')");
        }
        m_prima = Leggi(Archivio());
        const QString altraVersione = QStringLiteral("La tabella dell'archivio non ha le colonne di questa versione "
                                                     "del programma.\n\nField not found in dataset: varCartella.");
        Mostra();
        ControllaMessaggio(TipoMessaggio::Errore, QStringLiteral("Tegolario"), altraVersione);
        m_messaggi.Azzera();
        Clic("imgPrimo");
        ControllaMessaggio(TipoMessaggio::Errore, QStringLiteral("Tegolario"), altraVersione);
        NuovaScheda(QStringLiteral("RIF-1"));
        ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                           NonInserita + QStringLiteral("la tabella dell'archivio non ha le colonne di questa "
                                                        "versione del programma."));
        SchedaIntatta(QStringLiteral("RIF-1"));
        NienteDiPerso();
        QCOMPARE(Leggi(Archivio()).size(), 2);

        // A newer table with a column of its own: cards are saved, its values kept.
        QFile::remove(Archivio());
        {
            TSQLiteDatabase db(Archivio());
            db.Execute(StatementoCreaTabella("amici"));
            db.Execute("ALTER TABLE amici ADD COLUMN varNuova BLOB");
            db.Execute("INSERT INTO amici (varTitolo, varNuova) VALUES ('N-1', 'valore nuovo')");
        }
        m_prima = Leggi(Archivio());
        m_messaggi.Azzera();
        Clic("imgPrimo");
        QCOMPARE(C<QLineEdit>("txtTitolo")->text(), QStringLiteral("N-1"));
        C<QLineEdit>("txtAutore")->setText(QStringLiteral("aggiornata"));
        Clic("cmdSalva");
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Aggiornamento effettuato con successo"));
        NuovaScheda(QStringLiteral("N-2"));
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
        TSQLiteDatabase db(Archivio());
        const auto t = db.Query("SELECT varNuova, varAutore FROM amici WHERE varTitolo = 'N-1'");
        QVERIFY(t->First());
        QCOMPARE(t->ColumnText(0), QByteArray("valore nuovo"));
        QCOMPARE(t->ColumnText(1), QByteArray("aggiornata"));
    }

    void filePasswordGuasto()
    {
        Semina();
        const QString file = File(QLatin1String(FilePassword));
        auto* txt = Registro::Finestra(QStringLiteral("frmPassword"))->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        auto* ok = Registro::Finestra(QStringLiteral("frmPassword"))->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        const QString errata = QStringLiteral("Attenzione: password errata.");
        const QString lettura = QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura "
                                               "della password. Si consiglia di reinstallare il software.");
        struct Caso {
            const char* nome;
            std::function<void()> prepara;
            QString messaggio;
        };
        const QList<Caso> casi = {
            {"cartella", [&] { QDir().mkpath(file); }, lettura},
            {"vuoto", [&] { ScriviFile(file, QByteArray()); }, errata},
            {"non esadecimale", [&] { ScriviFile(file, "[Accesso]\r\nValore=" +
                                                           CodificaPassword("BENVENUTO").toLatin1().left(6) + "G1\r\n"); },
             lettura},
        };
        for (const Caso& c : casi) {
            QDir(file).removeRecursively();
            QFile::remove(file);
            c.prepara();
            Registro::Finestra(QStringLiteral("frmPassword"))->show();
            m_messaggi.Azzera();
            txt->setText(QStringLiteral("BENVENUTO"));
            ok->click();
            QVERIFY2(!m_messaggi.Mostrati.isEmpty(), c.nome);
            QCOMPARE(m_messaggi.Ultimo().Testo, c.messaggio);
            QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
            QVERIFY(m_messaggi.Ultimo().Tipo == TipoMessaggio::Semplice);
            QVERIFY2(!Registro::Finestra(QStringLiteral("frmAvvio"))->isVisible(), c.nome);
        }

        // Changing the password over a folder of that name fails with its message,
        // and leaves the folder as it was.
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        ScriviFile(file + QStringLiteral("/dentro.txt"), "contenuto");
        QWidget* cambia = Registro::Finestra(QStringLiteral("frmCambiaPassword"));
        cambia->show();
        m_messaggi.Azzera();
        cambia->findChild<QLineEdit*>(QStringLiteral("txtPasswordOld"))->setText(QStringLiteral("x"));
        cambia->findChild<QLineEdit*>(QStringLiteral("txtPasswordNew"))->setText(QStringLiteral("nuova"));
        cambia->findChild<QLineEdit*>(QStringLiteral("txtConferma"))->setText(QStringLiteral("nuova"));
        cambia->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(m_messaggi.Ultimo().Testo,
                 QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                                "password. Si consiglia di reinstallare il software."));
        QVERIFY(cambia->isVisible());
        QCOMPARE(LeggiFile(file + QStringLiteral("/dentro.txt")), QByteArray("contenuto"));
        NienteDiPerso();
    }

    void fotoRimossaOIlleggibilePrimaDelSalvataggio()
    {
        Semina();
        Mostra();
        for (const bool rimossa : {true, false}) {
            const QString foto = File(rimossa ? QStringLiteral("rimossa.jpg") : QStringLiteral("illeggibile.jpg"));
            ScriviFile(foto, Jpeg(320, 240, Qt::red));
            Clic("cmdNuovo");
            m_doppi.Dialoghi.ProssimoPercorso = foto;
            m_messaggi.Azzera();
            Clic("cmdFoto");
            QVERIFY(m_messaggi.Mostrati.isEmpty());
            C<QLineEdit>("txtTitolo")->setText(QStringLiteral("RIF-F"));
            C<QLineEdit>("txtAutore")->setText(QStringLiteral("digitata"));
            if (rimossa)
                QVERIFY(QFile::remove(foto));
            else
                QVERIFY(QFile::setPermissions(foto, QFileDevice::Permissions()));
            {
                UtenteSenzaDiritti utente;
                m_messaggi.Azzera();
                Clic("cmdSalva");
            }
            ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Salvataggio non riuscito"),
                               NonInserita + QStringLiteral("il file della foto \"%1\" non esiste più o non può "
                                                            "essere letto.")
                                                 .arg(foto));
            SchedaIntatta(QStringLiteral("RIF-F"));
            NienteDiPerso();
            QCOMPARE(Leggi(Archivio()).size(), 3);
        }
    }

    void fotoVuotaOEnorme()
    {
        Semina();
        Mostra();
        const QString vuota = File(QStringLiteral("vuota.jpg"));
        ScriviFile(vuota, QByteArray());
        const QString enorme = File(QStringLiteral("rumore.jpg"));
        {
            QFile f(enorme);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QRandomGenerator caso(23);
            QByteArray blocco(1024 * 1024, '\0');
            for (int mb = 0; mb < 200; ++mb) {
                caso.fillRange(reinterpret_cast<quint32*>(blocco.data()), blocco.size() / 4);
                QCOMPARE(f.write(blocco), blocco.size());
            }
        }
        for (const QString& foto : {vuota, enorme}) {
            Clic("cmdNuovo");
            C<QLineEdit>("txtTitolo")->setText(QStringLiteral("RIF-V"));
            m_doppi.Dialoghi.ProssimoPercorso = foto;
            m_messaggi.Azzera();
            Clic("cmdFoto");
            ControllaMessaggio(TipoMessaggio::Avviso, QStringLiteral("Caricamento foto non riuscito"),
                               QStringLiteral("Il file scelto non contiene una foto in formato JPEG leggibile e non "
                                              "è stato abbinato alla scheda."));
            // The card is saved without that file, with nothing lost.
            m_messaggi.Azzera();
            Clic("cmdSalva");
            QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
            NienteDiPerso();
            TSQLiteDatabase db(Archivio());
            const auto t = db.Query("SELECT Picture FROM amici WHERE ID = (SELECT MAX(ID) FROM amici)");
            QVERIFY(t->First() && t->ColumnIsNull(0));
        }
        QFile::remove(enorme);
        QCOMPARE(Leggi(Archivio()).size(), 5);
    }

    void testiDiCentomilaCaratteri()
    {
        Semina();
        Mostra();
        Clic("cmdNuovo");
        QStringList attesi;
        for (int k = 0; k < NumeroCampiTesto; ++k) {
            // Ends in a full stop: the save trims blanks at either end.
            const QString testo =
                Ripeti(QStringLiteral("R%1 ").arg(k) + QString::fromUtf8("àèìòù € “casa” con giardino, "), 99999) +
                QLatin1Char('.');
            attesi << testo;
            QWidget* w = C(CampiTesto[k].Controllo);
            if (auto* riga = qobject_cast<QLineEdit*>(w))
                riga->setText(testo);
            else if (auto* note = qobject_cast<QPlainTextEdit*>(w))
                note->setPlainText(testo);
            else
                qobject_cast<QLabel*>(w)->setText(testo);
        }
        m_messaggi.Azzera();
        Clic("cmdSalva");
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio effettuato con successo"));
        NienteDiPerso();
        // Read back through the window: every field whole, character for character.
        Clic("cmdNuovo");
        Clic("imgUltimo");
        for (int k = 0; k < NumeroCampiTesto; ++k) {
            QWidget* w = C(CampiTesto[k].Controllo);
            QString letto;
            if (auto* riga = qobject_cast<QLineEdit*>(w))
                letto = riga->text();
            else if (auto* note = qobject_cast<QPlainTextEdit*>(w))
                letto = note->toPlainText();
            else
                letto = qobject_cast<QLabel*>(w)->text();
            QCOMPARE(letto.size(), 100000);
            QVERIFY2(letto == attesi.at(k), CampiTesto[k].Controllo);
        }
        QCOMPARE(Leggi(Archivio()).size(), 4);
    }
};

QTEST_MAIN(TestGuasti)
#include "test_guasti.moc"
