// The printout of a result list: positions and pages through the printer seam at
// 600 dpi, failures that abandon the job, text drawn by its top edge, and the
// real printer seam on a desktop that has no printer.
#include "doubles/FintoStampante.h"
#include "find/StampaElenco.h"
#include "platform/QtStampante.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

const QDateTime Quando(QDate(2024, 3, 5), QTime(9, 7, 2));
const QString Regola = QStringLiteral("-----------------------");

QStringList Righe(int n) {
    QStringList r;
    for (int i = 0; i < n; ++i) r.append(QStringLiteral("Rif. %1").arg(i, 3, 10, QLatin1Char('0')));
    return r;
}

// The first and last rows holding ink (dark pixels), or -1.
std::pair<int, int> Inchiostro(const QImage& img) {
    int primo = -1, ultimo = -1;
    for (int y = 0; y < img.height(); ++y) {
        const uchar* riga = img.constScanLine(y);
        for (int x = 0; x < img.width(); ++x)
            if (riga[x] < 128) {
                if (primo < 0) primo = y;
                ultimo = y;
                break;
            }
    }
    return {primo, ultimo};
}

} // namespace

class TestStampaElenco : public QObject {
    Q_OBJECT
    DoppiPiattaforma m_doppi;
    FintoStampante m_stampante;

private slots:
    void initTestCase() { m_doppi.Installa(); }
    void init() { m_stampante = FintoStampante(); }

    void altezzaDeiCaratteri() {
        QCOMPARE(StampaElenco::Altezza(14, 600), 117);
        QCOMPARE(StampaElenco::Altezza(12, 600), 100);
        QCOMPARE(StampaElenco::Altezza(8, 600), 67);
        QCOMPARE(StampaElenco::Altezza(8, 300), 33);
        QCOMPARE(StampaElenco::Altezza(14, 300), 58);
        QCOMPARE(StampaElenco::Altezza(14, 18), 4); // 3.5: a half goes up
        QCOMPARE(StampaElenco::Altezza(12, 3), 1);  // 0.5
        QCOMPARE(StampaElenco::Altezza(8, 72), 8);
    }

    void unaRigaA600Dpi() {
        StampaElenco::Stampa(m_stampante, {QStringLiteral("Rif. 1   fine  ")}, QStringLiteral("depositi"), Regola,
                             Quando);
        const auto& s = m_stampante.Scritte;
        QCOMPARE(s.size(), 6);
        const int y[] = {234, 334, 434, 635, 819, 919};
        const int pixel[] = {117, 100, 117, 67, 67, 67};
        const QString testi[] = {Regola,
                                 QStringLiteral("Elenco foto depositi"),
                                 Regola,
                                 QStringLiteral("Rif. 1   fine  "), // trailing blanks included
                                 QString(20, QLatin1Char('_')),
                                 QStringLiteral("Stampa eseguita in data 05/03/2024 alle ore 09:07:02")};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(s[i].Pagina, 0);
            QCOMPARE(s[i].X, 150);
            QCOMPARE(s[i].Y, y[i]);
            QCOMPARE(s[i].Pixel, pixel[i]);
            QCOMPARE(s[i].Testo, testi[i]);
            QCOMPARE(s[i].Famiglia, QStringLiteral("Courier New"));
            QVERIFY(!s[i].Grassetto && !s[i].Sottolineato);
        }
        // At other resolutions the footer reads the same: the rule keeps clear of the date.
        for (const int dpi : {300, 1200}) {
            const auto v = StampaElenco::Impagina({QStringLiteral("x")}, QStringLiteral("depositi"), Regola, dpi,
                                                  100000, Quando);
            const int dopoRiga = v[3].Y + 2 * StampaElenco::Altezza(8, dpi);
            QCOMPARE(v[4].Y - dopoRiga, 50 * dpi / 600);
            QCOMPARE(v[5].Y - dopoRiga, 150 * dpi / 600);
        }
        QCOMPARE(m_stampante.Terminati, 1);
        QVERIFY(!m_stampante.Aperto);
        QCOMPARE(m_doppi.Cursore.Volte, 1);
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }

    void interruzioniDiPagina() {
        // Lines at 635, 769, 903; the next would be at 1037 = H - 201: a new page.
        m_stampante.Altezza = 635 + 3 * 134 + 201;
        StampaElenco::Stampa(m_stampante, Righe(6), QStringLiteral("monolocali"), Regola, Quando);
        const auto& s = m_stampante.Scritte;
        QCOMPARE(s.size(), 3 + 6 + 2);
        QCOMPARE(s[5].Y, 903);
        QCOMPARE(s[5].Pagina, 0);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(s[6 + i].Pagina, 1);
            QCOMPARE(s[6 + i].Y, 134 + 134 * i);
            QCOMPARE(s[6 + i].Testo, Righe(6)[3 + i]);
        }
        // The footer on the last line's page, from its y.
        QCOMPARE(s[9].Pagina, 1);
        QCOMPARE(s[9].Y, 134 + 3 * 134 + 50);
        QCOMPARE(s[10].Y, 134 + 3 * 134 + 150);
        QCOMPARE(m_stampante.Pagina, 1);

        // One pixel more and the fourth line still fits on the first page.
        m_stampante.Altezza += 1;
        StampaElenco::Stampa(m_stampante, Righe(4), QStringLiteral("monolocali"), Regola, Quando);
        QCOMPARE(m_stampante.Scritte[6].Y, 1037);
        QCOMPARE(m_stampante.Scritte[6].Pagina, 0);

        // A long list: the heading on the first page only, every later page from 134,
        // the lines in the order given.
        m_stampante.Altezza = 4760;
        const QStringList molte = Righe(100);
        const auto voci = StampaElenco::Impagina(molte, QStringLiteral("uffici"), Regola, 600, 4760, Quando);
        QStringList stampate;
        int pagine = 0;
        for (const auto& v : voci) {
            pagine = std::max(pagine, v.Pagina + 1);
            if (v.Punti == 8 && v.Testo.startsWith(QStringLiteral("Rif."))) {
                stampate.append(v.Testo);
                QVERIFY(v.Y < 4760 - 201);
            }
            if (v.Pagina > 0) QVERIFY(v.Punti == 8);
        }
        QCOMPARE(stampate, molte);
        QCOMPARE(pagine, 4); // 30 lines on the first page, 34 on each later one
        QCOMPARE(voci[3 + 30].Pagina, 1);
        QCOMPARE(voci[3 + 30].Y, 134);
    }

    void fallimentiChiudonoIlLavoro() {
        m_stampante.Assente = true;
        QVERIFY_THROWS_EXCEPTION(EStampa, StampaElenco::Stampa(m_stampante, Righe(1), QStringLiteral("x"), Regola, Quando));
        QCOMPARE(m_stampante.Iniziati, 0);
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        m_stampante = FintoStampante();
        m_stampante.RifiutaPagina = 1;
        QVERIFY_THROWS_EXCEPTION(EStampa, StampaElenco::Stampa(m_stampante, Righe(80), QStringLiteral("x"), Regola, Quando));
        QCOMPARE(m_stampante.Annullati, 1);
        QVERIFY(!m_stampante.Aperto);

        m_stampante.RifiutaPagina = -1;
        m_stampante.RifiutaFine = true;
        QVERIFY_THROWS_EXCEPTION(EStampa, StampaElenco::Stampa(m_stampante, Righe(2), QStringLiteral("x"), Regola, Quando));
        QCOMPARE(m_stampante.Annullati, 2);
        QVERIFY(!m_stampante.Aperto);
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        // A later job goes through.
        m_stampante.RifiutaFine = false;
        StampaElenco::Stampa(m_stampante, Righe(2), QStringLiteral("x"), Regola, Quando);
        QCOMPARE(m_stampante.Terminati, 1);
    }

    void testoDalBordoSuperiore() {
        // A 600-dpi page strip: the text's ink lies below y and within its height.
        QImage pagina(3000, 900, QImage::Format_Grayscale8);
        pagina.setDotsPerMeterX(qRound(600 / 0.0254));
        pagina.setDotsPerMeterY(qRound(600 / 0.0254));
        pagina.fill(Qt::white);
        QFont f(QStringLiteral("Courier New"));
        f.setPixelSize(StampaElenco::Altezza(12, 600));
        {
            QPainter p(&pagina);
            ScriviInAlto(p, 150, 334, f, QStringLiteral("Elenco foto monolocali"));
        }
        const auto [primo, ultimo] = Inchiostro(pagina);
        QVERIFY2(primo >= 334, qPrintable(QStringLiteral("ink from row %1").arg(primo)));
        QVERIFY(primo < 334 + 50);
        QVERIFY(ultimo < 334 + 2 * 100);
    }

    void nessunaStampanteInstallata() {
        // The program's real printer on a desktop whose printing system has no printer.
        QtStampante stampante;
        try {
            StampaElenco::Stampa(stampante, Righe(1), QStringLiteral("x"), Regola, Quando);
            QFAIL("printed without a printer");
        } catch (const EStampa& e) {
            QVERIFY2(e.Messaggio().startsWith(QStringLiteral("Nessuna stampante installata")), qPrintable(e.Messaggio()));
        }
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
    }
};

int main(int argc, char** argv) {
    // A printing system that is not there: the machine's own printers stay out of it.
    qputenv("CUPS_SERVER", "/nonexistent/tegolario-cups.sock");
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QApplication app(argc, argv);
    TestStampaElenco t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_stampa_elenco.moc"
