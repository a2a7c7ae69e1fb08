// The record card window driven through its controls, with the desktop seams doubled.
#include "support/Supporto.h"
#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "card/TfrmZoom.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "doubles/Doppi.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "store/TSQLiteDatabase.h"
#include "store/TScheda.h"
#include "store/Win1252.h"

#include <sqlite3.h>

namespace {

// Each card column and the control that shows it, as the window is laid out.
const std::pair<const char*, const char*> ColonneEControlli[] = {
    {"varTitolo", "txtTitolo"},     {"varAutore", "txtAutore"},         {"varAlbum", "txtAlbum"},
    {"varCategoria", "txtCategoria"}, {"varData", "txtData"},           {"varFotocamera", "txtFotocamera"},
    {"varLuogo", "txtLuogo"},       {"varSoggetti", "txtSoggetti"},     {"varNote", "txtNote"},
    {"varDidascalia", "txtDidascalia"}, {"varFile01", "lblFile01"},     {"varFile02", "lblFile02"},
    {"varFile03", "lblFile03"},     {"varDesc01", "lblDesc01"},         {"varDesc02", "lblDesc02"},
    {"varDesc03", "lblDesc03"},     {"varCartella", "lblCartella"},     {"varCartellaDesc", "lblCartellaDesc"},
};

const char* const Caselle[] = {"txtTitolo", "txtAutore", "txtAlbum", "txtCategoria", "txtData",
                               "txtFotocamera", "txtLuogo", "txtSoggetti", "txtNote", "txtDidascalia"};

// Straight through SQLite, as another tool would: one statement, texts bound as TEXT
// holding the given bytes, and the photo as a BLOB when there is one.
void Sql(const QString& file, const char* sql, const QList<QByteArray>& testi = {}, const QByteArray& blob = {}) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK);
    int i = 1;
    for (const QByteArray& t : testi) sqlite3_bind_text(st, i++, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    if (!blob.isNull()) sqlite3_bind_blob(st, i, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
    const int esito = sqlite3_step(st);
    sqlite3_finalize(st);
    sqlite3_close(db);
    QCOMPARE(esito, SQLITE_DONE);
}

// One cell's bytes as stored, or "<nessuna riga>".
QByteArray Cella(const QString& file, const QByteArray& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    QByteArray r = "<nessuna riga>";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        r = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return r;
}

} // namespace

class TestGuiScheda : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    FintoMessaggi m_messaggi;
    FintoDialoghi m_dialoghi;
    FintoCursore m_cursore;
    std::unique_ptr<TfrmScheda> m_frm;

    template <class T = QWidget> T* C(const char* nome) {
        auto* w = m_frm->findChild<T*>(QString::fromLatin1(nome));
        if (!w) qFatal("control %s missing", nome);
        return w;
    }
    QString Testo(const char* nome) { return C<QLineEdit>(nome)->text(); }
    QString Posizione() { return C<QLabel>("lblPosizione")->text(); }
    void Clic(const char* nome) { QTest::mouseClick(C(nome), Qt::LeftButton); }
    QString Archivio() { return m_cartella.filePath(QStringLiteral("Monolocali.db")); }
    void Scrivi(const char* nome, const QString& t) { C<QLineEdit>(nome)->setText(t); }
    QByteArray Jpeg(int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(QColor(30, 120, 200));
        QByteArray b;
        QBuffer buf(&b);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "JPG");
        return b;
    }
    QString ScriviFile(const QString& nome, const QByteArray& dati) {
        const QString p = m_cartella.filePath(nome);
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(dati);
        return p;
    }
    // Typed character by character, as a keyboard would (any character, not only Latin-1).
    static void Digita(QWidget* w, const QString& testo) {
        for (QChar c : testo) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // The text a control shows, whichever kind it is.
    QString TestoDi(const char* nome) {
        QWidget* w = C(nome);
        if (auto* r = qobject_cast<QLineEdit*>(w)) return r->text();
        if (auto* n = qobject_cast<QPlainTextEdit*>(w)) return n->toPlainText();
        return qobject_cast<QLabel*>(w)->text();
    }
    void ImpostaTesto(const char* nome, const QString& t) {
        QWidget* w = C(nome);
        if (auto* r = qobject_cast<QLineEdit*>(w)) r->setText(t);
        else if (auto* n = qobject_cast<QPlainTextEdit*>(w)) n->setPlainText(t);
        else qobject_cast<QLabel*>(w)->setText(t);
    }
    static void Commit(QWidget* w, const QString& testo) {
        QInputMethodEvent e;
        e.setCommitString(testo);
        QApplication::sendEvent(w, &e);
    }
    void Controlla(TipoMessaggio tipo, const QString& caption, const QString& testo) {
        QVERIFY(!m_messaggi.Mostrati.isEmpty());
        QCOMPARE(int(m_messaggi.Ultimo().Tipo), int(tipo));
        QCOMPARE(m_messaggi.Ultimo().Caption, caption);
        QCOMPARE(m_messaggi.Ultimo().Testo, testo);
    }
    void NuovaScheda(const QString& titolo) {
        Clic("cmdNuovo");
        Scrivi("txtTitolo", titolo);
        Clic("cmdSalva");
    }

private slots:
    void initTestCase() {
        QVERIFY(m_cartella.isValid());
        Flusso::CaricaRisorse(); // as the program does before it creates its windows
        Piattaforma::Imposta(&m_messaggi);
        Piattaforma::Imposta(&m_dialoghi);
        Piattaforma::Imposta(&m_cursore);
        Piattaforma::ImpostaCartellaProgramma(m_cartella.path());
    }
    void init() {
        SvuotaArchivio(Archivio());
        m_frm = std::make_unique<TfrmScheda>(*Categorie::PerRadice(QStringLiteral("Amici")));
        m_frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frm.get()));
        m_frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frm.get()));
        m_messaggi.Azzera();
    }
    void cleanup() {
        m_frm.reset();
        QVERIFY(m_cursore.Profondita == 0);
    }

    void finestraEFasiDiApertura() {
        QCOMPARE(m_frm->objectName(), QStringLiteral("frmAmici"));
        QCOMPARE(m_frm->windowTitle(), QStringLiteral(" Tegolario © - Monolocali"));
        QCOMPARE(m_frm->minimumSize(), QSize(1022, 704));
        QVERIFY(m_frm->windowState() & Qt::WindowMaximized);
        QCOMPARE(C("imgFoto")->size(), QSize(605, 449));
        QCOMPARE(C("txtNote")->geometry(), QRect(14, 366, 310, 120));
        for (const char* n : {"lblFile01", "lblCartellaDesc", "txtFoto", "imgTemp"}) QVERIFY(!C(n)->isVisible());

        NuovaScheda(QStringLiteral("  R1"));
        Controlla(TipoMessaggio::Informazione, QStringLiteral("Salvataggio effettuato con successo"),
                  QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(Posizione(), QStringLiteral("1"));
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("R1"));
        NuovaScheda(QStringLiteral("R2"));
        NuovaScheda(QStringLiteral("R3"));
        QCOMPARE(Posizione(), QStringLiteral("3"));

        // Closing hands back to the launcher; showing again opens an empty card.
        QSignalSpy chiusa(m_frm.get(), &TfrmScheda::Chiusa);
        Clic("cmdEsci");
        QCOMPARE(chiusa.count(), 1);
        QVERIFY(!m_frm->isVisible());
        m_frm->show();
        QVERIFY(Posizione().isEmpty());
        QVERIFY(Testo("txtTitolo").isEmpty());
        QCOMPARE(m_frm->focusWidget(), C("txtTitolo"));
        QCOMPARE(C<RiquadroFoto>("imgFoto")->Foto().Byte(), m_frm->FotoCampione().Byte());

        // Stepping: from an unstored card back and forward both reach the first card.
        Clic("imgIndietro");
        QCOMPARE(Posizione(), QStringLiteral("1"));
        Clic("imgAvanti");
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("R2"));
        Clic("imgUltimo");
        QCOMPARE(Posizione(), QStringLiteral("3"));
        Clic("imgAvanti");
        QCOMPARE(Posizione(), QStringLiteral("3"));
        Clic("imgIndietro");
        QCOMPARE(Posizione(), QStringLiteral("2"));
        Clic("imgPrimo");
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("R1"));
        QCOMPARE(m_messaggi.Mostrati.size(), 3); // only the three saves spoke
    }

    void duplicaEdElimina() {
        Clic("cmdDuplica");
        Controlla(TipoMessaggio::Avviso, QStringLiteral("Attenzione: operazione non applicabile"),
                  QStringLiteral("La duplicazione di una scheda può avvenire soltanto dopo che questa è stata "
                                 "inserita in archivio."));
        Clic("cmdElimina");
        Controlla(TipoMessaggio::Avviso, QStringLiteral("Cancellazione scheda non applicabile"),
                  QStringLiteral("L'operazione di cancellazione non è applicabile in quanto la scheda corrente "
                                 "non è ancora stata inserita in archivio."));

        Scrivi("txtTitolo", QStringLiteral("R1"));
        Scrivi("txtAutore", QStringLiteral("Bilocale; luminoso"));
        C<QLabel>("lblFile01")->setText(QStringLiteral("/tmp/a.pdf"));
        Clic("cmdSalva");
        QCOMPARE(Testo("txtAutore"), QStringLiteral("Bilocale  luminoso"));
        Clic("cmdDuplica");
        Controlla(TipoMessaggio::Informazione, QStringLiteral("Scheda pronta per essere duplicata"),
                  QStringLiteral("Apportare le modifiche desiderate alla scheda corrente e premere Salva per "
                                 "archiviarla."));
        QVERIFY(Posizione().isEmpty());
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("R1"));
        QVERIFY(C<QLabel>("lblFile01")->text().isEmpty());
        Clic("cmdSalva");
        QCOMPARE(Posizione(), QStringLiteral("2"));

        m_messaggi.ImpostaProssimaRisposta(Risposta::No);
        Clic("cmdElimina");
        Controlla(TipoMessaggio::Domanda, QStringLiteral("Conferma cancellazione scheda"),
                  QStringLiteral("Si vuole proprio eliminare la scheda corrente?"));
        QCOMPARE(Posizione(), QStringLiteral("2"));
        m_messaggi.ImpostaProssimaRisposta(Risposta::Si);
        Clic("cmdElimina");
        QVERIFY(Posizione().isEmpty());
        QVERIFY(Testo("txtTitolo").isEmpty());
        Clic("imgUltimo");
        QCOMPARE(Posizione(), QStringLiteral("1"));
    }

    void tastieraEColori() {
        const char* ordine[] = {"txtTitolo", "txtAutore", "txtAlbum", "txtCategoria", "txtData",
                                "txtFotocamera", "txtLuogo", "txtSoggetti", "txtNote"};
        QCOMPARE(QApplication::focusWidget(), C("txtTitolo"));
        for (int i = 0; i + 1 < 9; ++i) {
            QCOMPARE(QApplication::focusWidget(), C(ordine[i]));
            QCOMPARE(C(ordine[i])->palette().color(QPalette::Base), ColoriFuoco::Giallo());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(C(ordine[i])->palette().color(QPalette::Base), ColoriFuoco::VerdeChiaro());
        }
        QCOMPARE(QApplication::focusWidget(), C("txtNote"));
        QTest::keyClicks(C("txtNote"), QStringLiteral("a"));
        QTest::keyClick(C("txtNote"), Qt::Key_Return);
        QTest::keyClicks(C("txtNote"), QStringLiteral("b"));
        QCOMPARE(C<QPlainTextEdit>("txtNote")->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(QApplication::focusWidget(), C("txtNote"));
        QTest::keyClick(C("txtNote"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), C("txtDidascalia"));
        QTest::keyClick(C("txtDidascalia"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), C("txtTitolo"));
        QTest::keyClick(C("txtTitolo"), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), C("txtDidascalia"));

        // Notes keep Windows line ends in the archive and come back as typed.
        Scrivi("txtTitolo", QStringLiteral("N"));
        Clic("cmdSalva");
        Clic("cmdNuovo");
        Clic("imgPrimo");
        QCOMPARE(C<QPlainTextEdit>("txtNote")->toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(m_frm->Scheda().Testi[cNote], QStringLiteral("a\r\nb"));
    }

    void strisciaSuggerimenti() {
        auto* info = C<QLabel>("panInfo");
        QTest::mouseMove(C("cmdSalva"));
        QCOMPARE(info->text(), QStringLiteral(" Salva in archivio i dati relativi alla scheda corrente oppure "
                                             "aggiorna la scheda esistente."));
        QTest::mouseMove(C("txtTitolo"));
        QVERIFY(info->text().startsWith(QStringLiteral(" Salva")));
        QTest::mouseMove(C("imgFoto"));
        QVERIFY(info->text().isEmpty());
        QTest::mouseMove(C("imgUltimo"));
        QCOMPARE(info->text(), QStringLiteral(" Visualizza l'ultima scheda in archivio"));
        QTest::mouseMove(C("grpContainer"), QPoint(500, 620));
        QVERIFY(info->text().isEmpty());
    }

    void caricaESalvaFoto() {
        auto* box = C<RiquadroFoto>("imgFoto");
        const QByteArray jpeg = Jpeg(2000, 1000);
        const QString origine = ScriviFile(QStringLiteral("casa.jpg"), jpeg);

        m_dialoghi.ProssimoPercorso.clear(); // cancelled: nothing changes
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        QVERIFY(Testo("txtFoto").isEmpty());

        m_dialoghi.ProssimoPercorso = origine;
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        QCOMPARE(m_dialoghi.UltimoTitolo, QStringLiteral("Selezionare una foto in formato JPEG e premere Apri"));
        QCOMPARE(Testo("txtFoto"), origine);
        QCOMPARE(box->Foto().Byte(), jpeg);
        QCOMPARE(box->RettangoloImmagine(), QRect(0, 73, 605, 302));
        QVERIFY(m_cursore.Volte > 0);

        // Saving the card stores the file's exact bytes, shown again after a step.
        Scrivi("txtTitolo", QStringLiteral("F"));
        Clic("cmdSalva");
        Clic("cmdNuovo");
        Clic("imgPrimo");
        QCOMPARE(box->Foto().Byte(), jpeg);

        // The photo on display saved to disk: ".jpg" always appended, bytes unchanged.
        m_dialoghi.ProssimoPercorso = m_cartella.filePath(QStringLiteral("copia.jpg"));
        QTest::mouseClick(C("cmdSalvaFoto"), Qt::LeftButton);
        QCOMPARE(m_dialoghi.UltimoTitolo, QStringLiteral("Salva foto in formato JPEG"));
        QFile copia(m_cartella.filePath(QStringLiteral("copia.jpg.jpg")));
        QVERIFY(copia.open(QIODevice::ReadOnly));
        QCOMPARE(copia.readAll(), jpeg);

        // An empty card saves the sample photo.
        Clic("cmdNuovo");
        m_dialoghi.ProssimoPercorso = m_cartella.filePath(QStringLiteral("campione"));
        QTest::mouseClick(C("cmdSalvaFoto"), Qt::LeftButton);
        QFile campione(m_cartella.filePath(QStringLiteral("campione.jpg")));
        QVERIFY(campione.open(QIODevice::ReadOnly));
        QVERIFY(!m_frm->FotoCampione().Vuota());
        QCOMPARE(campione.readAll(), m_frm->FotoCampione().Byte());

        // A file that cannot be written is reported, not passed over.
        m_messaggi.Azzera();
        m_dialoghi.ProssimoPercorso = m_cartella.filePath(QStringLiteral("manca/foto"));
        QTest::mouseClick(C("cmdSalvaFoto"), Qt::LeftButton);
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        Controlla(TipoMessaggio::Avviso, QStringLiteral("Salvataggio foto non riuscito"),
                  QStringLiteral("Impossibile scrivere la foto nel file %1.")
                      .arg(QDir::toNativeSeparators(m_cartella.filePath(QStringLiteral("manca/foto.jpg")))));

        // A file that opens but cannot be committed (disk full at the end): reported, and the
        // photo stays on display.
        {
            FintoFileInScrivibile pieno;
            Piattaforma::Imposta(&pieno);
            m_messaggi.Azzera();
            m_dialoghi.ProssimoPercorso = m_cartella.filePath(QStringLiteral("piena"));
            QTest::mouseClick(C("cmdSalvaFoto"), Qt::LeftButton);
            Piattaforma::Imposta(static_cast<IFile*>(nullptr));
            QCOMPARE(pieno.Tentativi, QStringList{m_cartella.filePath(QStringLiteral("piena.jpg"))});
            QCOMPARE(m_messaggi.Mostrati.size(), 1);
            Controlla(TipoMessaggio::Avviso, QStringLiteral("Salvataggio foto non riuscito"),
                      QStringLiteral("Impossibile scrivere la foto nel file %1.")
                          .arg(QDir::toNativeSeparators(m_cartella.filePath(QStringLiteral("piena.jpg")))));
            QVERIFY(!QFile::exists(m_cartella.filePath(QStringLiteral("piena.jpg"))));
            QCOMPARE(box->Foto().Byte(), m_frm->FotoCampione().Byte());
        }

        // A file that is not a JPEG is refused: no pending file, the sample on display.
        m_dialoghi.ProssimoPercorso = origine;
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        m_dialoghi.ProssimoPercorso = ScriviFile(QStringLiteral("finta.jpg"), "non una foto");
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        Controlla(TipoMessaggio::Avviso, QStringLiteral("Caricamento foto non riuscito"),
                  QStringLiteral("Il file scelto non contiene una foto in formato JPEG leggibile e non è stato "
                                 "abbinato alla scheda."));
        QVERIFY(Testo("txtFoto").isEmpty());
        QCOMPARE(box->Foto().Byte(), m_frm->FotoCampione().Byte());

        // Stored bytes that do not decode stay as they are; the box draws the sample.
        box->ImpostaFoto(TFoto::DaByte("rotto"));
        QCOMPARE(box->FotoMostrata(), &box->Riserva());
        QCOMPARE(box->Foto().Byte(), QByteArray("rotto"));
    }

    void zoom() {
        QRect riquadro;
        QByteArray mostrata;
        QTimer::singleShot(0, this, [&] {
            auto* z = qobject_cast<TfrmZoom*>(QApplication::activeModalWidget());
            if (!z) return;
            riquadro = z->Riquadro()->geometry();
            mostrata = z->Riquadro()->Foto().Byte();
            QTest::mouseClick(z->Riquadro(), Qt::LeftButton, {}, QPoint(1, 1));
        });
        Clic("imgZoom");
        QCOMPARE(mostrata, m_frm->FotoCampione().Byte());
        const QRect schermo = m_frm->screen()->geometry();
        QCOMPARE(riquadro, QRect(2, 2, schermo.width() - 4, schermo.height() - 4));
        QVERIFY(m_frm->findChildren<TfrmZoom*>().isEmpty());
        QVERIFY(m_messaggi.Mostrati.isEmpty());
    }

    void erroreLasciaLaFinestraUsabile() {
        SALTA_SENZA_CARTELLA_AL_POSTO(Archivio()); // a directory where the archive should be
        Clic("imgPrimo");
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        // The cause in Italian first, then the access layer's text, with its full stop.
        const QString percorso = QDir::toNativeSeparators(Archivio());
        QCOMPARE(m_messaggi.Ultimo().Testo,
                 QStringLiteral("Al posto dell'archivio \"%1\" c'è una cartella con lo stesso nome.\n\n"
                                "Failed to open database \"%2\" : unable to open database file.")
                     .arg(percorso, Archivio()));
        QVERIFY(m_frm->isVisible());
        QVERIFY(QDir().rmdir(Archivio()));

        // Showing the window with a file that is not an archive: error box, no crash.
        ScriviFile(QStringLiteral("Monolocali.db"), QByteArray(4096, 'x'));
        m_frm->hide();
        m_messaggi.Azzera();
        m_frm->show();
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        Controlla(TipoMessaggio::Errore, QStringLiteral("Tegolario"),
                  QStringLiteral("L'archivio è danneggiato.\n\nError executing SQL \"PRAGMA "
                                 "SYNCHRONOUS=NORMAL;\" : file is not a database."));
        QSignalSpy chiusa(m_frm.get(), &TfrmScheda::Chiusa);
        Clic("cmdEsci"); // the launcher comes back although the archive cannot be opened
        QCOMPARE(chiusa.count(), 1);
        QFile::remove(Archivio());
        m_frm->show();
        NuovaScheda(QStringLiteral("R1"));
        QCOMPARE(Posizione(), QStringLiteral("1"));
    }

    // Values put into the archive by another tool appear each in its own box, and
    // what is typed in each box is stored in its own column, by a new card and an update.
    void ogniCampoNellaSuaCasella() {
        const QByteArray foto = Jpeg(64, 48);
        QList<QByteArray> valori;
        for (const auto& [colonna, controllo] : ColonneEControlli)
            valori << QByteArray(colonna) + " caff\xE8"; // Windows-1252 bytes, as stored
        Sql(Archivio(),
            "INSERT INTO amici(ID,varTitolo,varAutore,varAlbum,varCategoria,varData,varFotocamera,varLuogo,"
            "varSoggetti,varNote,varDidascalia,varFile01,varFile02,varFile03,varDesc01,varDesc02,varDesc03,"
            "varCartella,varCartellaDesc,Ext,Picture) VALUES (7,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'JPG',?)",
            valori, foto);
        Clic("imgPrimo");
        QCOMPARE(Posizione(), QStringLiteral("7"));
        for (const auto& [colonna, controllo] : ColonneEControlli)
            QCOMPARE(TestoDi(controllo), QString::fromLatin1(colonna) + QString::fromUtf8(" caffè"));
        QCOMPARE(C<RiquadroFoto>("imgFoto")->Foto().Byte(), foto);

        auto controllaColonne = [&](const char* id, const char* suffisso) {
            for (const auto& [colonna, controllo] : ColonneEControlli)
                QCOMPARE(Cella(Archivio(), QByteArray("SELECT ") + colonna + " FROM amici WHERE ID=" + id),
                         QByteArray(controllo) + suffisso);
        };
        for (const auto& [colonna, controllo] : ColonneEControlli)
            ImpostaTesto(controllo, QString::fromLatin1(controllo) + QString::fromUtf8(" più"));
        Clic("cmdSalva");
        Controlla(TipoMessaggio::Informazione, QStringLiteral("Aggiornamento effettuato con successo"),
                  QStringLiteral("Le modifiche apportate alla scheda corrente sono state inserite in archivio."));
        controllaColonne("7", " pi\xF9");

        Clic("cmdNuovo");
        for (const auto& [colonna, controllo] : ColonneEControlli)
            ImpostaTesto(controllo, QString::fromLatin1(controllo) + QStringLiteral(" nuova"));
        Clic("cmdSalva");
        Controlla(TipoMessaggio::Informazione, QStringLiteral("Salvataggio effettuato con successo"),
                  QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(Posizione(), QStringLiteral("8"));
        controllaColonne("8", " nuova");
        QCOMPARE(Cella(Archivio(), "SELECT Ext FROM amici WHERE ID=8"), QByteArray("JPG"));
        QCOMPARE(Cella(Archivio(), "SELECT Picture IS NULL FROM amici WHERE ID=8"), QByteArray("1"));
    }

    // A picture command acts on a left click that starts and ends on it; pressed on
    // it and released beside it, or clicked with another button, it does nothing.
    void comandoPremutoERilasciatoFuori() {
        NuovaScheda(QStringLiteral("R1"));
        NuovaScheda(QStringLiteral("R2"));
        Clic("imgPrimo");
        QCOMPARE(Posizione(), QStringLiteral("1"));
        m_messaggi.Azzera();
        // A command that acted by opening a modal window would stop here: close it and say so.
        QStringList modali;
        QTimer guardia;
        connect(&guardia, &QTimer::timeout, this, [&] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                modali << m->objectName();
                m->close();
            }
        });
        guardia.start(50);

        const QList<PulsanteImmagine*> comandi = m_frm->findChildren<PulsanteImmagine*>();
        QVERIFY(comandi.size() >= 20);
        for (PulsanteImmagine* p : comandi) {
            const QPoint dentro = p->rect().center();
            for (const QPoint fuori : {QPoint(-3, dentro.y()), QPoint(p->width() + 2, dentro.y()),
                                       QPoint(dentro.x(), -1), QPoint(dentro.x(), p->height())}) {
                QTest::mousePress(p, Qt::LeftButton, {}, dentro);
                QTest::mouseRelease(p, Qt::LeftButton, {}, fuori);
            }
            QTest::mouseClick(p, Qt::RightButton, {}, dentro);
            QTest::mouseClick(p, Qt::MiddleButton, {}, dentro);
            QVERIFY2(m_messaggi.Mostrati.isEmpty(), qPrintable(p->objectName()));
            QVERIFY2(m_frm->isVisible(), qPrintable(p->objectName()));
            QVERIFY2(Posizione() == QStringLiteral("1"), qPrintable(p->objectName()));
            QVERIFY2(Testo("txtTitolo") == QStringLiteral("R1"), qPrintable(p->objectName()));
        }
        QTest::qWait(120);
        QCOMPARE(modali, QStringList());
        // Released back on it, the same press acts.
        QTest::mousePress(C("imgAvanti"), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(C("imgAvanti"), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(Posizione(), QStringLiteral("2"));
    }

    // Text composed by an input method is held to the same rule as typed text, in
    // every box: a commit with a character the archive cannot hold is refused whole.
    void soloCaratteriArchiviabiliInOgniCasella() {
        for (const char* nome : Caselle) {
            QWidget* w = C(nome);
            w->setFocus();
            QVERIFY2(w->testAttribute(Qt::WA_InputMethodEnabled), nome);
            Digita(w, QStringLiteral("ał"));
            Commit(w, QStringLiteral("b→"));
            Commit(w, QStringLiteral("ł"));
            Commit(w, QString::fromUtf8("😀"));
            Commit(w, QString::fromUtf8("è€"));
            Digita(w, QStringLiteral("Ÿ"));
            QCOMPARE(TestoDi(nome), QString::fromUtf8("aè€Ÿ"));
        }
    }

    void soloCaratteriArchiviabili() {
        Digita(C("txtTitolo"), QStringLiteral("aè→ł€b"));
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("aè€b"));
        auto* note = C<QPlainTextEdit>("txtNote");
        Digita(note, QStringLiteral("oł€"));
        QCOMPARE(note->toPlainText(), QStringLiteral("o€"));
        // A paste with an unstorable character is refused whole.
        QApplication::clipboard()->setText(QStringLiteral("x→y"));
        note->paste();
        C<QLineEdit>("txtAutore")->paste();
        QCOMPARE(note->toPlainText(), QStringLiteral("o€"));
        QVERIFY(Testo("txtAutore").isEmpty());
        QApplication::clipboard()->setText(QStringLiteral("xày"));
        note->paste();
        QCOMPARE(note->toPlainText(), QStringLiteral("o€xày"));
    }

    void testiSenzaLimite() {
        // Texts longer than a line edit's default limit survive load, save and reload whole.
        NuovaScheda(QStringLiteral("L1"));
        const QString lungo = QString(99'990, QLatin1Char('x')) + QStringLiteral("fine€àè");
        {
            TSQLiteDatabase db(Archivio());
            QByteArray sql = "UPDATE amici SET ";
            QList<QByteArray> valori;
            for (int i = 0; i < NumeroCampiTesto; ++i) {
                sql += QByteArray(i ? "," : "") + CampiTesto[i].Colonna + "=?";
                valori << Win1252::DaTesto(QString::number(i) + lungo);
            }
            db.Execute(sql + " WHERE ID=1", valori);
        }
        Clic("cmdNuovo");
        Clic("imgPrimo");
        for (int i = 0; i < NumeroCampiTesto; ++i) {
            QWidget* w = C(CampiTesto[i].Controllo);
            QString t;
            if (auto* r = qobject_cast<QLineEdit*>(w)) t = r->text();
            else if (auto* n = qobject_cast<QPlainTextEdit*>(w)) t = n->toPlainText();
            else t = static_cast<QLabel*>(w)->text();
            QCOMPARE(t, QString::number(i) + lungo);
        }
        // A plain load and save stores every text as it was.
        Clic("cmdSalva");
        TSQLiteDatabase db(Archivio());
        auto riga = db.Query("SELECT * FROM amici WHERE ID=1");
        for (int i = 0; i < NumeroCampiTesto; ++i)
            QCOMPARE(Win1252::ATesto(riga->ColumnBlobText(riga->ColumnIndex(CampiTesto[i].Colonna))),
                     QString::number(i) + lungo);
    }

    void doppioClicUnaSolaAzione() {
        NuovaScheda(QStringLiteral("D1"));
        NuovaScheda(QStringLiteral("D2"));
        NuovaScheda(QStringLiteral("D3"));
        Clic("imgPrimo");
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("D1"));
        // As the desktop delivers it: press, release, press, double click, release.
        QWindow* finestra = m_frm->windowHandle();
        const QPoint dove = C("imgAvanti")->mapTo(m_frm.get(), C("imgAvanti")->rect().center());
        QTest::mouseDClick(finestra, Qt::LeftButton, {}, dove);
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("D2"));
        const QPoint indietro = C("imgIndietro")->mapTo(m_frm.get(), C("imgIndietro")->rect().center());
        QTest::mouseDClick(finestra, Qt::LeftButton, {}, indietro);
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("D1"));
        // Pressed on the command, released away from it: nothing happens.
        QTest::mousePress(C("imgAvanti"), Qt::LeftButton);
        QTest::mouseRelease(C("imgAvanti"), Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("D1"));
    }

    void campioneGiaDietroAlMessaggio() {
        // Every box appears over a card whose photo frame already shows the sample.
        struct Osservatore : IMessaggi {
            std::function<QByteArray()> fotoInVista;
            QList<QByteArray> viste;
            QStringList testi;
            Risposta Mostra(TipoMessaggio, const QString&, const QString& testo, QObject*) override {
                viste << fotoInVista();
                testi << testo;
                return Risposta::OK;
            }
        } osservatore;
        osservatore.fotoInVista = [&] { return C<RiquadroFoto>("imgFoto")->Foto().Byte(); };
        Piattaforma::Imposta(&osservatore);
        NuovaScheda(QStringLiteral("S1"));
        Clic("cmdNuovo");
        Clic("cmdSalva"); // no reference: refused
        Piattaforma::Imposta(&m_messaggi);
        QCOMPARE(osservatore.testi,
                 (QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio."),
                              QStringLiteral("Per salvare la scheda è necessario indicare il numero di "
                                             "riferimento dell'immobile.")}));
        for (const QByteArray& vista : std::as_const(osservatore.viste))
            QCOMPARE(vista, m_frm->FotoCampione().Byte());
    }

    void contenitoreBianco() {
        // The container and its frames are white, not the style's tint of group boxes.
        m_frm->resize(1200, 800);
        QImage img = m_frm->grab().toImage();
        const std::pair<const char*, QPoint> punti[] = {
            {"grpContainer", {4, 300}}, {"grpContainer", {636, 100}}, {"grpFoto", {4, 240}},
            {"grpControlli", {4, 30}},  {"grpFrecce", {70, 50}},      {"panCampi", {340, 500}}};
        for (const auto& [nome, punto] : punti) {
            QWidget* w = C(nome);
            const QPoint p = w->mapTo(m_frm.get(), punto);
            QCOMPARE(QColor(img.pixel(p)).name(), QColor(Qt::white).name());
        }
    }
};

QTEST_MAIN(TestGuiScheda)
#include "test_gui_scheda.moc"
