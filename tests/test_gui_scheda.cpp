// The record card window driven through its controls, with the desktop seams doubled.
#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "card/TfrmZoom.h"
#include "widgets/Comuni.h"
#include "doubles/Doppi.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    void NuovaScheda(const QString& titolo) {
        Clic("cmdNuovo");
        Scrivi("txtTitolo", titolo);
        Clic("cmdSalva");
    }

private slots:
    void initTestCase() {
        QVERIFY(m_cartella.isValid());
        Piattaforma::Imposta(&m_messaggi);
        Piattaforma::Imposta(&m_dialoghi);
        Piattaforma::Imposta(&m_cursore);
        Piattaforma::ImpostaCartellaProgramma(m_cartella.path());
    }
    void init() {
        QFile::remove(Archivio());
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
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("La scheda corrente è stata inserita in archivio."));
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
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Attenzione: operazione non applicabile"));
        Clic("cmdElimina");
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Cancellazione scheda non applicabile"));

        Scrivi("txtTitolo", QStringLiteral("R1"));
        Scrivi("txtAutore", QStringLiteral("Bilocale; luminoso"));
        C<QLabel>("lblFile01")->setText(QStringLiteral("/tmp/a.pdf"));
        Clic("cmdSalva");
        QCOMPARE(Testo("txtAutore"), QStringLiteral("Bilocale  luminoso"));
        Clic("cmdDuplica");
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Scheda pronta per essere duplicata"));
        QVERIFY(Posizione().isEmpty());
        QCOMPARE(Testo("txtTitolo"), QStringLiteral("R1"));
        QVERIFY(C<QLabel>("lblFile01")->text().isEmpty());
        Clic("cmdSalva");
        QCOMPARE(Posizione(), QStringLiteral("2"));

        m_messaggi.ImpostaProssimaRisposta(Risposta::No);
        Clic("cmdElimina");
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Si vuole proprio eliminare la scheda corrente?"));
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
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Salvataggio foto non riuscito"));

        // A file that is not a JPEG is refused: no pending file, the sample on display.
        m_dialoghi.ProssimoPercorso = origine;
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        m_dialoghi.ProssimoPercorso = ScriviFile(QStringLiteral("finta.jpg"), "non una foto");
        QTest::mouseClick(C("cmdFoto"), Qt::LeftButton);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Caricamento foto non riuscito"));
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
        QVERIFY(QFile::remove(Archivio()));
        QVERIFY(QDir().mkpath(Archivio())); // a directory where the archive should be
        Clic("imgPrimo");
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        // The cause in Italian first, then the access layer's text, with its full stop.
        QVERIFY(m_messaggi.Ultimo().Testo.startsWith(QStringLiteral("L'archivio o la cartella del programma")));
        QVERIFY(m_messaggi.Ultimo().Testo.contains(QStringLiteral("\n\nFailed to open database \"")));
        QVERIFY(m_messaggi.Ultimo().Testo.endsWith(QStringLiteral("unable to open database file.")));
        QVERIFY(m_frm->isVisible());
        QVERIFY(QDir().rmdir(Archivio()));

        // Showing the window with a file that is not an archive: error box, no crash.
        ScriviFile(QStringLiteral("Monolocali.db"), QByteArray(4096, 'x'));
        m_frm->hide();
        m_messaggi.Azzera();
        m_frm->show();
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QSignalSpy chiusa(m_frm.get(), &TfrmScheda::Chiusa);
        Clic("cmdEsci"); // the launcher comes back although the archive cannot be opened
        QCOMPARE(chiusa.count(), 1);
        QFile::remove(Archivio());
        m_frm->show();
        NuovaScheda(QStringLiteral("R1"));
        QCOMPARE(Posizione(), QStringLiteral("1"));
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
};

QTEST_MAIN(TestGuiScheda)
#include "test_gui_scheda.moc"
