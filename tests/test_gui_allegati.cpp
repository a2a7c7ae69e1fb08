// The attachments and folder windows, opened from real record card windows of
// the program's registry, with the desktop seams doubled.
#include "app/Registro.h"
#include "card/TfrmAllegaCartella.h"
#include "card/TfrmAllegaFile.h"
#include "card/TfrmScheda.h"
#include "store/TSQLiteDatabase.h"
#include "support/Supporto.h"
#include "widgets/Comuni.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

TfrmScheda* Scheda(const char* radice) {
    return qobject_cast<TfrmScheda*>(Registro::Finestra(QStringLiteral("frm") + QLatin1String(radice)));
}

template <class T = QWidget> T* C(QWidget* f, const char* nome) {
    auto* w = f->findChild<T*>(QString::fromLatin1(nome));
    if (!w) qFatal("control %s missing", nome);
    return w;
}

QColor Sfondo(QWidget* w) { return w->palette().color(QPalette::Base); }

// A dialog that breaks while choosing.
class DialoghiGuasti : public FintoDialoghi {
public:
    QString ScegliFile(const QString&, const QString&, const QString&, QObject*) override {
        throw std::runtime_error("guasto");
    }
    QString ScegliCartella(const QString&, QObject*) override { throw std::runtime_error("guasto"); }
};

} // namespace

class TestGuiAllegati : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;

    // Clicks the card window's command and runs azione inside the modal window it
    // opens; returns when that window has closed. Checks it is modal, owned by the
    // card window, and destroyed after.
    template <class F> void Apri(TfrmScheda* scheda, const char* comando, const std::function<void(F*)>& azione) {
        bool aperta = false;
        QTimer::singleShot(0, this, [&] {
            auto* f = qobject_cast<F*>(QApplication::activeModalWidget());
            if (!f) return;
            aperta = f->isVisible() && f->parent() == scheda && f->isModal();
            azione(f);
            if (f->isVisible()) f->close(); // whatever the test left open: title-bar close
        });
        QTest::mouseClick(C(scheda, comando), Qt::LeftButton);
        QVERIFY(aperta);
        QVERIFY(scheda->findChildren<F*>().isEmpty());
    }
    void File(TfrmScheda* s, const std::function<void(TfrmAllegaFile*)>& a) { Apri<TfrmAllegaFile>(s, "cmdAllega", a); }
    void Cartella(TfrmScheda* s, const std::function<void(TfrmAllegaCartella*)>& a) {
        Apri<TfrmAllegaCartella>(s, "cmdAssocia", a);
    }
    static void Sfoglia(FinestraAllegati* f, int n) { f->Sfoglia(n)->click(); }
    static void Applica(FinestraAllegati* f) { QTest::mouseClick(C(f, "cmdApplica"), Qt::LeftButton); }

    void Riempi(TfrmScheda* s, const QStringList& valori) {
        for (int i = 0; i < valori.size(); ++i) s->ImpostaCampoNascosto(Campo(cFile01 + i), valori[i]);
    }
    QStringList Valori(TfrmScheda* s) {
        QStringList v;
        for (int c = cFile01; c <= cCartellaDesc; ++c) v << s->CampoNascosto(Campo(c));
        return v;
    }

private slots:
    void initTestCase() {
        AvviaProgramma(m_doppi, m_cartella.path());
        // Shown from the launcher as a user does, so every card window has run its show.
        for (const char* r : {"Amici", "Sposi"}) {
            Scheda(r)->show();
            QVERIFY(QTest::qWaitForWindowExposed(Scheda(r)));
        }
    }
    void init() {
        m_doppi.Messaggi.Azzera();
        m_doppi.ApriSistema.Richieste.clear();
        m_doppi.Dialoghi.ProssimoPercorso.clear();
        for (const char* r : {"Amici", "Sposi"}) QTest::mouseClick(C(Scheda(r), "cmdNuovo"), Qt::LeftButton);
    }
    void cleanup() { QCOMPARE(m_doppi.Cursore.Profondita, 0); }
    void cleanupTestCase() {
        // The start-up instances exist and were never shown.
        QVERIFY(qobject_cast<TfrmAllegaFile*>(Registro::Finestra(QStringLiteral("frmAllegaFile"))));
        QVERIFY(qobject_cast<TfrmAllegaCartella*>(Registro::Finestra(QStringLiteral("frmAllegaCartella"))));
        QVERIFY(!Registro::Finestra(QStringLiteral("frmAllegaFile"))->isVisible());
        Registro::DistruggiFinestre();
    }

    void emptyCardOpensEmptyWindow() {
        File(Scheda("Amici"), [](TfrmAllegaFile* f) {
            QCOMPARE(f->windowTitle(), QStringLiteral(" File allegati"));
            QCOMPARE(f->size(), QSize(616, 470));
            QCOMPARE(f->Categoria(), QStringLiteral("amici"));
            QVERIFY(!C(f, "lblMemory")->isVisible());
            for (int n = 1; n <= 3; ++n) {
                QVERIFY(f->Percorso(n)->text().isEmpty());
                QVERIFY(f->Descrizione(n)->text().isEmpty());
                QVERIFY(!f->Apri(n)->isEnabled());
                QVERIFY(f->Percorso(n)->isReadOnly());
                QCOMPARE(f->Percorso(n)->palette().color(QPalette::Text), QColor(Qt::red));
                QVERIFY(f->Descrizione(n)->font().bold());
            }
            // Focus in the first path, yellow; the others money green.
            QCOMPARE(f->focusWidget(), f->Percorso(1));
            QCOMPARE(Sfondo(f->Percorso(1)), QColor(255, 255, 0));
            QCOMPARE(Sfondo(f->Descrizione(1)), QColor(192, 220, 192));
            // Tab visits the six boxes only, in slot order.
            QList<QWidget*> visitati;
            for (int i = 0; i < 6; ++i) {
                QTest::keyClick(f->focusWidget(), Qt::Key_Tab);
                visitati << f->focusWidget();
            }
            QCOMPARE(visitati, (QList<QWidget*>{f->Descrizione(1), f->Percorso(2), f->Descrizione(2), f->Percorso(3),
                                                f->Descrizione(3), f->Percorso(1)}));
            QCOMPARE(Sfondo(f->Descrizione(3)), QColor(192, 220, 192));
            for (const char* b : {"cmdSfoglia01", "cmdApri02", "cmdApplica"}) QCOMPARE(C(f, b)->focusPolicy(), Qt::NoFocus);
        });
    }

    void filledTrimmedAndWrittenBackTrimmedInOrder() {
        TfrmScheda* s = Scheda("Amici");
        C<QLineEdit>(s, "txtTitolo")->setText(QStringLiteral("R7"));
        Riempi(s, {QStringLiteral("  /doc/pianta.pdf \t"), QString(), QStringLiteral(" /doc/contratto.odt"),
                   QStringLiteral(" Planimetria "), QStringLiteral("solo descrizione"), QString()});
        File(s, [this](TfrmAllegaFile* f) {
            QCOMPARE(f->Percorso(1)->text(), QStringLiteral("/doc/pianta.pdf"));
            QCOMPARE(f->Descrizione(1)->text(), QStringLiteral("Planimetria"));
            QVERIFY(f->Apri(1)->isEnabled() && !f->Apri(2)->isEnabled() && f->Apri(3)->isEnabled());
            m_doppi.Dialoghi.ProssimoPercorso = QStringLiteral("/foto/vista mare.jpg  ");
            Sfoglia(f, 2);
            QVERIFY(f->Apri(2)->isEnabled());
            f->Descrizione(3)->setText(QStringLiteral("\t Contratto  "));
            Applica(f);
            QVERIFY(!f->isVisible());
        });
        QCOMPARE(Valori(s).mid(0, 6),
                 QStringList({QStringLiteral("/doc/pianta.pdf"), QStringLiteral("/foto/vista mare.jpg"),
                              QStringLiteral("/doc/contratto.odt"), QStringLiteral("Planimetria"),
                              QStringLiteral("solo descrizione"), QStringLiteral("Contratto")}));
        // The card on screen is not touched.
        QCOMPARE(C<QLineEdit>(s, "txtTitolo")->text(), QStringLiteral("R7"));
    }

    void backspaceEmptiesThePathOnly() {
        TfrmScheda* s = Scheda("Amici");
        Riempi(s, {QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf"), QStringLiteral("/c.pdf")});
        File(s, [](TfrmAllegaFile* f) {
            f->Percorso(2)->setFocus();
            QTest::keyClicks(f->Percorso(2), QStringLiteral("xyz")); // read-only: nothing
            QCOMPARE(f->Percorso(2)->text(), QStringLiteral("/b.pdf"));
            QTest::keyClick(f->Percorso(2), Qt::Key_Backspace);
            QVERIFY(f->Percorso(2)->text().isEmpty());
            QVERIFY(!f->Apri(2)->isEnabled());
            QVERIFY(f->Apri(1)->isEnabled());
            // In a description Backspace is an ordinary key.
            f->Descrizione(1)->setText(QStringLiteral("ab"));
            f->Descrizione(1)->setFocus();
            f->Descrizione(1)->end(false);
            QTest::keyClick(f->Descrizione(1), Qt::Key_Backspace);
            QCOMPARE(f->Descrizione(1)->text(), QStringLiteral("a"));
            Applica(f);
        });
        QCOMPARE(s->CampoNascosto(cFile02), QString());
        QCOMPARE(s->CampoNascosto(cFile03), QStringLiteral("/c.pdf"));
    }

    void fileDialogAndFailures() {
        TfrmScheda* s = Scheda("Amici");
        FintoDialoghi& d = m_doppi.Dialoghi;
        File(s, [&](TfrmAllegaFile* f) {
            const int prima = m_doppi.Cursore.Volte;
            d.ProssimoPercorso = QStringLiteral("/doc/perizia.pdf");
            Sfoglia(f, 1);
            QCOMPARE(d.UltimoTitolo, QStringLiteral("Selezionare un file e premere Apri:"));
            QCOMPARE(d.UltimoFiltro.section(QLatin1Char('|'), 0, 0), QStringLiteral("Tutti i file (*.*)"));
            QVERIFY(d.UltimoIniziale.isEmpty()); // the first browse of a window starts empty
            QCOMPARE(f->Percorso(1)->text(), QStringLiteral("/doc/perizia.pdf"));
            QVERIFY(m_doppi.Cursore.Volte > prima); // busy while the path is set
            // The next browse, in any slot, starts on the file chosen last; cancelling changes nothing.
            Sfoglia(f, 3);
            QCOMPARE(d.UltimoIniziale, QStringLiteral("/doc/perizia.pdf"));
            QVERIFY(f->Percorso(3)->text().isEmpty());
            // A choice that breaks empties that slot's path, silently.
            DialoghiGuasti guasti;
            Piattaforma::Imposta(&guasti);
            Sfoglia(f, 1);
            Piattaforma::Imposta(&m_doppi.Dialoghi);
            QVERIFY(f->Percorso(1)->text().isEmpty());
            QVERIFY(!f->Apri(1)->isEnabled());
            // A path the archive could not hold is refused with a warning, the slot unchanged.
            f->Percorso(2)->setText(QStringLiteral("/doc/vecchio.pdf"));
            d.ProssimoPercorso = QStringLiteral("/doc/Łódź.pdf");
            Sfoglia(f, 2);
            QCOMPARE(f->Percorso(2)->text(), QStringLiteral("/doc/vecchio.pdf"));
        });
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Tipo, TipoMessaggio::Avviso);
        QVERIFY(m_doppi.Messaggi.Ultimo().Testo.contains(QStringLiteral("/doc/Łódź.pdf")));
        // A new window starts its browsing empty again.
        File(s, [&](TfrmAllegaFile* f) {
            Sfoglia(f, 1);
            QVERIFY(d.UltimoIniziale.isEmpty());
        });
    }

    void openWithTheSystem() {
        TfrmScheda* s = Scheda("Amici");
        Riempi(s, {QStringLiteral("  /doc/a b.pdf ")});
        s->ImpostaCampoNascosto(cCartella, QStringLiteral(" /immobili/R7 "));
        File(s, [](TfrmAllegaFile* f) { f->Apri(1)->click(); });
        QCOMPARE(m_doppi.ApriSistema.Richieste.size(), 1);
        QCOMPARE(m_doppi.ApriSistema.Richieste.last(), qMakePair(QStringLiteral("/doc/a b.pdf"), QString()));
        Cartella(s, [](TfrmAllegaCartella* f) { f->Apri(1)->click(); });
        QCOMPARE(m_doppi.ApriSistema.Richieste.last(), qMakePair(QStringLiteral("/immobili/R7"), QStringLiteral("Open")));
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
    }

    void titleBarCloseKeepsTheCardsValues() {
        TfrmScheda* s = Scheda("Amici");
        Riempi(s, {QStringLiteral("/x.pdf"), QString(), QString(), QStringLiteral("X"), QString(), QString(),
                   QStringLiteral("/cartella"), QStringLiteral("C")});
        const QStringList prima = Valori(s);
        File(s, [this](TfrmAllegaFile* f) {
            m_doppi.Dialoghi.ProssimoPercorso = QStringLiteral("/nuovo.pdf");
            Sfoglia(f, 1);
            m_doppi.Dialoghi.ProssimoPercorso = QStringLiteral("/altro.pdf");
            Sfoglia(f, 2);
            f->Descrizione(1)->setText(QStringLiteral("cambiata"));
            f->close();
        });
        Cartella(s, [this](TfrmAllegaCartella* f) {
            QTest::keyClick(f->Percorso(1), Qt::Key_Backspace);
            f->Descrizione(1)->setText(QStringLiteral("cambiata"));
            QTest::keyClick(f, Qt::Key_Escape); // like the close box
        });
        QCOMPARE(Valori(s), prima);
    }

    void twoOpeningsGiveFreshWindows() {
        TfrmScheda* s = Scheda("Amici");
        QPointer<TfrmAllegaFile> prima;
        File(s, [&](TfrmAllegaFile* f) {
            prima = f;
            f->Descrizione(1)->setText(QStringLiteral("non applicata"));
        });
        QVERIFY(prima.isNull()); // destroyed on close
        File(s, [](TfrmAllegaFile* f) { QVERIFY(f->Descrizione(1)->text().isEmpty()); });
        Cartella(s, [](TfrmAllegaCartella* f) { f->Descrizione(1)->setText(QStringLiteral("non applicata")); });
        Cartella(s, [](TfrmAllegaCartella* f) { QVERIFY(f->Descrizione(1)->text().isEmpty()); });
    }

    void writesOnlyIntoTheCategoryNamedInItsKey() {
        TfrmScheda* box = Scheda("Sposi");
        TfrmScheda* monolocali = Scheda("Amici");
        Riempi(monolocali, {QStringLiteral("/monolocale.pdf")});
        File(box, [this](TfrmAllegaFile* f) {
            QCOMPARE(f->Categoria(), QStringLiteral("sposi"));
            m_doppi.Dialoghi.ProssimoPercorso = QStringLiteral("/box.pdf");
            Sfoglia(f, 1);
            Applica(f);
        });
        QCOMPARE(box->CampoNascosto(cFile01), QStringLiteral("/box.pdf"));
        QCOMPARE(monolocali->CampoNascosto(cFile01), QStringLiteral("/monolocale.pdf"));
        for (int i = 0; i < 10; ++i) {
            auto* altra = qobject_cast<TfrmScheda*>(Registro::Finestra(Categorie::PerPosizione(i).NomeFinestra()));
            if (altra != box && altra != monolocali) QVERIFY(altra->CampoNascosto(cFile01).isEmpty());
        }
        Cartella(box, [](TfrmAllegaCartella* f) {
            QCOMPARE(f->Categoria(), QStringLiteral("sposi"));
            f->Percorso(1)->setText(QStringLiteral("/box"));
            Applica(f);
        });
        QCOMPARE(box->CampoNascosto(cCartella), QStringLiteral("/box"));
        QVERIFY(monolocali->CampoNascosto(cCartella).isEmpty());
    }

    void appliedValuesReachTheArchiveAtTheNextSave() {
        TfrmScheda* s = Scheda("Amici");
        C<QLineEdit>(s, "txtTitolo")->setText(QStringLiteral("Allegati"));
        File(s, [](TfrmAllegaFile* f) {
            f->Descrizione(2)->setText(QStringLiteral("Descrizione senza file"));
            f->Percorso(3)->setText(QStringLiteral("/doc/visura.pdf"));
            Applica(f);
        });
        Cartella(s, [this](TfrmAllegaCartella* f) {
            m_doppi.Dialoghi.ProssimoPercorso = QStringLiteral("/immobili/Allegati");
            Sfoglia(f, 1);
            f->Descrizione(1)->setText(QStringLiteral("Documenti"));
            Applica(f);
        });
        QTest::mouseClick(C(s, "cmdSalva"), Qt::LeftButton);
        TSQLiteDatabase db(m_cartella.filePath(QStringLiteral("Monolocali.db")));
        auto t = db.Query("SELECT * FROM amici WHERE varTitolo = 'Allegati'");
        QCOMPARE(int(t->Count()), 1);
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varDesc02")), QByteArray("Descrizione senza file"));
        QVERIFY(t->ColumnBlobText(t->ColumnIndex("varFile02")).isEmpty());
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varFile03")), QByteArray("/doc/visura.pdf"));
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varCartella")), QByteArray("/immobili/Allegati"));
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varCartellaDesc")), QByteArray("Documenti"));

        // Removing the association: Backspace, apply, save.
        Cartella(s, [](TfrmAllegaCartella* f) {
            QCOMPARE(f->Percorso(1)->text(), QStringLiteral("/immobili/Allegati"));
            QTest::keyClick(f->Percorso(1), Qt::Key_Backspace);
            Applica(f);
        });
        QTest::mouseClick(C(s, "cmdSalva"), Qt::LeftButton);
        t = db.Query("SELECT * FROM amici WHERE varTitolo = 'Allegati'");
        QVERIFY(t->ColumnBlobText(t->ColumnIndex("varCartella")).isEmpty());
        QCOMPARE(t->ColumnBlobText(t->ColumnIndex("varCartellaDesc")), QByteArray("Documenti"));

        // Applied values not saved go with the card when another is loaded or the card is cleared.
        File(s, [](TfrmAllegaFile* f) {
            f->Percorso(1)->setText(QStringLiteral("/perso.pdf"));
            Applica(f);
        });
        QTest::mouseClick(C(s, "cmdNuovo"), Qt::LeftButton);
        QVERIFY(s->CampoNascosto(cFile01).isEmpty());
        QTest::mouseClick(C(s, "imgPrimo"), Qt::LeftButton);
        QCOMPARE(s->CampoNascosto(cFile03), QStringLiteral("/doc/visura.pdf"));
        QVERIFY(s->CampoNascosto(cFile01).isEmpty());
    }

    // Values of any length (written by another copy of the program or another tool)
    // come back from both windows whole.
    void longValuesComeBackWhole() {
        TfrmScheda* s = Scheda("Amici");
        QStringList lunghi;
        for (int i = 0; i < 8; ++i) lunghi << QString(40000, QChar(u'a' + i)) + QStringLiteral("fine");
        Riempi(s, lunghi);
        File(s, [](TfrmAllegaFile* f) { Applica(f); });
        Cartella(s, [](TfrmAllegaCartella* f) { Applica(f); });
        QCOMPARE(Valori(s), lunghi);
    }

    void folderWindow() {
        TfrmScheda* s = Scheda("Amici");
        FintoDialoghi& d = m_doppi.Dialoghi;
        s->ImpostaCampoNascosto(cCartella, QStringLiteral("/gia/associata"));
        Cartella(s, [&](TfrmAllegaCartella* f) {
            QCOMPARE(f->windowTitle(), QStringLiteral(" Associa cartella"));
            QCOMPARE(f->size(), QSize(616, 254));
            QCOMPARE(f->NumeroSlot(), 1);
            QCOMPARE(f->focusWidget(), f->Percorso(1));
            QVERIFY(f->Apri(1)->isEnabled());
            // The dialog is asked for a folder with its instruction; no busy cursor for it.
            const int volte = m_doppi.Cursore.Volte;
            d.ProssimoPercorso = QStringLiteral(" /immobili/Villa 3 ");
            Sfoglia(f, 1);
            QCOMPARE(d.UltimoTitolo, QStringLiteral("Selezionare una cartella:"));
            QCOMPARE(m_doppi.Cursore.Volte, volte);
            QCOMPARE(f->Percorso(1)->text(), QStringLiteral(" /immobili/Villa 3 "));
            DialoghiGuasti guasti;
            Piattaforma::Imposta(&guasti);
            Sfoglia(f, 1);
            Piattaforma::Imposta(&m_doppi.Dialoghi);
            QVERIFY(f->Percorso(1)->text().isEmpty());
            QVERIFY(!f->Apri(1)->isEnabled());
            d.ProssimoPercorso = QStringLiteral(" /immobili/Villa 3 ");
            Sfoglia(f, 1);
            f->Descrizione(1)->setText(QStringLiteral(" Foto e perizie "));
            Applica(f);
        });
        QCOMPARE(s->CampoNascosto(cCartella), QStringLiteral("/immobili/Villa 3"));
        QCOMPARE(s->CampoNascosto(cCartellaDesc), QStringLiteral("Foto e perizie"));
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
    }
};

QTEST_MAIN(TestGuiAllegati)
#include "test_gui_allegati.moc"
