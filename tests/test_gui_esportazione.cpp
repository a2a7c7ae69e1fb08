// The spreadsheet export window and the card window's two export commands, driven
// through their controls in the started program, with the desktop seams and the
// automation doubled (and the real document engine where the files matter).
#include "app/Registro.h"
#include "card/TfrmScheda.h"
#include "doubles/FintaAutomazione.h"
#include "export/MotoreDocumenti.h"
#include "export/TfrmExp.h"
#include "export/VistaGriglia.h"
#include "support/SchedeEsportazione.h"
#include "support/Supporto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const TCategoria& Cat(const char* tabella) { return *Categorie::PerTabella(tabella); }
TfrmExp* Exp(const TCategoria& c) { return qobject_cast<TfrmExp*>(Registro::Finestra(c.NomeFinestra("Exp"))); }
TfrmScheda* Scheda(const TCategoria& c) { return qobject_cast<TfrmScheda*>(Registro::Finestra(c.NomeFinestra())); }

template <class T = QWidget> T* C(QWidget* f, const char* nome) {
    auto* w = f->findChild<T*>(QString::fromLatin1(nome));
    if (!w) qFatal("control %s missing", nome);
    return w;
}

QColor Colore(QLabel* l) { return l->palette().color(QPalette::WindowText); }

QByteArray Leggi(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestGuiEsportazione : public QObject {
    Q_OBJECT

    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintaAutomazione m_auto;

    // Runs azione while the next modal window is open, then closes that window.
    void MentreModale(const std::function<void(QWidget*)>& azione) {
        QTimer::singleShot(0, this, [azione] {
            QWidget* w = QApplication::activeModalWidget();
            azione(w);
            if (w && w->isVisible()) w->close();
        });
    }
    // The cells' texts of a grid row, as the window shows them (ordinal first).
    static QStringList RigaMostrata(TfrmExp* f, int riga) {
        auto* v = C<VistaGriglia>(f, "grdRecords");
        QStringList r{v->model()->headerData(riga - 1, Qt::Vertical).toString()};
        for (int c = 0; c < v->model()->columnCount(); ++c) r << v->model()->index(riga - 1, c).data().toString();
        return r;
    }
    void Rilascia(QWidget* w, Qt::MouseButton tasto = Qt::LeftButton) { QTest::mouseRelease(w, tasto); }
    // The texts sent into the second column of the card table, in order.
    QStringList ValoriWord() const {
        QStringList v;
        for (const TChiamataRegistrata& c : m_auto.Chiamate())
            if (c.Membro == QLatin1String("InsertAfter") && c.Oggetto.contains(QLatin1String(", I32 2).range")))
                v << c.Argomenti.value(0).Valore.ComeStringa();
        return v;
    }

private slots:
    void initTestCase() {
        AvviaProgramma(m_doppi, m_cartella.path());
        Automazione::Imposta(&m_auto);
    }
    void cleanupTestCase() {
        Automazione::Imposta(nullptr);
        Registro::DistruggiFinestre();
    }
    void init() {
        for (QWidget* w : Registro::Tutte()) w->hide();
        Piattaforma::ImpostaCartellaProgramma(m_cartella.path());
        m_auto.Azzera();
        m_doppi.Messaggi.Azzera();
        m_doppi.ApriSistema.Richieste.clear();
    }

    void finestrePerCategoria() {
        QStringList nomi;
        for (QWidget* w : Registro::Tutte()) nomi << w->objectName();
        for (const TCategoria& c : Categorie::Tutte()) {
            TfrmExp* f = Exp(c);
            QVERIFY(f);
            QCOMPARE(f->objectName(), QStringLiteral("frmExp") + QLatin1String(c.Radice));
            // Created after the category's card window and before the next category's.
            QVERIFY(nomi.indexOf(f->objectName()) > nomi.indexOf(c.NomeFinestra()));
            QVERIFY(f->isWindow() && !f->isVisible());
        }
        QCOMPARE(nomi.indexOf("frmExpInfanzia"), nomi.indexOf("frmTrovaInfanzia") + 1);
        QCOMPARE(nomi.indexOf("frmExpFamiglia"), nomi.indexOf("frmRicercaFamiglia") - 1);
        QVERIFY(nomi.indexOf("frmExpFamiglia") < nomi.indexOf("frmAmici"));
        QCOMPARE(Exp(Cat("amici"))->windowTitle(), QStringLiteral(" Esportazione archivio foto monolocali"));
        QCOMPARE(Exp(Cat("celebrazioni"))->windowTitle(), QStringLiteral(" Esportazione archivio depositi"));
        QCOMPARE(Exp(Cat("sposi"))->windowTitle(), QStringLiteral(" Esportazione archivio box e garage"));

        TfrmExp* f = Exp(Cat("hobby"));
        QCOMPARE(f->minimumSize(), QSize(783, 505));
        QCOMPARE(f->maximumSize(), QSize(783, 505));
        QVERIFY(f->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!f->findChild<VistaGriglia*>()); // made at the first showing
        f->show();
        const std::pair<const char*, QRect> posti[] = {
            {"grpControlli", {4, 4, 773, 80}}, {"imgLogo", {8, 14, 381, 57}},     {"imgExcel", {468, 20, 28, 28}},
            {"imgGuida", {600, 20, 32, 32}},   {"imgEsci", {716, 20, 32, 32}},    {"grdRecords", {0, 96, 783, 383}},
            {"panInfo", {0, 479, 783, 26}}};
        for (const auto& [nome, rett] : posti) QCOMPARE(C(f, nome)->geometry(), rett);
        QCOMPARE(C<QLabel>(f, "lblExcel")->text(), QStringLiteral("Esporta in Excel"));
        QCOMPARE(C<QLabel>(f, "lblGuida")->text(), QStringLiteral("Guida"));
        QCOMPARE(C<QLabel>(f, "lblEsci")->text(), QStringLiteral("Esci"));
        for (const char* l : {"lblExcel", "lblGuida", "lblEsci"}) {
            QVERIFY(C<QLabel>(f, l)->font().underline());
            QCOMPARE(C<QLabel>(f, l)->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(Colore(C<QLabel>(f, l)), QColor(Qt::black));
        }

        // Before the first filling: 10 x 10 empty cells, 100 pixels wide but column 6.
        auto* v = C<VistaGriglia>(f, "grdRecords");
        QCOMPARE(v->model()->rowCount(), 9);
        QCOMPARE(v->model()->columnCount(), 9);
        QCOMPARE(v->verticalHeader()->width(), 100);
        for (int c = 0; c < 9; ++c) {
            QCOMPARE(v->horizontalHeader()->sectionSize(c), c == 5 ? 208 : 100);
            QVERIFY(v->model()->headerData(c, Qt::Horizontal).toString().isEmpty());
        }
        QCOMPARE(v->verticalHeader()->defaultSectionSize(), 24);
        QCOMPARE(v->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(v->selectionMode(), QAbstractItemView::ContiguousSelection);
        QCOMPARE(v->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        f->close();
    }

    // From the card window: the card is cleared, the archive listed as saved, the
    // export window modal over the card window; closing it leaves the card empty.
    void apertaDallaScheda() {
        const TCategoria& cat = Cat("amici");
        SvuotaArchivio(m_cartella.filePath(QLatin1String(cat.FileArchivio)));
        const QList<qint64> id = InserisciSchede(
            cat, {{{"M1", "  Luminoso  "}, {}, JpegEsportazione(50, 40)}, {{"M2"}, {}, {}}, {{"M3", "Ultimo"}, {}, {}}});
        EliminaScheda(cat, id[1]);
        TfrmScheda* scheda = Scheda(cat);
        scheda->show();
        C<QLineEdit>(scheda, "txtTitolo")->setText(QStringLiteral("mai salvata"));

        bool modale = false;
        QString titoloScheda = QStringLiteral("?");
        QList<QStringList> righe;
        QStringList intestazioni;
        bool senzaFoto = false;
        MentreModale([&](QWidget* w) {
            auto* f = qobject_cast<TfrmExp*>(w);
            if (!f) return;
            modale = f == Exp(cat) && f->isModal();
            titoloScheda = C<QLineEdit>(scheda, "txtTitolo")->text();
            auto* v = C<VistaGriglia>(f, "grdRecords");
            for (int r = 1; r <= v->model()->rowCount(); ++r) righe << RigaMostrata(f, r);
            intestazioni << f->Griglia().Cella(0, 0);
            for (int c = 0; c < 9; ++c) intestazioni << v->model()->headerData(c, Qt::Horizontal).toString();
            try {
                f->Archivio().Risultato()->ColumnIndex("Picture");
            } catch (const ESQLiteException&) {
                senzaFoto = true; // the photos stay in the archive
            }
            Rilascia(C(f, "lblEsci"));
        });
        QTest::mouseClick(C(scheda, "cmdExcel"), Qt::LeftButton);
        QVERIFY(modale);
        QCOMPARE(titoloScheda, QString());
        QCOMPARE(righe.size(), 2);
        QCOMPARE(righe[0], QStringList({"1", "M1", "Luminoso", "", "", "", "", "", "", ""}));
        QCOMPARE(righe[1].mid(0, 3), QStringList({"2", "M3", "Ultimo"}));
        QCOMPARE(intestazioni.mid(0, 4), QStringList({" N.", " Riferimento", " Descrizione", " Ubicazione"}));
        QVERIFY(senzaFoto);
        QVERIFY(!Exp(cat)->isVisible());
        QCOMPARE(C<QLineEdit>(scheda, "txtTitolo")->text(), QString());
        // Closed, the window holds at most one card and keeps its grid.
        QVERIFY(Exp(cat)->Archivio().Risultato()->Count() <= 1);
        QCOMPARE(Exp(cat)->Griglia().Righe(), 3);

        // Next showing: a card saved meanwhile is there, dragged widths are undone.
        InserisciSchede(cat, {{{"M4"}, {}, {}}});
        auto* v = C<VistaGriglia>(Exp(cat), "grdRecords");
        v->horizontalHeader()->resizeSection(0, 40);
        int righeDopo = 0, larghezza = 0;
        MentreModale([&](QWidget* w) {
            righeDopo = v->model()->rowCount();
            larghezza = v->horizontalHeader()->sectionSize(0);
            if (w) Rilascia(C(w, "imgEsci"), Qt::RightButton);
        });
        QTest::mouseClick(C(scheda, "cmdExcel"), Qt::LeftButton);
        QCOMPARE(righeDopo, 3);
        QCOMPARE(larghezza, 250);
        QCOMPARE(v->verticalHeader()->width(), 50);
        QVERIFY(!Exp(cat)->isVisible());

        // An archive that cannot be opened: no window, no message.
        const QString archivio = m_cartella.filePath(QLatin1String(cat.FileArchivio));
        SALTA_SENZA_CARTELLA_AL_POSTO(archivio);
        bool aperta = false;
        MentreModale([&](QWidget* w) { aperta = w != nullptr; });
        QTest::mouseClick(C(scheda, "cmdExcel"), Qt::LeftButton);
        QTest::qWait(20);
        QVERIFY(!aperta);
        QVERIFY(!Exp(cat)->isVisible());
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
        QVERIFY(QDir(archivio).removeRecursively());
        scheda->hide();
    }

    // Hints and red labels: a label stays red until the pointer passes over the
    // frame's background or the grid; over the grid, the selected cell's text.
    void suggerimentiEdEtichette() {
        const TCategoria& cat = Cat("lavoro");
        InserisciSchede(cat, {{{" N-1 ", "Negozio in centro"}, {}, {}}, {{"N-2", "Vetrina su strada"}, {}, {}}});
        TfrmExp* f = Exp(cat);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        auto* info = C<QLabel>(f, "panInfo");
        auto* lblExcel = C<QLabel>(f, "lblExcel");
        auto* lblGuida = C<QLabel>(f, "lblGuida");

        QTest::mouseMove(C(f, "imgExcel"));
        QCOMPARE(info->text(), QStringLiteral(" Esporta i dati in un file di Microsoft Excel."));
        QCOMPARE(Colore(lblExcel), QColor(Qt::red));
        QTest::mouseMove(lblGuida);
        QCOMPARE(info->text(), QStringLiteral(" Visualizza la guida in linea."));
        QCOMPARE(Colore(lblGuida), QColor(Qt::red));
        QCOMPARE(Colore(lblExcel), QColor(Qt::red)); // straight from one command to another
        QTest::mouseMove(C(f, "imgEsci"));
        QCOMPARE(info->text(), QStringLiteral(" Esce dalla schermata di lavoro corrente."));
        QTest::mouseMove(C(f, "imgLogo"));
        QCOMPARE(Colore(lblExcel), QColor(Qt::red)); // the logo has no action
        QTest::mouseMove(C(f, "grpControlli"), QPoint(420, 40));
        QVERIFY(info->text().isEmpty());
        for (const char* l : {"lblExcel", "lblGuida", "lblEsci"}) QCOMPARE(Colore(C<QLabel>(f, l)), QColor(Qt::black));

        auto* v = C<VistaGriglia>(f, "grdRecords");
        QTest::mouseMove(C(f, "lblExcel"));
        v->setCurrentIndex(v->model()->index(0, 0)); // " N-1 " shown as "N-1"
        QTest::mouseMove(v->viewport(), v->visualRect(v->model()->index(1, 1)).center());
        QCOMPARE(info->text(), QStringLiteral(" N-1"));
        QCOMPARE(Colore(lblExcel), QColor(Qt::black));
        v->setCurrentIndex(v->model()->index(1, 1));
        QTest::mouseMove(v->viewport(), v->visualRect(v->model()->index(0, 0)).center());
        QCOMPARE(info->text(), QStringLiteral(" Vetrina su strada"));
        QTest::mouseMove(v->horizontalHeader(), QPoint(30, 10));
        QCOMPARE(info->text(), QStringLiteral(" Vetrina su strada"));
        f->close();
    }

    // Headings sky blue, alternating rows whatever is selected.
    void disegnoDelleCelle() {
        const TCategoria& cat = Cat("vacanze");
        InserisciSchede(cat, {{{"U1"}, {}, {}}, {{"U2"}, {}, {}}, {{"U3"}, {}, {}}});
        TfrmExp* f = Exp(cat);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        auto* v = C<VistaGriglia>(f, "grdRecords");
        const auto pixel = [&](int riga, int colonna) {
            const QRect r = v->visualRect(v->model()->index(riga, colonna));
            return v->viewport()->grab().toImage().pixelColor(r.right() - 3, r.bottom() - 3);
        };
        const auto controlla = [&] {
            QCOMPARE(pixel(0, 1), VistaGriglia::ColoreRigaDispari());
            QCOMPARE(pixel(1, 1), VistaGriglia::ColoreRigaPari());
            QCOMPARE(pixel(2, 0), VistaGriglia::ColoreRigaDispari());
        };
        controlla();
        v->selectionModel()->select(QItemSelection(v->model()->index(0, 0), v->model()->index(2, 5)),
                                    QItemSelectionModel::Select);
        controlla();
        const QImage testata = v->horizontalHeader()->grab().toImage();
        QCOMPARE(testata.pixelColor(200, 20), VistaGriglia::ColoreIntestazioni());
        QCOMPARE(v->verticalHeader()->grab().toImage().pixelColor(40, 30), VistaGriglia::ColoreIntestazioni());
        f->close();
    }

    // The Excel command (any button, picture or label) hands the grid to the
    // spreadsheet; a failure says so and leaves the window as it was.
    void esportaInExcel() {
        const TCategoria& cat = Cat("sposi");
        InserisciSchede(cat, {{{"G1"}, {}, {}}, {{"G2"}, {}, {}}});
        TfrmExp* f = Exp(cat);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        Rilascia(C(f, "lblExcel"), Qt::RightButton);
        QStringList t = m_auto.Testi();
        QCOMPARE(t.value(0), QStringLiteral("Crea Excel.Application"));
        QVERIFY(t.contains(QStringLiteral(
            "Imposta Excel.Application.Workbooks[I32 1].WorkSheets[I32 1].Name := Str \"Archivio box e garage\"")));
        QVERIFY(t.contains(QStringLiteral(
            "Imposta Excel.Application.Workbooks[I32 1].WorkSheets[I32 1].Range[Str \"A1\", Str \"J3\"].Value := Array 3x10")));
        QCOMPARE(t.last(), QStringLiteral("Imposta Excel.Application.Visible := Bool true"));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);

        m_auto.Azzera();
        m_auto.RifiutaCreazione(QStringLiteral("Excel.Application"));
        Rilascia(C(f, "imgExcel"));
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QVERIFY(m_doppi.Messaggi.Ultimo().Testo.contains(QLatin1String("Microsoft Office")));
        QVERIFY(f->isVisible());
        QCOMPARE(f->Griglia().Righe(), 3);

        // With the document engine: a real file in the documents folder, opened.
        TMotoreDocumenti motore;
        motore.ImpostaCartella(m_cartella.filePath(QStringLiteral("Documenti")));
        Automazione::Imposta(&motore);
        Rilascia(C(f, "imgExcel"));
        Automazione::Imposta(&m_auto);
        QCOMPARE(motore.FileScritti().size(), 1);
        QCOMPARE(QFileInfo(motore.FileScritti().first()).fileName(), QStringLiteral("Archivio box e garage.xlsx"));
        QCOMPARE(m_doppi.ApriSistema.Richieste.last().first, motore.FileScritti().first());
        f->close();
    }

    // The help window comes over the export window with the category's topic and
    // returns to it; Esci closes the export window.
    void guidaEdEsci() {
        TfrmExp* f = Exp(Cat("amici"));
        f->show();
        QString titolo, testo;
        int volte = 0;
        const auto leggi = [&](QWidget* w) {
            if (!w || w->objectName() != QLatin1String("frmHelpForm")) return;
            ++volte;
            titolo = C<QLabel>(w, "panTitle")->text();
            testo = C<QPlainTextEdit>(w, "memTopic")->toPlainText();
        };
        MentreModale(leggi);
        Rilascia(C(f, "imgGuida"));
        QCOMPARE(titolo, QStringLiteral("Esportazione archivio monolocali"));
        QVERIFY(testo.startsWith(QStringLiteral("La funzione di esportazione dati consente di convertire l'archivio corrente")));
        QVERIFY(f->isVisible());
        MentreModale(leggi);
        Rilascia(C(f, "lblGuida"), Qt::MiddleButton);
        QCOMPARE(volte, 2);
        QVERIFY(f->isVisible());
        Rilascia(C(f, "lblEsci"));
        QVERIFY(!f->isVisible());
    }

    // The Word command exports what the card window shows, saved or not, trimmed,
    // with the picture shown; the card stays as it is.
    void esportaSchedaInWord() {
        const TCategoria& cat = Cat("famiglia");
        TfrmScheda* s = Scheda(cat);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        const QString bmp = m_cartella.filePath(QStringLiteral("Scheda.bmp"));
        const auto clic = [&] {
            m_auto.Azzera();
            QTest::mouseClick(C(s, "cmdWord"), Qt::LeftButton);
        };

        clic(); // a cleared card: ten empty values and the placeholder
        QCOMPARE(ValoriWord(), QStringList(10, QString()));
        QCOMPARE(Leggi(bmp), s->FotoCampione().Byte());

        C<QLineEdit>(s, "txtTitolo")->setText(QStringLiteral("  A-9 "));
        C<QLineEdit>(s, "txtAutore")->setText(QStringLiteral("   Attico panoramico"));
        C<QLineEdit>(s, "txtDidascalia")->setText(QStringLiteral("Terrazza"));
        C<QPlainTextEdit>(s, "txtNote")->setPlainText(QStringLiteral("prima\nseconda\n\n"));
        const QByteArray foto = JpegEsportazione(64, 48, 0x55aa33);
        const QString file = m_cartella.filePath(QStringLiteral("attico.jpg"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(foto);
        out.close();
        m_doppi.Dialoghi.ProssimoPercorso = file;
        QTest::mouseClick(C(s, "cmdFoto"), Qt::LeftButton);
        clic();
        QCOMPARE(ValoriWord(), QStringList({"A-9", "Attico panoramico", "", "", "", "", "", "",
                                            "prima\r\nseconda", "Terrazza"}));
        QCOMPARE(Leggi(bmp), foto);
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
        QVERIFY(m_doppi.Messaggi.Mostrati.isEmpty());
        // Nothing stored, nothing changed on the card.
        QCOMPARE(C<QLineEdit>(s, "txtAutore")->text(), QStringLiteral("   Attico panoramico"));
        QVERIFY(!s->Scheda().ID);
        QCOMPARE(s->Scheda().FotoInAttesa, file);
        TArchivio archivio(cat);
        archivio.ApriArchivio("SELECT COUNT(*) AS N FROM famiglia");
        QCOMPARE(archivio.Risultato() ? archivio.Risultato()->ColumnInteger(0) : 0, 0);

        // A program folder that cannot take the picture file.
        Piattaforma::ImpostaCartellaProgramma(m_cartella.filePath(QStringLiteral("non/esiste")));
        clic();
        QCOMPARE(m_doppi.Messaggi.Mostrati.size(), 1);
        QCOMPARE(m_doppi.Messaggi.Ultimo().Testo,
                 QString::fromUtf8("Si è verificato un errore imprevisto durante l'esportazione della scheda in "
                                   "Microsoft Word."));
        QCOMPARE(m_doppi.Cursore.Profondita, 0);
        s->hide();
    }
};

QTEST_MAIN(TestGuiEsportazione)
#include "test_gui_esportazione.moc"
