// Two copies of the program on one shared program folder, started at the same
// moment on a folder without archive: one saves, updates and deletes cards, the
// other saves cards, searches, steps and compacts the archive. Afterwards the
// archive must hold exactly what each copy was told: every stored card once with
// its photo, no deleted card, the last update of each card, and no failure that
// went without its message. TEGOLARIO_STRESS=n runs n times as many operations.
#include "store/TSQLiteDatabase.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int OperazioniPerCopia = 3000;

struct Esito {
    QStringList Righe;
    int SalvateOk = 0, SalvateFallite = 0, Aggiornate = 0, AggiornamentiFalliti = 0, Eliminate = 0,
        EliminazioniFallite = 0, Ricerche = 0, Passi = 0, Ottimizzazioni = 0, Errori = 0;
};

struct Scheda {
    qint64 ID = 0;
    QString Hash;
    QString Autore = QStringLiteral("v0");
    bool Eliminata = false;
};

} // namespace

class TestDueCopie : public QObject {
    Q_OBJECT

    Esito Leggi(const QString& log, QHash<QString, Scheda>& salvate, QSet<QString>& fallite,
                QHash<qint64, QString>& perNumero)
    {
        Esito e;
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return e;
        e.Righe = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& riga : e.Righe) {
            const QStringList p = riga.split(QLatin1Char(' '));
            const QString& tipo = p.at(0);
            if (tipo == QLatin1String("SALVA") && p.value(3) == QLatin1String("OK")) {
                ++e.SalvateOk;
                Scheda s;
                s.ID = p.value(4).toLongLong();
                s.Hash = p.value(2);
                salvate.insert(p.value(1), s);
                perNumero.insert(s.ID, p.value(1));
            } else if (tipo == QLatin1String("SALVA") && p.value(3) == QLatin1String("FALLITA")) {
                ++e.SalvateFallite;
                fallite.insert(p.value(1));
            } else if (tipo == QLatin1String("AGGIORNA") && p.value(3) == QLatin1String("OK")) {
                ++e.Aggiornate;
                salvate[perNumero.value(p.value(1).toLongLong())].Autore = p.value(2);
            } else if (tipo == QLatin1String("AGGIORNA") && p.value(3) == QLatin1String("FALLITA")) {
                ++e.AggiornamentiFalliti;
            } else if (tipo == QLatin1String("ELIMINA") && p.value(2) == QLatin1String("OK")) {
                ++e.Eliminate;
                salvate[perNumero.value(p.value(1).toLongLong())].Eliminata = true;
            } else if (tipo == QLatin1String("ELIMINA") && p.value(2) == QLatin1String("FALLITA")) {
                ++e.EliminazioniFallite;
            } else if (tipo == QLatin1String("CERCA")) {
                ++e.Ricerche;
            } else if (tipo == QLatin1String("PASSO")) {
                ++e.Passi;
            } else if (tipo == QLatin1String("OTTIMIZZA")) {
                ++e.Ottimizzazioni;
            } else if (tipo == QLatin1String("ERRORE")) {
                ++e.Errori;
            }
        }
        return e;
    }

private slots:
    void dueCopieSuUnaCartella()
    {
        QTemporaryDir cartella;
        QVERIFY(cartella.isValid());
        const int volte = qMax(1, qEnvironmentVariableIntValue("TEGOLARIO_STRESS"));
        const int operazioni = OperazioniPerCopia * volte;
        const QString logScrive = cartella.filePath(QStringLiteral("scrive.log"));
        const QString logCerca = cartella.filePath(QStringLiteral("cerca.log"));

        QElapsedTimer tempo;
        tempo.start();
        QProcess scrive, cerca;
        for (QProcess* p : {&scrive, &cerca})
            p->setProcessChannelMode(QProcess::ForwardedChannels);
        const QString n = QString::number(operazioni);
        scrive.start(QStringLiteral(TEGOLARIO_COPIA), {cartella.path(), QStringLiteral("scrive"), n,
                                                       QStringLiteral("11"), logScrive});
        cerca.start(QStringLiteral(TEGOLARIO_COPIA), {cartella.path(), QStringLiteral("cerca"), n,
                                                      QStringLiteral("29"), logCerca});
        QVERIFY(scrive.waitForStarted() && cerca.waitForStarted());
        const int limite = 1500 * 1000;
        QVERIFY(scrive.waitForFinished(limite));
        QVERIFY(cerca.waitForFinished(limite));
        QCOMPARE(scrive.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cerca.exitStatus(), QProcess::NormalExit);
        QCOMPARE(scrive.exitCode(), 0);
        QCOMPARE(cerca.exitCode(), 0);

        QHash<QString, Scheda> salvate;
        QSet<QString> fallite;
        QHash<qint64, QString> perNumero;
        const Esito a = Leggi(logScrive, salvate, fallite, perNumero);
        const Esito b = Leggi(logCerca, salvate, fallite, perNumero);
        for (const Esito* e : {&a, &b}) {
            QCOMPARE(e->Righe.value(e->Righe.size() - 1), QStringLiteral("FINE"));
            for (const QString& riga : e->Righe) {
                // Nothing failed in silence, and no copy lost sight of a card of its own.
                QVERIFY2(!riga.endsWith(QLatin1String(" SILENZIO")), qPrintable(riga));
                QVERIFY2(!riga.startsWith(QLatin1String("PERSA ")), qPrintable(riga));
            }
        }
        int mostrate = 0;
        for (const Esito* e : {&a, &b})
            for (const QString& riga : e->Righe)
                if ((riga.contains(QLatin1String(" FALLITA ")) || riga.startsWith(QLatin1String("ERRORE"))) &&
                    mostrate++ < 20)
                    qInfo("%s", qPrintable(riga));
        qInfo("two copies, %d operations each, %.1f s", operazioni, tempo.elapsed() / 1000.0);
        qInfo("writer: %d saved, %d saves failed, %d updated, %d updates failed, %d deleted, %d deletes failed, "
              "%d other errors",
              a.SalvateOk, a.SalvateFallite, a.Aggiornate, a.AggiornamentiFalliti, a.Eliminate,
              a.EliminazioniFallite, a.Errori);
        qInfo("searcher: %d saved, %d saves failed, %d searches, %d steps, %d compactions, %d other errors",
              b.SalvateOk, b.SalvateFallite, b.Ricerche, b.Passi, b.Ottimizzazioni, b.Errori);

        // The archive as it is now on disk, read on its own.
        TSQLiteDatabase db(cartella.filePath(QStringLiteral("Monolocali.db")));
        const auto t = db.Query("SELECT ID, varTitolo, varAutore, Picture FROM amici");
        QHash<QString, int> volteRiferimento;
        for (t->First(); !t->Eof(); t->Next()) {
            const QString rif = QString::fromLatin1(t->ColumnBlobText(t->ColumnIndex("varTitolo")));
            ++volteRiferimento[rif];
            QVERIFY2(salvate.contains(rif), qPrintable(QStringLiteral("card %1 nobody was told was stored").arg(rif)));
            const Scheda& s = salvate[rif];
            QVERIFY2(!s.Eliminata, qPrintable(QStringLiteral("card %1 reported deleted").arg(rif)));
            QCOMPARE(t->ColumnInteger(t->ColumnIndex("ID")), s.ID);
            QCOMPARE(QString::fromLatin1(t->ColumnBlobText(t->ColumnIndex("varAutore"))), s.Autore);
            const QByteArray foto = t->ColumnBlobText(t->ColumnIndex("Picture"));
            QCOMPARE(QString::fromLatin1(QCryptographicHash::hash(foto, QCryptographicHash::Sha1).toHex()), s.Hash);
        }
        for (auto i = salvate.cbegin(); i != salvate.cend(); ++i) {
            if (!i->Eliminata)
                QVERIFY2(volteRiferimento.value(i.key()) == 1,
                         qPrintable(QStringLiteral("card %1 stored, found %2 times")
                                        .arg(i.key())
                                        .arg(volteRiferimento.value(i.key()))));
        }
        for (const QString& rif : fallite)
            QVERIFY2(!volteRiferimento.contains(rif), qPrintable(QStringLiteral("failed save %1 is stored").arg(rif)));

        // Waiting for the other copy is enough: under this load nothing fails at all.
        QCOMPARE(a.SalvateFallite + a.AggiornamentiFalliti + a.EliminazioniFallite + a.Errori, 0);
        QCOMPARE(b.SalvateFallite + b.Errori, 0);
        QVERIFY(a.SalvateOk > 0 && a.Aggiornate > 0 && a.Eliminate > 0);
        QVERIFY(b.SalvateOk > 0 && b.Ricerche > 0 && b.Passi > 0 && b.Ottimizzazioni > 0);
    }
};

QTEST_GUILESS_MAIN(TestDueCopie)
#include "test_due_copie.moc"
