// The category table, the card columns and the opening and compaction of archives.
#include "support/Supporto.h"
#include "doubles/Doppi.h"
#include "store/TArchivio.h"
#include "store/TCategoria.h"
#include "store/TScheda.h"

#include <QTemporaryDir>
#include <QtTest>


class TestArchivio : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FintoMessaggi m_messaggi;
    FintoCursore m_cursore;

private slots:
    void initTestCase() {
        Piattaforma::Imposta(&m_messaggi);
        Piattaforma::Imposta(&m_cursore);
    }
    void init() {
        Piattaforma::ImpostaCartellaProgramma(m_dir.path());
        m_messaggi.Azzera();
    }
    void cleanupTestCase() {
        Piattaforma::Imposta(static_cast<IMessaggi*>(nullptr));
        Piattaforma::Imposta(static_cast<ICursore*>(nullptr));
    }

    void categorieETesti() {
        const TCategoria& app = Categorie::PerPosizione(0);
        QCOMPARE(app.CaptionScheda(), QString::fromUtf8(" Tegolario © - Appartamenti"));
        const TCategoria* uffici = Categorie::PerTabella(QStringLiteral("vacanze"));
        QVERIFY(uffici);
        QCOMPARE(QString::fromLatin1(uffici->Etichetta), QStringLiteral("Uffici"));
        QVERIFY(uffici->RiquadroRiga == TCategoria::Riga::Bassa && uffici->RiquadroPosizione == 3);
        QCOMPARE(uffici->CaptionBrowser(), QString::fromUtf8(" Tegolario © - Visualizzatore vacanze"));
        QCOMPARE(Categorie::PerRadice(QStringLiteral("Lavoro"))->CaptionBrowser(),
                 QString::fromUtf8(" Tegolario © - Visualizzatore foto"));
        QVERIFY(!Categorie::PerTabella(QStringLiteral("uffici")) && !Categorie::PerRadice(QStringLiteral("amici")));

        const TCategoria& mono = *Categorie::PerTabella(QStringLiteral("amici"));
        QCOMPARE(mono.CaptionEsportazione(), QStringLiteral(" Esportazione archivio foto monolocali"));
        QCOMPARE(Categorie::PerRadice(QStringLiteral("Celebrazioni"))->CaptionEsportazione(),
                 QStringLiteral(" Esportazione archivio depositi"));
        QCOMPARE(Categorie::PerPosizione(4).NomeFoglio(), QStringLiteral("Archivio ville e villini"));
        QCOMPARE(mono.TitoloAiutoEsportazione(), QStringLiteral("Esportazione archivio monolocali"));
        QCOMPARE(mono.TitoloElenco(), QStringLiteral("Elenco foto monolocali"));
        QCOMPARE(mono.TitoloRicerca(), QStringLiteral("Ricerca foto monolocali"));
        QCOMPARE(mono.NomeFinestra(), QStringLiteral("frmAmici"));
        QCOMPARE(mono.NomeFinestra("Trova"), QStringLiteral("frmTrovaAmici"));
        QCOMPARE(mono.FotoCampione(), QStringLiteral(":/samples/campione_amici.jpg"));
        QCOMPARE(mono.ImmagineRiquadro(), QStringLiteral(":/tiles/riquadro_amici.png"));
    }

    void colonne() {
        QCOMPARE(Statementi::ColonneElenco(),
                 QByteArray("ID,varTitolo,varAutore,varAlbum,varCategoria,varData,varFotocamera,varLuogo,varSoggetti,"
                            "varNote,varDidascalia,varFile01,varFile02,varFile03,varDesc01,varDesc02,varDesc03,"
                            "varCartella,varCartellaDesc"));
        QCOMPARE(Statementi::SchedaPrecedente("amici", 12),
                 QByteArray("SELECT * FROM amici WHERE ID <= 12 ORDER BY ID DESC LIMIT 1 OFFSET 1"));
    }

    void aperturaCreaFileETabella() {
        const TCategoria& mono = *Categorie::PerTabella(QStringLiteral("amici"));
        TArchivio a(mono);
        QCOMPARE(a.Percorso(), m_dir.filePath(QStringLiteral("Monolocali.db")));
        QVERIFY(!QFile::exists(a.Percorso()));
        QVERIFY(!a.ApriArchivio(Statementi::PrimaScheda(a.Tabella())));
        QVERIFY(QFile::exists(a.Percorso()));
        QVERIFY(!a.Risultato()); // no query ran on a new table

        a.Connessione()->Execute("INSERT INTO amici (varTitolo, Ext) VALUES (?, 'JPG')", {"R1"});
        QVERIFY(a.ApriArchivio(Statementi::PrimaScheda(a.Tabella())));
        TSQLiteTable* t = a.Risultato();
        QVERIFY(t && t->Count() == 1);
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varTitolo")), QByteArray("R1"));
        QVERIFY(t->ColumnIsNull(t->ColumnIndex("picture")));
        // Without a query the result stays as it was.
        QVERIFY(a.ApriArchivio());
        QCOMPARE(a.Risultato(), t);
        QCOMPARE(a.EseguiQuery(Statementi::SchedaPerNumero(a.Tabella(), 99))->Count(), 0u);
    }

    void fileSenzaTabellaOConNomeMaiuscolo() {
        const QString depositi = m_dir.filePath(QStringLiteral("Depositi.db"));
        { TSQLiteDatabase db(depositi); db.Execute("CREATE TABLE altro (x)"); db.Execute("INSERT INTO altro VALUES (1)"); }
        TArchivio a(*Categorie::PerTabella(QStringLiteral("celebrazioni")));
        QVERIFY(!a.ApriArchivio(Statementi::PrimaScheda(a.Tabella())));
        QVERIFY(a.Connessione()->HasTable("celebrazioni"));
        QCOMPARE(a.Connessione()->Query("SELECT COUNT(*) FROM altro")->ColumnInteger(0), 1);

        { TSQLiteDatabase db(m_dir.filePath(QStringLiteral("Uffici.db"))); db.Execute(StatementoCreaTabella("Vacanze")); }
        TArchivio u(*Categorie::PerTabella(QStringLiteral("vacanze")));
        QVERIFY(u.ApriArchivio(Statementi::PrimaScheda(u.Tabella())));
        QCOMPARE(u.Risultato()->Count(), 0u);
        QCOMPARE(u.Connessione()->Query("SELECT COUNT(*) FROM sqlite_master")->ColumnInteger(0), 1);
    }

    void cartellaNonScrivibile() {
        TArchivio a(Categorie::PerPosizione(0));
        const QString manca = m_dir.filePath(QStringLiteral("manca"));
        Piattaforma::ImpostaCartellaProgramma(manca);
        QCOMPARE(MessaggioDi([&] { a.ApriArchivio(); }),
                 QStringLiteral("Failed to open database \"%1/Appartamenti.db\" : unable to open database file").arg(manca));
        QVERIFY(!a.Connessione());

        if (const char* perche = PermessiSenzaEffetto()) QSKIP(perche);
        QTemporaryDir sola;
        QFile::setPermissions(sola.path(), QFile::ReadOwner | QFile::ExeOwner);
        Piattaforma::ImpostaCartellaProgramma(sola.path());
        const QString m = MessaggioDi([&] { a.ApriArchivio(); });
        QFile::setPermissions(sola.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(m, QStringLiteral("Failed to open database \"%1/Appartamenti.db\" : unable to open database file")
                        .arg(sola.path()));
    }

    void ottimizzazione() {
        TArchivio a(*Categorie::PerRadice(QStringLiteral("Hobby")));
        a.ApriArchivio();
        a.Connessione()->Execute("INSERT INTO hobby (varTitolo) VALUES ('R')");
        a.Connessione()->ExecuteWithBlob("UPDATE hobby SET picture = ? WHERE ID = 1", QByteArray(400000, 'x'));
        a.Connessione()->Execute("UPDATE hobby SET Picture = NULL");
        QFile f(a.Percorso());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray prima = f.readAll();
        f.close();
        const int volte = m_cursore.Volte;

        m_messaggi.ImpostaProssimaRisposta(Risposta::No);
        a.OttimizzaArchivio();
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        const MessaggioMostrato& d = m_messaggi.Ultimo();
        QVERIFY(d.Tipo == TipoMessaggio::Domanda);
        QCOMPARE(d.Caption, QStringLiteral("Conferma ottimizzazione archivio"));
        QCOMPARE(d.Testo, QString::fromUtf8("Questa funzione provvederà a rimuovere lo spazio inutilizzato dall'archivio "
                                            "corrente per ottimizzare le sue dimensioni.\r\n\r\nSi consiglia di effettuare "
                                            "una copia di sicurezza dell'archivio prima di procedere.\r\n\r\nSi vuole "
                                            "ottimizzare l'archivio corrente?"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), prima);
        f.close();
        QCOMPARE(m_cursore.Volte, volte);

        m_messaggi.Azzera();
        m_messaggi.ImpostaProssimaRisposta(Risposta::Si);
        a.OttimizzaArchivio();
        QCOMPARE(m_messaggi.Mostrati.size(), 2);
        QVERIFY(m_messaggi.Ultimo().Tipo == TipoMessaggio::Semplice);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Ottimizzazione dell'archivio completata con successo."));
        QCOMPARE(m_cursore.Volte, volte + 1);
        QCOMPARE(m_cursore.Profondita, 0);
        QVERIFY(QFileInfo(a.Percorso()).size() < prima.size() / 4);
    }
};

QTEST_GUILESS_MAIN(TestArchivio)
#include "test_archivio.moc"
