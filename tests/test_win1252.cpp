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

    // The code page as published, byte by byte; 0 marks the five bytes it leaves unassigned.
    void tabellaDa80a9F() {
        static constexpr char16_t CodePage[32] = {
            0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88..8F
            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98..9F
        };
        for (int b = 0x80; b <= 0x9F; ++b) {
            const char16_t atteso = CodePage[b - 0x80];
            const QByteArray byte(1, char(b));
            const QString testo = Win1252::ATesto(byte);
            const QByteArray qui = QByteArray::number(b, 16);
            QCOMPARE(testo.size(), 1);
            if (atteso) {
                QVERIFY2(testo.at(0).unicode() == atteso, qui.constData());
                QVERIFY2(Win1252::DaTesto(QString(QChar(atteso))) == byte, qui.constData());
                QVERIFY2(Win1252::Rappresentabile(QChar(atteso)), qui.constData());
                // The C1 control of the same value is not that character: it cannot be stored.
                QVERIFY2(!Win1252::Rappresentabile(QChar(char16_t(b))), qui.constData());
                QVERIFY2(Win1252::DaTesto(QString(QChar(char16_t(b)))) == "?", qui.constData());
            } else {
                // Unassigned: read as the C1 control of the same value and written back
                // as that byte, so a cell written by another tool survives a load and save.
                QVERIFY2(testo.at(0).unicode() == char16_t(b), qui.constData());
                QVERIFY2(Win1252::Rappresentabile(QChar(char16_t(b))), qui.constData());
                QVERIFY2(Win1252::DaTesto(testo) == byte, qui.constData());
            }
        }
        // Outside 0x80..0x9F every byte is the character of the same code.
        for (int b = 0; b < 256; ++b) {
            if (b >= 0x80 && b <= 0x9F) continue;
            QCOMPARE(Win1252::ATesto(QByteArray(1, char(b))).at(0).unicode(), char16_t(b));
            QCOMPARE(Win1252::DaTesto(QString(QChar(char16_t(b)))), QByteArray(1, char(b)));
        }
        // The first characters past the code page are refused.
        for (char16_t c : {char16_t(0x0100), char16_t(0x0153 + 1), char16_t(0x20AC + 1), char16_t(0x2122 + 1)})
            QVERIFY(!Win1252::Rappresentabile(QChar(c)));
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
