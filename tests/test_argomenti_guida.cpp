// The three help topics as plain texts: their order, their joining, and the
// facts they tell that must match the program.
#include "app/ArgomentiGuida.h"
#include "store/Password.h"
#include "store/TCategoria.h"
#include "store/Win1252.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The opening words each paragraph must begin with, in order.
const QStringList AperturaAvvio = {
    QStringLiteral("Tegolario è un software che consente alle agenzie immobiliari di gestire"),
    QStringLiteral("La funzione Slideshow consente di visualizzare le foto degli immobili in sequenza a tutto schermo"),
    QStringLiteral("La foto di ciascun immobile può essere commentata con varie informazioni"),
    QStringLiteral("Il campo Note consente di registrare qualsiasi informazione aggiuntiva"),
    QStringLiteral("La foto dell'immobile presente in ciascuna scheda viene ridotta in scala automaticamente"),
    QStringLiteral("La funzione Visualizzatore foto permette di sfogliare le immagini di ciascuna categoria di immobili"),
    QStringLiteral("Il pulsante Slideshow mostra in sequenza ad intervalli di sei secondi"),
    QStringLiteral("Se la propria agenzia immobiliare dispone di più monitor in vetrina"),
    QStringLiteral("E' possibile allegare file di qualsiasi genere alla scheda di ciascun immobile."),
    QStringLiteral("Dopo aver inserito le schede, il software consente di effettuare ricerche avanzate"),
    QStringLiteral("Se si ha la necessità di inserire in archivio diverse foto riguardanti lo stesso immobile"),
    QStringLiteral("I dati testuali e le foto degli immobili presenti negli archivi sono salvati all'interno di file"),
    QStringLiteral("E' inoltre possibile esportare i dati testuali di ciascun archivio in un foglio di Microsoft Excel"),
    QStringLiteral("L'accesso al software è protetto da una password aggiornabile dall'utente."),
    QStringLiteral("Tegolario può essere utilizzato anche su chiavetta USB o in una rete locale"),
    QStringLiteral("Tegolario è quindi lo strumento ideale per chi vuole costruirsi, a tempo di record"),
};

const QStringList AperturaScheda = {
    QStringLiteral("La finestra per la gestione degli archivi fotografici degli immobili permette di descrivere ciascuna scheda"),
    QStringLiteral("La foto di ciascun immobile può essere commentata con varie informazioni"),
    QStringLiteral("Il campo Note consente di registrare qualsiasi informazione aggiuntiva"),
    QStringLiteral("Per inserire una nuova scheda, bisogna innanzitutto fare clic sull'icona Nuovo"),
    QStringLiteral("Si tenga presente che, dopo il caricamento, la foto appare ridotta in scala"),
    QStringLiteral("Per visualizzare una scheda, è possibile utilizzare le frecce per lo scorrimento dei record"),
    QStringLiteral("Per aggiornare una scheda esistente, basta visualizzarla nella schermata di lavoro"),
    QStringLiteral("La funzione Visualizzatore foto permette di sfogliare le immagini di ciascuna categoria di immobili"),
    QStringLiteral("Il pulsante Slideshow mostra in sequenza ad intervalli di sei secondi"),
    QStringLiteral("Ciascuna scheda (foto inclusa) può essere esportata in un file di Microsoft Word"),
    QStringLiteral("Se si ha la necessità di inserire in archivio diverse foto riguardanti lo stesso immobile"),
    QStringLiteral("L'icona Allega file permette di allegare a ciascuna scheda fino a tre file esterni"),
    QStringLiteral("Per eliminare una scheda, basta richiamarla nella schermata di lavoro e fare clic sull'icona del cestino."),
    QStringLiteral("Per chiudere la schermata per la gestione delle schede, basta fare clic sull'icona Esci."),
};

const QStringList AperturaEsportazione = {
    QStringLiteral("La funzione di esportazione dati consente di convertire l'archivio corrente"),
    QStringLiteral("L'ambiente per l'esportazione visualizza i record in archivio"),
    QStringLiteral("Si tenga presente che l'esportazione in Excel può essere applicata soltanto ai campi di testo a riga singola"),
    QStringLiteral("Poiché la lunghezza massima dei dati contenuti in una cella di Excel è uguale a 255 caratteri"),
    QStringLiteral("Facendo clic sull'icona di Excel"),
};

void VerificaArgomento(const TArgomentoGuida& a, const QStringList& aperture) {
    QCOMPARE(a.Paragrafi.size(), aperture.size());
    for (int i = 0; i < aperture.size(); ++i) {
        const QString& p = a.Paragrafi[i];
        QVERIFY2(p.startsWith(aperture[i]), qPrintable(QStringLiteral("%1: %2").arg(i + 1).arg(p.left(80))));
        // Whole sentences: more than the opening words, one line, ending with a full stop,
        // no stray blanks, and characters the program's 8-bit texts can hold.
        QVERIFY2(p.size() > aperture[i].size() + 40, qPrintable(p));
        QVERIFY(!p.contains(QLatin1Char('\r')) && !p.contains(QLatin1Char('\n')));
        QVERIFY2(p.endsWith(QLatin1Char('.')), qPrintable(p));
        QVERIFY2(!p.contains(QStringLiteral("  ")), qPrintable(p));
        QCOMPARE(p.trimmed(), p);
        QVERIFY2(Win1252::Rappresentabile(p), qPrintable(p));
        QVERIFY2(!p.contains(QRegularExpression(QStringLiteral("\\s[,;:]|\\s\\.(\\s|$)"))), qPrintable(p));
    }
    // Joined by one empty line, none after the last.
    const QString testo = a.Testo();
    QCOMPARE(testo.split(QStringLiteral("\r\n\r\n")), a.Paragrafi);
    QVERIFY(!testo.endsWith(QLatin1Char('\n')));
    QCOMPARE(testo.count(QStringLiteral("\r\n")), 2 * (aperture.size() - 1));
    QCOMPARE(testo.count(QLatin1Char('\n')), testo.count(QStringLiteral("\r\n")));
}

} // namespace

class TestArgomentiGuida : public QObject {
    Q_OBJECT
private slots:
    void launcherTopic() {
        const TArgomentoGuida a = ArgomentiGuida::Avvio();
        QCOMPARE(a.Titolo, QStringLiteral("Uno sguardo a Tegolario ©"));
        VerificaArgomento(a, AperturaAvvio);
        // The ten categories by their labels.
        for (const TCategoria& c : Categorie::Tutte())
            QVERIFY2(a.Paragrafi[0].contains(QString::fromUtf8(c.EtichettaMinuscola)), c.EtichettaMinuscola);
        // The program file a user double-clicks in the folder is the one the build makes.
        QVERIFY(a.Paragrafi[14].contains(QLatin1Char('"') + ArgomentiGuida::FileProgramma() + QLatin1Char('"')));
    }

    void firstAccessKeywordOpensANewInstallation() {
        const QString p = ArgomentiGuida::Avvio().Paragrafi[13];
        QVERIFY(p.contains(QStringLiteral("otto caratteri")));
        QVERIFY(p.contains(QStringLiteral("virgolette")));
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\"([^\"]+)\" \\(")).match(p);
        QVERIFY2(m.hasMatch(), qPrintable(p));
        const QString parola = m.captured(1);
        QCOMPARE(parola, QStringLiteral(TEGOLARIO_PRIMA_PASSWORD));
        // The password file the build writes is opened by exactly that word, without its quotes.
        QTemporaryDir cartella;
        QVERIFY(ScriviPassword(cartella.path(), QStringLiteral(TEGOLARIO_PRIMA_PASSWORD)));
        QCOMPARE(VerificaPassword(cartella.path(), parola), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(cartella.path(), QLatin1Char('"') + parola + QLatin1Char('"')), EsitoAccesso::Errata);
        // What it says of capitals holds: plain letters in either case, accented ones as chosen.
        QVERIFY(p.contains(QStringLiteral("lettere accentate vanno digitate esattamente")));
        QVERIFY(ScriviPassword(cartella.path(), QStringLiteral("Città è bella")));
        QCOMPARE(VerificaPassword(cartella.path(), QStringLiteral("CITTà è BELLA")), EsitoAccesso::Giusta);
        QCOMPARE(VerificaPassword(cartella.path(), QStringLiteral("CITTÀ È BELLA")), EsitoAccesso::Errata);
    }

    void recordCardTopicIsOneForAll() {
        const TArgomentoGuida a = ArgomentiGuida::Scheda();
        QCOMPARE(a.Titolo, QStringLiteral("Gestione delle schede degli immobili"));
        VerificaArgomento(a, AperturaScheda);
        // The paragraphs the two topics share say the same thing.
        const TArgomentoGuida avvio = ArgomentiGuida::Avvio();
        QCOMPARE(a.Paragrafi[1], avvio.Paragrafi[2]);
        QCOMPARE(a.Paragrafi[7], avvio.Paragrafi[5]);
        QCOMPARE(a.Paragrafi[8], avvio.Paragrafi[6]);
        QCOMPARE(a.Paragrafi[10], avvio.Paragrafi[10]);
    }

    void exportTopicNamesTheCategoryInItsTitleOnly() {
        const QString corpo = ArgomentiGuida::Esportazione(Categorie::PerPosizione(0)).Testo();
        for (const TCategoria& c : Categorie::Tutte()) {
            const TArgomentoGuida a = ArgomentiGuida::Esportazione(c);
            QCOMPARE(a.Titolo, QStringLiteral("Esportazione archivio ") + QString::fromUtf8(c.EtichettaMinuscola));
            VerificaArgomento(a, AperturaEsportazione);
            QCOMPARE(a.Testo(), corpo);
        }
        QCOMPARE(ArgomentiGuida::Esportazione(*Categorie::PerTabella(QStringLiteral("scuola"))).Titolo,
                 QStringLiteral("Esportazione archivio ville e villini"));
        QCOMPARE(ArgomentiGuida::Esportazione(*Categorie::PerTabella(QStringLiteral("hobby"))).Titolo,
                 QStringLiteral("Esportazione archivio rustici e terreni"));
        // The cut the grid makes is the one the text tells.
        QVERIFY(corpo.contains(QStringLiteral("primi 250 caratteri")));
    }
};

QTEST_GUILESS_MAIN(TestArgomentiGuida)
#include "test_argomenti_guida.moc"
