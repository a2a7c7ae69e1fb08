// Windows-1252 conversion and the small text helpers shared by the whole program.
#include "store/Testo.h"
#include "store/Win1252.h"

#include <QtTest>

class TestWin1252 : public QObject {
    Q_OBJECT
private slots:
    void ogniByteTornaUguale() {
        QByteArray tutti;
        for (int b = 0; b < 256; ++b) tutti.append(static_cast<char>(b));
        const QString testo = Win1252::ATesto(tutti);
        QCOMPARE(testo.size(), 256);
        QVERIFY(Win1252::Rappresentabile(testo));
        QCOMPARE(Win1252::DaTesto(testo), tutti);
        // The unassigned bytes keep the control character of the same value.
        for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) QCOMPARE(testo.at(b).unicode(), char16_t(b));
    }

    void lettereNote() {
        QCOMPARE(Win1252::DaTesto(QString::fromUtf8("è")), QByteArray("\xE8"));
        QCOMPARE(Win1252::DaTesto(QString::fromUtf8("€")), QByteArray("\x80"));
        QCOMPARE(Win1252::ATesto("\xE8"), QString::fromUtf8("è"));
        QCOMPARE(Win1252::ATesto("\x80\x99\x9F"), QString::fromUtf8("€™Ÿ"));
        QCOMPARE(Win1252::DaTesto(QString::fromUtf8("perché città")), QByteArray("perch\xE9 citt\xE0"));
    }

    void caratteriNonRappresentabili() {
        QVERIFY(!Win1252::Rappresentabile(QChar(0x0080))); // the byte 0x80 is the euro sign
        QVERIFY(!Win1252::Rappresentabile(QChar(0x0142))); // ł
        QVERIFY(!Win1252::Rappresentabile(QChar(0x20AD)));
        QVERIFY(Win1252::Rappresentabile(QChar(0x0178)));  // Ÿ
        const QString misto = QString::fromUtf8("ał€😀b");
        QVERIFY(!Win1252::Rappresentabile(misto));
        QCOMPARE(Win1252::DaTesto(misto), QByteArray("a?\x80?b"));
    }

    void rifilatura() {
        QCOMPARE(Testo::Rifila(QStringLiteral("\t\r\n  a b \x01\x1F ")), QStringLiteral("a b"));
        QCOMPARE(Testo::Rifila(QStringLiteral(" \n ")), QString());
        QCOMPARE(Testo::Rifila(QString::fromUtf8("\u00A0x\u00A0")), QString::fromUtf8("\u00A0x\u00A0"));
        QCOMPARE(Testo::Rifila(QByteArray("\x00\x20 \xE8 x\t", 8)), QByteArray("\xE8 x"));
    }

    void puntoFinaleDegliErrori() {
        QCOMPARE(Testo::TestoErrore(QStringLiteral("Errore")), QStringLiteral("Errore."));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("codice 5")), QStringLiteral("codice 5."));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("Causa:")), QStringLiteral("Causa:."));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("Perché?")), QStringLiteral("Perché?."));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("Fine.")), QStringLiteral("Fine."));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("Attenzione!")), QStringLiteral("Attenzione!"));
        QCOMPARE(Testo::TestoErrore(QStringLiteral("(nota)")), QStringLiteral("(nota)"));
        QCOMPARE(Testo::TestoErrore(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestWin1252)
#include "test_win1252.moc"
