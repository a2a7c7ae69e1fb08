// Guida.pdf as the program writes it, read back with the PDF tools a desktop
// has (pdftotext, pdfinfo, pdfimages): every paragraph of the help topics, the
// contents list pointing at the right pages, numbered pages, window pictures.
#include "app/ArgomentiGuida.h"
#include "app/DocumentoGuida.h"
#include "store/TCategoria.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Esegui(const QString& programma, const QStringList& argomenti, int* esito = nullptr) {
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(120000)) p.kill();
    if (esito) *esito = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One line of words: the layout's line breaks and spacing do not matter.
QString Parole(const QString& s) { return s.simplified(); }

} // namespace

class TestGuidaPdf : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    QString m_pdf;
    QString m_testo;
    int m_pagine = 0;

    QString Pagina(int n) {
        return Parole(Esegui(QStringLiteral("pdftotext"),
                             {QStringLiteral("-f"), QString::number(n), QStringLiteral("-l"), QString::number(n), m_pdf,
                              QStringLiteral("-")}));
    }

private slots:
    void initTestCase() {
        for (const char* strumento : {"pdftotext", "pdfinfo", "pdfimages"})
            if (QStandardPaths::findExecutable(QLatin1String(strumento)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is missing: make test installs poppler-utils").arg(QLatin1String(strumento))));
        m_pdf = m_cartella.filePath(QStringLiteral("Guida.pdf"));
        int esito = -1;
        Esegui(QStringLiteral(TEGOLARIO_PROGRAMMA), {QStringLiteral("--guida"), m_pdf}, &esito);
        QCOMPARE(esito, 0);
        QVERIFY(QFile::exists(m_pdf));
        m_testo = Parole(Esegui(QStringLiteral("pdftotext"), {m_pdf, QStringLiteral("-")}));
        const QString info = Esegui(QStringLiteral("pdfinfo"), {m_pdf});
        m_pagine = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        QVERIFY(info.contains(QStringLiteral("Tegolario © - Guida dell'utente")));
    }

    void everyParagraphInItsChapterInOrder() {
        const QList<TArgomentoGuida> argomenti = {ArgomentiGuida::Avvio(), ArgomentiGuida::Scheda(),
                                                  ArgomentiGuida::Esportazione(Categorie::PerPosizione(0))};
        // From the first chapter's heading (the contents list names it first).
        const QString primo = QStringLiteral("1. Uno sguardo a Tegolario ©");
        int da = m_testo.indexOf(primo, m_testo.indexOf(primo) + 1);
        QVERIFY(da > 0);
        // A paragraph may go on over the page's foot.
        const QString testo = QString(m_testo).replace(
            QRegularExpression(QStringLiteral(" ?Tegolario © - Guida dell'utente Pagina \\d+ di \\d+ ?")), QStringLiteral(" "));
        da = testo.indexOf(primo, testo.indexOf(primo) + 1);
        for (const TArgomentoGuida& a : argomenti) {
            for (const QString& p : a.Paragrafi) {
                // The whole paragraph, word for word.
                const int dove = testo.indexOf(Parole(p), da);
                QVERIFY2(dove >= 0, qPrintable(p.left(80)));
                da = dove;
            }
        }
    }

    void titlePageAndContentsPointAtTheChapters() {
        QCOMPARE(m_pagine > 6, true);
        const QString titolo = Pagina(1);
        for (const char* t : {"Tegolario ©", "Archivio fotografico per agenzie immobiliari", "Guida dell'utente"})
            QVERIFY2(titolo.contains(QString::fromUtf8(t)), t);
        QVERIFY(!titolo.contains(QStringLiteral("Pagina 1")));
        const QString indice = Pagina(2);
        QVERIFY(indice.startsWith(QStringLiteral("Indice")));
        const QStringList capitoli = {QStringLiteral("Uno sguardo a Tegolario ©"),
                                      QStringLiteral("Gestione delle schede degli immobili"),
                                      QStringLiteral("Esportazione archivio")};
        int precedente = 2;
        for (int i = 0; i < capitoli.size(); ++i) {
            const QRegularExpression voce(QStringLiteral("%1\\. %2 (\\d+)").arg(i + 1).arg(QRegularExpression::escape(capitoli[i])));
            const QRegularExpressionMatch m = voce.match(indice);
            QVERIFY2(m.hasMatch(), qPrintable(indice));
            const int n = m.captured(1).toInt();
            QVERIFY(n > precedente && n <= m_pagine);
            // The chapter begins at the top of the page the contents list names.
            QVERIFY2(Pagina(n).startsWith(QStringLiteral("%1. %2").arg(i + 1).arg(capitoli[i])), qPrintable(Pagina(n).left(80)));
            // Named in the contents and at the chapter, nowhere else (no heading left at a page's foot).
            QCOMPARE(m_testo.count(QStringLiteral("%1. %2").arg(i + 1).arg(capitoli[i])), 2);
            precedente = n;
        }
    }

    void pagesAreNumbered() {
        for (int n = 2; n <= m_pagine; ++n)
            QVERIFY2(Pagina(n).endsWith(QStringLiteral("Pagina %1 di %2").arg(n).arg(m_pagine)), qPrintable(Pagina(n).right(60)));
    }

    void windowPicturesWithTheirCaptions() {
        // The windows every build has: launcher, login, help, record card, attachments, folder.
        for (const char* d : {"La finestra iniziale", "La finestra di accesso", "La guida in linea",
                              "La finestra di gestione delle schede", "La finestra dei file allegati",
                              "La finestra della cartella associata"})
            QVERIFY2(m_testo.contains(QString::fromUtf8(d)), d);
        const int figure = int(m_testo.count(QRegularExpression(QStringLiteral("Figura \\d+ - "))));
        QVERIFY(figure >= 6);
        // Each caption stands under its own picture (plus the mark on the title page).
        const QStringList immagini =
            Esegui(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        int figureImmagini = 0;
        for (const QString& riga : immagini.mid(2)) // two heading lines
            if (riga.simplified().section(QLatin1Char(' '), 2, 2) == QLatin1String("image")) ++figureImmagini;
        QVERIFY2(figureImmagini >= figure + 1, qPrintable(immagini.join(QLatin1Char('\n'))));
        // The record card window's picture at its design size (1022 x 704) or larger.
        bool grande = false;
        for (const QString& riga : immagini.mid(2)) {
            const QStringList c = riga.simplified().split(QLatin1Char(' '));
            if (c.size() > 4 && c[3].toInt() >= 1000 && c[4].toInt() >= 700) grande = true; // 1022 x 704 and up
        }
        QVERIFY(grande);
    }

    void unwritableFileIsReportedNotLeftHalfWritten() {
        TGuida g;
        g.Titolo = QStringLiteral("Prova");
        g.Capitoli = {{QStringLiteral("Capitolo"), QString(), {QStringLiteral("Un paragrafo.")}, {}}};
        QVERIFY(!DocumentoGuida::Scrivi(g, m_cartella.filePath(QStringLiteral("manca/Guida.pdf"))));
        const QString file = m_cartella.filePath(QStringLiteral("prova.pdf"));
        QVERIFY(DocumentoGuida::Scrivi(g, file));
        QVERIFY(Esegui(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).contains(QStringLiteral("Un paragrafo.")));
        QCOMPARE(DocumentoGuida::PagineCapitoli(g), QList<int>{3});
    }
};

QTEST_MAIN(TestGuidaPdf)
#include "test_guida_pdf.moc"
