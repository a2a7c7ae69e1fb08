// Record operations on the working card against a real archive in a temporary
// program folder, with message boxes answered by the test double.
#include "doubles/Doppi.h"
#include "store/TOperazioniScheda.h"
#include "store/Win1252.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

QByteArray ScriviJpeg(const QString& percorso, int w, int h, QColor colore)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colore);
    for (int y = 0; y < h; y += 7) // some detail, so sizes differ from photo to photo
        for (int x = 0; x < w; x += 5)
            img.setPixel(x, y, qRgb((x * 13) & 255, (y * 7) & 255, (x + y) & 255));
    if (!img.save(percorso, "JPG"))
        return {};
    QFile f(percorso);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

const QString Riferimento = QString::fromUtf8("Per salvare la scheda è necessario indicare il numero di "
                                              "riferimento dell'immobile.");

} // namespace

class TestOperazioni : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    FintoMessaggi m_msg;
    FintoCursore m_cursore;
    std::unique_ptr<TArchivio> m_archivio;
    TSchedaLavoro m_scheda;
    std::unique_ptr<TOperazioniScheda> m_op;
    QByteArray m_campione;
    int m_focus = 0;

    QString Percorso() const { return m_archivio->Percorso(); }
    std::unique_ptr<TSQLiteDatabase> Altra() { return std::make_unique<TSQLiteDatabase>(Percorso()); }
    // Rows as stored: "ID|varTitolo|varAutore|Picture length", ID order.
    QStringList Righe()
    {
        auto db = Altra();
        auto t = db->Query("SELECT ID, varTitolo, varAutore, length(Picture) AS N FROM amici ORDER BY ID");
        QStringList r;
        for (t->First(); !t->Eof(); t->Next())
            r << QString::number(t->ColumnInteger(0)) + "|" + Win1252::ATesto(t->ColumnText(1)) + "|" +
                     Win1252::ATesto(t->ColumnText(2)) + "|" + QString::fromLatin1(t->ColumnText(3));
        return r;
    }
    QByteArray FotoArchivio(qint64 id)
    {
        auto db = Altra();
        auto t = db->Query("SELECT Picture FROM amici WHERE ID=" + QByteArray::number(id));
        const QByteArray* b = t->Count() ? t->ColumnBlob(0) : nullptr;
        return b ? *b : QByteArray();
    }
    void Nuova(const QString& titolo, const QString& autore = QString())
    {
        m_op->PulisciScheda();
        m_scheda.Testi[cTitolo] = titolo;
        m_scheda.Testi[cAutore] = autore;
    }
    void Controlla(TipoMessaggio tipo, const QString& caption, const QString& testo)
    {
        QVERIFY(!m_msg.Mostrati.isEmpty());
        QCOMPARE(int(m_msg.Ultimo().Tipo), int(tipo));
        QCOMPARE(m_msg.Ultimo().Caption, caption);
        QCOMPARE(m_msg.Ultimo().Testo, testo);
        QCOMPARE(m_cursore.Profondita, 0);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Piattaforma::ImpostaCartellaProgramma(m_dir->path());
        Piattaforma::Imposta(&m_msg);
        Piattaforma::Imposta(&m_cursore);
        m_msg.Azzera();
        m_campione = ScriviJpeg(m_dir->filePath("campione.jpg"), 40, 30, Qt::gray);
        QVERIFY(!m_campione.isEmpty());
        m_archivio = std::make_unique<TArchivio>(*Categorie::PerRadice("Amici"));
        m_scheda = TSchedaLavoro();
        m_op = std::make_unique<TOperazioniScheda>(*m_archivio, m_scheda, TFoto::DaByte(m_campione));
        m_focus = 0;
        m_op->FocusTitolo = [this] { ++m_focus; };
        m_archivio->ApriArchivio(Statementi::PrimaScheda("amici"));
    }

    void cleanup()
    {
        m_op.reset();
        m_archivio.reset();
        m_dir.reset();
    }

    void salvaInserisceEAggiorna()
    {
        // Blank reference: refused, but the blanks replacing ";" and '"' already show.
        Nuova(" \t ", "due;vani");
        m_scheda.Testi[cNote] = "con \"vista\"";
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio scheda non applicabile", Riferimento);
        QCOMPARE(m_scheda.Testi[cAutore], QString("due vani"));
        QCOMPARE(m_scheda.Testi[cNote], QString("con  vista "));
        QVERIFY(!m_scheda.ID);
        QCOMPARE(m_focus, 2); // PulisciScheda, then the refusal
        QVERIFY(Righe().isEmpty());

        // First card gets number 1; texts trimmed, "ID" stored as typed, Windows-1252 bytes.
        m_scheda.Testi[cTitolo] = "  R-001 ";
        m_scheda.Testi[cAutore] = "ID";
        m_scheda.Testi[cAlbum] = QString::fromUtf8("Città ");
        // The window is asked to show the stored card before the box appears over it.
        std::optional<qint64> mostrato;
        m_op->MostraScheda = [&] { mostrato = m_scheda.ID; };
        m_op->SalvaScheda();
        m_op->MostraScheda = nullptr;
        QCOMPARE(mostrato, std::optional<qint64>(1));
        Controlla(TipoMessaggio::Informazione, "Salvataggio effettuato con successo",
                  QString::fromUtf8("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));
        QCOMPARE(m_scheda.Testi[cTitolo], QString("R-001"));
        QCOMPARE(m_scheda.Testi[cNote], QString("con  vista"));
        QCOMPARE(m_scheda.Foto.Byte(), m_campione); // no photo: the sample
        QCOMPARE(Righe(), QStringList{"1|R-001|ID|"});
        {
            auto db = Altra();
            auto t = db->Query("SELECT typeof(varAlbum), varAlbum, Ext, Picture IS NULL FROM amici");
            QCOMPARE(t->ColumnText(0), QByteArray("text"));
            QCOMPARE(t->ColumnText(1), QByteArray("Citt\xE0"));
            QCOMPARE(t->ColumnText(2), QByteArray("JPG"));
            QCOMPARE(t->ColumnInteger(3), int64_t(1));
        }

        // Update: stored trimmed, the card keeps what was typed.
        m_scheda.Testi[cTitolo] = "  R-002";
        m_scheda.Testi[cAutore] = "varTitolo";
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Informazione, "Aggiornamento effettuato con successo",
                  "Le modifiche apportate alla scheda corrente sono state inserite in archivio.");
        QCOMPARE(m_scheda.Testi[cTitolo], QString("  R-002"));
        QCOMPARE(Righe(), QStringList{"1|R-002|varTitolo|"});

        m_scheda.Testi[cTitolo] = "   ";
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio scheda non applicabile",
                  QString::fromUtf8("Per aggiornare la scheda è necessario indicare il numero di "
                                    "riferimento dell'immobile."));
        QCOMPARE(Righe(), QStringList{"1|R-002|varTitolo|"});
    }

    void passiTraLeSchede()
    {
        const QByteArray foto7 = ScriviJpeg(m_dir->filePath("7.jpg"), 64, 48, Qt::red);
        {
            auto db = Altra();
            for (int id : {3, 7, 12})
                db->Execute("INSERT INTO amici(ID,varTitolo,Ext) VALUES (" + QByteArray::number(id) + ",'R" +
                            QByteArray::number(id) + "','JPG')");
            db->ExecuteWithBlob("UPDATE amici SET picture = ? WHERE ID = 7", foto7);
        }
        auto id = [this] { return int(m_scheda.ID.value_or(-1)); };

        m_op->UltimaScheda();
        QCOMPARE(id(), 12);
        QCOMPARE(m_scheda.Testi[cTitolo], QString("R12"));
        m_scheda.Testi[cNote] = "scritto";
        m_op->SchedaSuccessiva(); // at the end: nothing changes
        QCOMPARE(id(), 12);
        QCOMPARE(m_scheda.Testi[cNote], QString("scritto"));
        m_op->SchedaPrecedente();
        QCOMPARE(id(), 7);
        QCOMPARE(m_scheda.Foto.Byte(), foto7);
        QCOMPARE(m_scheda.Testi[cNote], QString());
        m_op->SchedaPrecedente();
        QCOMPARE(id(), 3);
        QCOMPARE(m_scheda.Foto.Byte(), m_campione);
        m_op->SchedaPrecedente();
        QCOMPARE(id(), 3);
        m_op->SchedaSuccessiva();
        QCOMPARE(id(), 7);
        m_op->PrimaScheda();
        QCOMPARE(id(), 3);
        QCOMPARE(m_cursore.Profondita, 0);

        // An unstored card: both directions bring the first card; the pending photo goes.
        for (int verso = 0; verso < 2; ++verso) {
            Nuova("nuova");
            m_scheda.FotoInAttesa = m_dir->filePath("7.jpg");
            verso ? m_op->SchedaSuccessiva() : m_op->SchedaPrecedente();
            QCOMPARE(id(), 3);
            QCOMPARE(m_scheda.Testi[cTitolo], QString("R3"));
            QVERIFY(m_scheda.FotoInAttesa.isEmpty());
        }
        QVERIFY(m_msg.Mostrati.isEmpty());

        // A category without a file: the first step creates the table and changes nothing.
        TArchivio vuoto(*Categorie::PerRadice("Vacanze"));
        TOperazioniScheda op(vuoto, m_scheda, TFoto::DaByte(m_campione));
        Nuova("resta");
        op.PrimaScheda();
        op.UltimaScheda();
        op.SchedaSuccessiva();
        QCOMPARE(m_scheda.Testi[cTitolo], QString("resta"));
        QVERIFY(!m_scheda.ID);
        QVERIFY(QFile::exists(vuoto.Percorso()));
    }

    void eliminaERiusoNumero()
    {
        m_op->EliminaScheda();
        Controlla(TipoMessaggio::Avviso, "Cancellazione scheda non applicabile",
                  QString::fromUtf8("L'operazione di cancellazione non è applicabile in quanto la scheda "
                                    "corrente non è ancora stata inserita in archivio."));
        Nuova("A");
        m_op->SalvaScheda();
        Nuova("B");
        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(2));

        m_msg.ImpostaProssimaRisposta(Risposta::No);
        m_op->EliminaScheda();
        Controlla(TipoMessaggio::Domanda, "Conferma cancellazione scheda",
                  "Si vuole proprio eliminare la scheda corrente?");
        QCOMPARE(m_scheda.ID, std::optional<qint64>(2));
        QCOMPARE(m_scheda.Testi[cTitolo], QString("B"));
        QCOMPARE(Righe().size(), 2);

        m_msg.ImpostaProssimaRisposta(Risposta::Si);
        m_op->EliminaScheda();
        QVERIFY(!m_scheda.ID);
        QVERIFY(m_scheda.Testi[cTitolo].isEmpty());
        QCOMPARE(m_scheda.Foto.Byte(), m_campione);
        QCOMPARE(Righe(), QStringList{"1|A||"});

        Nuova("C");
        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(2));
    }

    void fotoConLaScheda()
    {
        const QString fa = m_dir->filePath("a.jpg"), fb = m_dir->filePath("b.jpg");
        const QByteArray a = ScriviJpeg(fa, 120, 80, Qt::blue);
        const QByteArray b = ScriviJpeg(fb, 640, 480, Qt::green);
        QVERIFY(!a.isEmpty() && !b.isEmpty() && a != b);

        Nuova("F1");
        m_scheda.FotoInAttesa = fa;
        m_scheda.Foto = TFoto::DaFile(fa);
        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));
        QCOMPARE(FotoArchivio(1), a);
        QCOMPARE(m_scheda.Foto.Byte(), a);
        QVERIFY(m_scheda.FotoInAttesa.isEmpty());

        m_scheda.Testi[cAutore] = "solo testo";
        m_op->SalvaScheda();
        QCOMPARE(FotoArchivio(1), a);

        m_scheda.FotoInAttesa = fb;
        m_op->SalvaScheda();
        QCOMPARE(FotoArchivio(1), b);
        QVERIFY(m_scheda.FotoInAttesa.isEmpty());

        // The chosen file vanishes before the save: nothing at all is stored.
        const QString sparita = m_dir->filePath("sparita.jpg");
        ScriviJpeg(sparita, 20, 20, Qt::black);
        m_scheda.FotoInAttesa = sparita;
        m_scheda.Testi[cAutore] = "non salvato";
        QFile::remove(sparita);
        m_op->SalvaScheda();
        const QString causa = QString::fromUtf8("il file della foto \"%1\" non esiste più o non può essere letto.")
                                  .arg(sparita);
        Controlla(TipoMessaggio::Avviso, "Aggiornamento non riuscito",
                  "Le modifiche apportate alla scheda corrente non sono state inserite in archivio: " + causa);
        QCOMPARE(Righe(), QStringList{"1|F1|solo testo|" + QString::number(b.size())});
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));

        Nuova("F2", "nuova");
        m_scheda.FotoInAttesa = sparita;
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                  QString::fromUtf8("La scheda corrente non è stata inserita in archivio: ") + causa);
        QCOMPARE(Righe().size(), 1);
        QVERIFY(!m_scheda.ID);
        QCOMPARE(m_scheda.Testi[cTitolo], QString("F2"));
        QCOMPARE(m_scheda.FotoInAttesa, sparita);
    }

    // The photo statement fails with SQLite's own error after the card's statement ran
    // in the same transaction (here an archive whose table refuses photos). Nothing of
    // the card is stored, and no lock stays held while the user reads the message.
    void fotoRifiutataDallArchivio()
    {
        Nuova("T1", "prima");
        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));
        Altra()->Execute("CREATE TRIGGER senza_foto BEFORE UPDATE OF Picture ON amici "
                         "BEGIN SELECT RAISE(ABORT, 'foto rifiutata'); END");
        const QString fa = m_dir->filePath("a.jpg");
        QVERIFY(!ScriviJpeg(fa, 60, 40, Qt::blue).isEmpty());
        // Another connection that does not wait writes at once; the error otherwise.
        auto scriveSubito = [this](int id) {
            try {
                auto altra = Altra();
                altra->ImpostaAttesa(0);
                altra->Execute("INSERT INTO amici(ID,varTitolo) VALUES (" + QByteArray::number(id) + ",'altro')");
            } catch (const ESQLiteException& e) {
                return e.Messaggio();
            }
            return QString();
        };

        // Update of a stored card.
        m_scheda.Testi[cAutore] = "dopo";
        m_scheda.FotoInAttesa = fa;
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Aggiornamento non riuscito",
                  QString::fromUtf8("Le modifiche apportate alla scheda corrente non sono state inserite in "
                                    "archivio: si è verificato un errore nell'accesso all'archivio (Error "
                                    "executing SQL statement \"UPDATE amici SET picture = ? WHERE ID = 1\" : "
                                    "foto rifiutata)."));
        QCOMPARE(scriveSubito(20), QString());
        QCOMPARE(Righe(), (QStringList{"1|T1|prima|", "20|altro||"}));
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));
        QCOMPARE(m_scheda.Testi[cAutore], QString("dopo"));
        QCOMPARE(m_scheda.FotoInAttesa, fa);

        // A new card.
        Nuova("T2", "nuova");
        m_scheda.FotoInAttesa = fa;
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                  QString::fromUtf8("La scheda corrente non è stata inserita in archivio: si è verificato un "
                                    "errore nell'accesso all'archivio (Error executing SQL statement \"UPDATE "
                                    "amici SET picture = ? WHERE ID = 21\" : foto rifiutata)."));
        QCOMPARE(scriveSubito(30), QString());
        QCOMPARE(Righe(), (QStringList{"1|T1|prima|", "20|altro||", "30|altro||"}));
        QVERIFY(!m_scheda.ID);
        QCOMPARE(m_scheda.Testi[cAutore], QString("nuova"));
        QCOMPARE(m_scheda.FotoInAttesa, fa);
        QCOMPARE(m_msg.Mostrati.size(), 3); // the first save, then the two failures
    }

    void aggiornaSchedaEliminataAltrove()
    {
        Nuova("X1");
        m_op->SalvaScheda();
        Altra()->Execute("DELETE FROM amici WHERE ID=1");
        m_scheda.Testi[cAutore] = "modificata";
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Aggiornamento non riuscito",
                  QString::fromUtf8("Le modifiche apportate alla scheda corrente non sono state inserite in "
                                    "archivio: la scheda non esiste più in archivio, perché nel frattempo è "
                                    "stata eliminata."));
        QCOMPARE(m_scheda.ID, std::optional<qint64>(1));
        QCOMPARE(m_scheda.Testi[cAutore], QString("modificata"));
        // The connection knows its transaction ended: the next one starts.
        TSQLiteDatabase* db = m_archivio->Connessione();
        QVERIFY(db && !db->InTransaction());
        db->StartTransaction();
        db->Commit();
        // The failed update holds no lock: another writer goes through without waiting.
        auto altra = Altra();
        altra->ImpostaAttesa(0);
        altra->Execute("INSERT INTO amici(ID,varTitolo) VALUES (5,'Y')");
        QCOMPARE(Righe(), QStringList{"5|Y||"});
    }

    void archivioBloccato()
    {
        Nuova("P1");
        m_op->SalvaScheda();

        auto blocco = Altra();
        blocco->StartTransaction();
        blocco->Execute("INSERT INTO amici(ID,varTitolo) VALUES (50,'altro computer')");
        Nuova("P2", "da non perdere");
        m_op->SalvaScheda(); // waits AttesaBlocco ms, then gives up
        Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                  QString::fromUtf8("La scheda corrente non è stata inserita in archivio: l'archivio è in uso "
                                    "da parte di un altro utente o di un altro computer. Riprovare tra qualche "
                                    "istante."));
        QVERIFY(!m_scheda.ID);
        QCOMPARE(m_scheda.Testi[cAutore], QString("da non perdere"));
        blocco->ImpostaAttesa(0);
        blocco->Commit();
        blocco.reset();

        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(51));
        QCOMPARE(Righe(), (QStringList{"1|P1||", "50|altro computer||", "51|P2|da non perdere|"}));

        // A lock released while the save waits: the save goes through.
        blocco = Altra();
        blocco->StartTransaction();
        blocco->Execute("INSERT INTO amici(ID,varTitolo) VALUES (60,'breve')");
        std::thread rilascio([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            blocco->Commit();
        });
        m_scheda.Testi[cAutore] = "dopo l'attesa";
        m_op->SalvaScheda();
        rilascio.join();
        Controlla(TipoMessaggio::Informazione, "Aggiornamento effettuato con successo",
                  "Le modifiche apportate alla scheda corrente sono state inserite in archivio.");
        QCOMPARE(Righe().at(2), QString("51|P2|dopo l'attesa|"));
    }

    void archivioNonApribile()
    {
        // Each failure to open names what is really in the way, and keeps the card.
        const QString inizio = QString::fromUtf8("La scheda corrente non è stata inserita in archivio: ");
        TArchivio negozi(*Categorie::PerRadice("Lavoro"));
        QVERIFY(QDir().mkdir(negozi.Percorso()));
        {
            TOperazioniScheda op(negozi, m_scheda, TFoto::DaByte(m_campione));
            Nuova("N1", "vetrina");
            op.SalvaScheda();
            Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                      inizio + QString::fromUtf8("al posto dell'archivio \"%1\" c'è una cartella con lo "
                                                 "stesso nome.").arg(QDir::toNativeSeparators(negozi.Percorso())));
            QVERIFY(!m_scheda.ID);
            QCOMPARE(m_scheda.Testi[cAutore], QString("vetrina"));
        }

        // The program folder has gone (a USB stick pulled out).
        const QString sparita = m_dir->filePath("chiavetta");
        Piattaforma::ImpostaCartellaProgramma(sparita);
        TArchivio uffici(*Categorie::PerRadice("Vacanze"));
        TOperazioniScheda op(uffici, m_scheda, TFoto::DaByte(m_campione));
        Nuova("U1", "scrivania");
        op.SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                  inizio + QString::fromUtf8("la cartella \"%1\" che dovrebbe contenere l'archivio non esiste.")
                               .arg(QDir::toNativeSeparators(sparita)));
        QCOMPARE(m_scheda.Testi[cAutore], QString("scrivania"));

        // Only a read-only folder is called read-only (root writes anywhere: not checked then).
        const QString protetta = m_dir->filePath("protetta");
        QVERIFY(QDir().mkdir(protetta));
        QFile::setPermissions(protetta, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(protetta).isWritable()) {
            QFile::setPermissions(protetta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            return;
        }
        Piattaforma::ImpostaCartellaProgramma(protetta);
        TArchivio depositi(*Categorie::PerRadice("Celebrazioni"));
        TOperazioniScheda op2(depositi, m_scheda, TFoto::DaByte(m_campione));
        op2.SalvaScheda();
        QFile::setPermissions(protetta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(m_msg.Ultimo().Testo.startsWith(inizio + QString::fromUtf8("la cartella del programma è di sola "
                                                                             "lettura")));
    }

    void fotoVuota()
    {
        // A photo file of no bytes is named as such, and nothing is stored.
        const QString vuota = m_dir->filePath("vuota.jpg");
        QFile f(vuota);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Nuova("V1", "da non perdere");
        m_scheda.FotoInAttesa = vuota;
        m_op->SalvaScheda();
        Controlla(TipoMessaggio::Avviso, "Salvataggio non riuscito",
                  QString::fromUtf8("La scheda corrente non è stata inserita in archivio: il file della foto "
                                    "\"%1\" è vuoto.").arg(vuota));
        QVERIFY(Righe().isEmpty());
        QCOMPARE(m_scheda.Testi[cAutore], QString("da non perdere"));
    }

    void duplica()
    {
        m_op->DuplicaScheda();
        Controlla(TipoMessaggio::Avviso, "Attenzione: operazione non applicabile",
                  QString::fromUtf8("La duplicazione di una scheda può avvenire soltanto dopo che questa è "
                                    "stata inserita in archivio."));
        m_op->PulisciScheda();
        for (int i = 0; i < NumeroCampiTesto; ++i)
            m_scheda.Testi[i] = QString("t%1").arg(i);
        m_scheda.FotoInAttesa = m_dir->filePath("d.jpg");
        const QByteArray d = ScriviJpeg(m_scheda.FotoInAttesa, 50, 50, Qt::yellow);
        m_op->SalvaScheda();
        QCOMPARE(m_scheda.Foto.Byte(), d);

        m_focus = 0;
        m_op->DuplicaScheda();
        Controlla(TipoMessaggio::Informazione, "Scheda pronta per essere duplicata",
                  "Apportare le modifiche desiderate alla scheda corrente e premere Salva per archiviarla.");
        QVERIFY(!m_scheda.ID);
        for (int i = 0; i < NumeroCampiTesto; ++i)
            QCOMPARE(m_scheda.Testi[i], i < cFile01 ? QString("t%1").arg(i) : QString());
        QCOMPARE(m_scheda.Foto.Byte(), m_campione);
        QCOMPARE(m_focus, 1);
        QCOMPARE(Righe().size(), 1);

        m_op->SalvaScheda();
        QCOMPARE(m_scheda.ID, std::optional<qint64>(2));
        QCOMPARE(FotoArchivio(2), QByteArray());
    }
};

QTEST_MAIN(TestOperazioni)
#include "test_operazioni.moc"
