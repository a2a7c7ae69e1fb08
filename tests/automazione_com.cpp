// The exports through the automation of this computer, under Wine: the bridge to
// COM against Wine's own "Scripting.Dictionary"; then the two exports driven
// through their real windows. With the recording server registered as
// "Excel.Application" and "Word.Application" (TEGOLARIO_REGISTRO_COM names its
// file), they must send exactly the call tables the Linux tests expect; with
// nothing registered (TEGOLARIO_DOCUMENTI names the documents folder), the
// document engine writes the two files.
#include "app/Registro.h"
#include "card/TfrmScheda.h"
#include "export/MotoreDocumenti.h"
#include "export/TfrmExp.h"
#include "platform/AutomazioneSistema.h"
#include "store/Testo.h"
#include "support/ChiamateAttese.h"
#include "support/SchedeEsportazione.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const TCategoria& Box() { return *Categorie::PerTabella("sposi"); }

template <class T = QWidget> T* C(QWidget* f, const char* nome) {
    auto* w = f->findChild<T*>(QString::fromLatin1(nome));
    if (!w) qFatal("control %s missing", nome);
    return w;
}

QString Ambiente(const char* nome) { return QString::fromLocal8Bit(qgetenv(nome)); }

// The recorded calls from the given line on: the call texts, each checked against
// the dispatch flags it came with, and the lines that add to them ("#...").
struct Registrate {
    QStringList Chiamate, Note, FlagErrati;
};

// The lines of the server's file, with \\, \r and \n read back.
QStringList RigheRegistro() {
    QFile f(Ambiente("TEGOLARIO_REGISTRO_COM"));
    QStringList righe;
    if (!f.open(QIODevice::ReadOnly)) return righe;
    for (const QString& scritta : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString riga;
        for (qsizetype i = 0; i < scritta.size(); ++i) {
            if (scritta[i] != QLatin1Char('\\') || i + 1 == scritta.size()) {
                riga += scritta[i];
                continue;
            }
            const QChar dopo = scritta[++i];
            riga += dopo == QLatin1Char('r') ? QLatin1Char('\r') : dopo == QLatin1Char('n') ? QLatin1Char('\n') : dopo;
        }
        righe << riga;
    }
    return righe;
}

Registrate LeggiRegistro(qsizetype dalla) {
    Registrate r;
    for (const QString& riga : RigheRegistro().mid(dalla)) {
        if (riga.startsWith(QLatin1Char('#'))) {
            r.Note << riga;
            continue;
        }
        const QString flag = riga.section(QLatin1Char('\t'), 0, 0), testo = riga.section(QLatin1Char('\t'), 1);
        r.Chiamate << testo;
        // A read is a property get, a call a method whose result may be used, a
        // write a put, of an object a put by reference.
        const char* atteso = testo.startsWith(QLatin1String("Crea "))       ? "CreateInstance"
                             : testo.startsWith(QLatin1String("Leggi "))    ? "PROPERTYGET"
                             : testo.startsWith(QLatin1String("Chiama "))   ? "METHOD|PROPERTYGET"
                             : testo.contains(QLatin1String(" := Obj "))    ? "PROPERTYPUTREF"
                                                                            : "PROPERTYPUT";
        if (flag != QLatin1String(atteso)) r.FlagErrati << riga;
    }
    return r;
}

} // namespace

class TestAutomazioneCom : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    TMotoreDocumenti m_motore;
    std::unique_ptr<IAutomazione> m_sistema;
    bool m_registrato = false;

    // Runs azione in the next modal window, then closes what is left open.
    void MentreModale(const std::function<void(QWidget*)>& azione) {
        QTimer::singleShot(0, this, [azione] {
            QWidget* w = QApplication::activeModalWidget();
            azione(w);
            if (w && w->isVisible()) w->close();
        });
    }
    TfrmScheda* Scheda() { return qobject_cast<TfrmScheda*>(Registro::Finestra(Box().NomeFinestra())); }

private slots:
    void initTestCase() {
        m_registrato = !Ambiente("TEGOLARIO_REGISTRO_COM").isEmpty();
        QVERIFY2(m_registrato || !Ambiente("TEGOLARIO_DOCUMENTI").isEmpty(),
                 "TEGOLARIO_REGISTRO_COM or TEGOLARIO_DOCUMENTI must be set");
        AvviaProgramma(m_doppi, m_cartella.path());
        if (!m_registrato) m_motore.ImpostaCartella(Ambiente("TEGOLARIO_DOCUMENTI"));
        m_sistema = AutomazioneDelSistema(m_motore);
        Automazione::Imposta(m_sistema.get());
        InserisciSchede(Box(), {{{QStringLiteral("G1"), QStringLiteral("Box doppio, città")}, {}, {}},
                                {{QStringLiteral("G2")}, QStringLiteral("nota"), JpegEsportazione(40, 30)}});
        Scheda()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Scheda()));
    }
    void cleanupTestCase() {
        Automazione::Imposta(nullptr);
        Registro::DistruggiFinestre();
    }

    // The bridge against a real IDispatch server: methods, property reads with and
    // without index, a write, a list back, a string key with accented letters, and
    // a refused member raising the seam's error.
    void dizionarioDiWine() {
        const TRif d(Automazione::Server().Crea(QStringLiteral("Scripting.Dictionary")));
        const QString chiave = QString::fromUtf8("città è più €");
        d.Chiama(QStringLiteral("Add"), {Arg::Str(chiave), Arg::Str(QStringLiteral("valore"))});
        d.Chiama(QStringLiteral("Add"), {Arg::Str(QStringLiteral("due")), Arg::I32(2)});
        QCOMPARE((*d).Leggi(QStringLiteral("Count")).ComeIntero(), 2);
        QCOMPARE((*d).Leggi(QStringLiteral("Item"), {TVariante::Stringa(chiave)}).ComeStringa(), QStringLiteral("valore"));
        QCOMPARE((*d).Leggi(QStringLiteral("item"), {TVariante::Stringa(QStringLiteral("due"))}).ComeIntero(), 2);
        QVERIFY(d.Chiama(QStringLiteral("Exists"), {Arg::Str(chiave)}).ComeBooleano());
        QVERIFY(!d.Chiama(QStringLiteral("Exists"), {Arg::Str(QStringLiteral("Città"))}).ComeBooleano());
        d.Imposta(QStringLiteral("Item"), TVariante::Booleano(true), {TVariante::Stringa(QStringLiteral("due"))});
        QVERIFY((*d).Leggi(QStringLiteral("Item"), {TVariante::Stringa(QStringLiteral("due"))}).ComeBooleano());
        const TVariante chiavi = d.Chiama(QStringLiteral("Keys"));
        QCOMPARE(chiavi.Descrizione(), QStringLiteral("Array 1x2"));
        QCOMPARE(chiavi.ComeMatrice().At(1, 1).ComeStringa(), chiave);
        for (const auto& sbagliata : std::initializer_list<std::function<void()>>{
                 [&] { (*d).Leggi(QStringLiteral("Inesistente")); },
                 [&] { d.Chiama(QStringLiteral("Add"), {Arg::Str(chiave), Arg::Str(QStringLiteral("doppia"))}); }}) {
            QString messaggio;
            try {
                sbagliata();
            } catch (const EAutomazione& e) {
                messaggio = e.Messaggio();
            }
            QVERIFY2(messaggio.startsWith(QStringLiteral("Scripting.Dictionary.")), qPrintable(messaggio));
        }
        QCOMPARE((*d).Leggi(QStringLiteral("Count")).ComeIntero(), 2);
    }

    // From the card window to the export window, then "Esporta in Excel".
    void archivioInExcel() {
        const qsizetype prima = RigheRegistro().size();
        MentreModale([](QWidget* w) {
            if (auto* f = qobject_cast<TfrmExp*>(w)) QTest::mouseRelease(C(f, "lblExcel"), Qt::LeftButton);
        });
        QTest::mouseClick(C(Scheda(), "cmdExcel"), Qt::LeftButton);
        QVERIFY2(m_doppi.Messaggi.Mostrati.isEmpty(), qPrintable(m_doppi.Messaggi.Mostrati.value(0).Testo));
        if (!m_registrato) {
            QVERIFY(QFile::exists(QDir(Ambiente("TEGOLARIO_DOCUMENTI")).filePath("Archivio box e garage.xlsx")));
            return;
        }
        const Registrate r = LeggiRegistro(prima);
        QCOMPARE(r.Chiamate, ChiamateExcelAttese(QStringLiteral("Archivio box e garage"), 3));
        QCOMPARE(r.FlagErrati, QStringList());
        // The values as the grid holds them, trimmed; every object released at the end.
        const TGriglia& g = qobject_cast<TfrmExp*>(Registro::Finestra(Box().NomeFinestra("Exp")))->Griglia();
        QStringList celle;
        for (int riga = 0; riga < g.Righe(); ++riga)
            for (int col = 0; col < g.Colonne(); ++col) celle << TVariante::Stringa(Testo::Rifila(g.Cella(col, riga))).Descrizione();
        QCOMPARE(r.Note.value(0), QStringLiteral("#Matrice ") + celle.join(QLatin1Char('\t')));
        QCOMPARE(r.Note.value(r.Note.size() - 1), QStringLiteral("#Nessun oggetto vivo"));
    }

    // The card on screen, typed and not saved, to "Word".
    void schedaInWord() {
        const qsizetype prima = RigheRegistro().size();
        TfrmScheda* s = Scheda();
        QTest::mouseClick(C(s, "cmdNuovo"), Qt::LeftButton);
        C<QLineEdit>(s, "txtTitolo")->setText(QStringLiteral(" B-12 "));
        C<QLineEdit>(s, "txtAutore")->setText(QString::fromUtf8("Box auto più cantina"));
        C<QLineEdit>(s, "txtFotocamera")->setText(QString::fromUtf8("€ 25.000"));
        C<QPlainTextEdit>(s, "txtNote")->setPlainText(QString::fromUtf8("Accesso carrabile\nportone è automatico\n"));
        QTest::mouseClick(C(s, "cmdWord"), Qt::LeftButton);
        QVERIFY2(m_doppi.Messaggi.Mostrati.isEmpty(), qPrintable(m_doppi.Messaggi.Mostrati.value(0).Testo));
        if (!m_registrato) {
            QVERIFY(QFile::exists(QDir(Ambiente("TEGOLARIO_DOCUMENTI")).filePath("Scheda immobile.docx")));
            return;
        }
        const Registrate r = LeggiRegistro(prima);
        const QString bmp = QDir::toNativeSeparators(m_cartella.filePath(QStringLiteral("Scheda.bmp")));
        QCOMPARE(r.Chiamate, ChiamateWordAttese(bmp, {"B-12", QString::fromUtf8("Box auto più cantina"), "", "", "",
                                                      QString::fromUtf8("€ 25.000"), "", "",
                                                      QString::fromUtf8("Accesso carrabile\r\nportone è automatico"),
                                                      ""}));
        QCOMPARE(r.FlagErrati, QStringList());
        QCOMPARE(r.Note, QStringList{QStringLiteral("#Nessun oggetto vivo")});
    }
};

QTEST_MAIN(TestAutomazioneCom)
#include "automazione_com.moc"
