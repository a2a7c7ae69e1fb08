// The quick find and advanced search windows driven through their controls, from
// the record card windows of the program as started, with the seams doubled.
#include "app/Registro.h"
#include "card/RiquadroFoto.h"
#include "card/TfrmScheda.h"
#include "doubles/FintoStampante.h"
#include "find/ListaRisultati.h"
#include "find/TModelloElenco.h"
#include "find/TfrmRicerca.h"
#include "find/TfrmTrova.h"
#include "platform/Stampante.h"
#include "store/TScheda.h"
#include "store/Win1252.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct Carta {
    QString Titolo, Autore, Vani, Metri, Prezzo, Note;
};

// Cards written straight into the archive, as the program stores them.
void Inserisci(const char* tabella, const QList<Carta>& carte) {
    TArchivio a(*Categorie::PerTabella(QString::fromLatin1(tabella)));
    a.ApriArchivio();
    QByteArray sql = "INSERT INTO " + a.Tabella() + " (" + Statementi::ColonneElenco().mid(3) + ",Ext) VALUES (";
    for (int i = 0; i < NumeroCampiTesto; ++i) sql += "?,";
    sql += "'JPG')";
    for (const Carta& c : carte) {
        QList<QByteArray> v(NumeroCampiTesto);
        v[cTitolo] = Win1252::DaTesto(c.Titolo);
        v[cAutore] = Win1252::DaTesto(c.Autore);
        v[cCategoria] = Win1252::DaTesto(c.Vani);
        v[cData] = Win1252::DaTesto(c.Metri);
        v[cFotocamera] = Win1252::DaTesto(c.Prezzo);
        v[cNote] = Win1252::DaTesto(c.Note);
        a.Connessione()->Execute(sql, v);
    }
}

template <class T = QWidget> T* C(QWidget* w, const char* nome) {
    auto* c = w->findChild<T*>(QString::fromLatin1(nome));
    if (!c) qFatal("control %s missing in %s", nome, qPrintable(w->objectName()));
    return c;
}

} // namespace

class TestGuiTrova : public QObject {
    Q_OBJECT
    QTemporaryDir m_cartella;
    DoppiPiattaforma m_doppi;
    FintoMessaggi& m_messaggi = m_doppi.Messaggi;
    FintoStampante m_stampante;

    static TfrmScheda* Scheda(const char* radice) {
        return qobject_cast<TfrmScheda*>(Registro::Finestra(QStringLiteral("frm") + QLatin1String(radice)));
    }
    static TfrmTrova* Trova(const char* radice) {
        return qobject_cast<TfrmTrova*>(Registro::Finestra(QStringLiteral("frmTrova") + QLatin1String(radice)));
    }
    static TfrmRicerca* Ricerca(const char* radice) {
        return qobject_cast<TfrmRicerca*>(Registro::Finestra(QStringLiteral("frmRicerca") + QLatin1String(radice)));
    }
    static ListaRisultati* Lista(QWidget* w) { return C<ListaRisultati>(w, "lstRecords"); }
    static QStringList Righe(QWidget* w) { return Lista(w)->Modello()->Righe(); }
    static QString Testo(QWidget* w, const char* nome) {
        if (auto* t = w->findChild<QLineEdit*>(QString::fromLatin1(nome))) return t->text();
        return C<QLabel>(w, nome)->text();
    }
    static void Clic(QWidget* w, const char* nome) { QTest::mouseClick(C(w, nome), Qt::LeftButton); }
    static void Scrivi(QWidget* w, const char* nome, const QString& t) { C<QLineEdit>(w, nome)->setText(t); }
    static void ScegliCriterio(QWidget* w, int indice) {
        auto* cbo = C<QComboBox>(w, "cboCriterio");
        cbo->setCurrentIndex(indice);
        emit cbo->activated(indice);
    }
    static void DoppioClic(QWidget* w, int riga) {
        ListaRisultati* l = Lista(w);
        const QRect r = l->visualRect(l->Modello()->index(riga));
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Opens the child from its card window with a click on the command, runs the
    // steps inside the modal window, and closes it if they did not.
    void DallaScheda(TfrmScheda* scheda, const char* comando, QWidget* figlia, const std::function<void()>& passi) {
        bool eseguiti = false;
        QTimer::singleShot(0, this, [&] {
            eseguiti = QApplication::activeModalWidget() == figlia && QTest::qWaitForWindowActive(figlia);
            if (eseguiti) passi();
            if (figlia->isVisible()) figlia->close();
        });
        QTest::mouseClick(C(scheda, comando), Qt::LeftButton);
        QVERIFY2(eseguiti, "the child window was not shown modally");
        QVERIFY(!figlia->isVisible());
    }

    void Azzera() {
        for (const TCategoria& c : Categorie::Tutte())
            SvuotaArchivio(m_cartella.filePath(QString::fromLatin1(c.FileArchivio)));
    }

private slots:
    void initTestCase() {
        AvviaProgramma(m_doppi, m_cartella.path());
        Piattaforma::Imposta(&m_stampante);
    }
    void init() {
        for (QWidget* w : Registro::Tutte()) w->hide();
        Azzera();
        m_messaggi.Azzera();
        m_stampante = FintoStampante();
    }
    void cleanup() { QCOMPARE(m_doppi.Cursore.Profondita, 0); }
    void cleanupTestCase() {
        Piattaforma::Imposta(static_cast<IStampante*>(nullptr));
        Registro::DistruggiFinestre();
    }

    void finestreEControlli() {
        for (const TCategoria& c : Categorie::Tutte()) {
            auto* t = qobject_cast<TfrmTrova*>(Registro::Finestra(c.NomeFinestra("Trova")));
            auto* r = qobject_cast<TfrmRicerca*>(Registro::Finestra(c.NomeFinestra("Ricerca")));
            QVERIFY(t && r);
            QCOMPARE(&t->Categoria(), &c);
            QCOMPARE(&r->Categoria(), &c);
            QCOMPARE(C<QLabel>(r, "lblTitolo")->text(), c.TitoloRicerca());
        }
        TfrmTrova* t = Trova("Amici");
        QCOMPARE(t->windowTitle(), QStringLiteral(" Trova scheda in archivio"));
        QCOMPARE(t->size(), QSize(783, 505));
        QCOMPARE(t->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(C(t, "cboCriterio")->geometry(), QRect(236, 38, 480, 24));
        QCOMPARE(C(t, "lstRecords")->geometry(), QRect(16, 104, 714, 110));
        QCOMPARE(C(t, "btnChiudi")->geometry(), QRect(656, 465, 109, 26));
        QStringList voci;
        for (int i = 0; i < C<QComboBox>(t, "cboCriterio")->count(); ++i) voci << C<QComboBox>(t, "cboCriterio")->itemText(i);
        QCOMPARE(voci, QStringList({"Riferimento", "Descrizione", "Ubicazione", "Vani", "Metri quadri", "Prezzo",
                                    "Classe energetica", "Condizioni", "Note", "Didascalia"}));
        QCOMPARE(C<QComboBox>(t, "cboCriterio")->currentIndex(), 0);
        QCOMPARE(C(t, "cboCriterio")->focusPolicy(), Qt::ClickFocus);
        QVERIFY(!C(t, "btnPopola")->isEnabled());
        QCOMPARE(Lista(t)->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(Lista(t)->font().pixelSize(), 11);
        QCOMPARE(Lista(t)->Estensione(), 1500);

        TfrmRicerca* r = Ricerca("Scuola");
        QCOMPARE(r->windowTitle(), QStringLiteral(" Ricerca avanzata"));
        QCOMPARE(C<QLabel>(r, "lblTitolo")->text(), QStringLiteral("Ricerca foto ville e villini"));
        QCOMPARE(C(r, "grpCriteri")->geometry(), QRect(14, 8, 749, 441));
        QCOMPARE(C(r, "grpElenco")->geometry(), QRect(14, 8, 749, 441));
        QCOMPARE(C(r, "txtAlbum")->geometry(), QRect(512, 232, 193, 21));
        QCOMPARE(C(r, "txtSoggetti")->geometry(), QRect(322, 372, 181, 21));
        QCOMPARE(C(r, "lblCampo06")->geometry().topLeft(), QPoint(512, 284));
        QCOMPARE(C<QLabel>(r, "lblCampo09")->text(), QStringLiteral("Note:"));
        QVERIFY(C(r, "lblMemory")->isHidden());
    }

    void ricercaRapidaDallaScheda() {
        Inserisci("amici", {{"R9", "Monolocale", "1", "30", "125.000", ""},
                            {"R10", "Bilocale", "2", "50", "250.000", ""},
                            {"R11", "Attico", "4", "120", "1.200.000", ""},
                            {"B2", "Box", "", "15", "25.000", ""}});
        TfrmScheda* scheda = Scheda("Amici");
        scheda->show();
        Clic(scheda, "imgUltimo");
        QCOMPARE(Testo(scheda, "lblPosizione"), QStringLiteral("4"));
        TfrmTrova* t = Trova("Amici");
        // Picking a criterion enables the button with an empty key; an empty key lists every card.
        DallaScheda(scheda, "cmdTrova", t, [&] {
            QVERIFY(Testo(scheda, "lblPosizione").isEmpty()); // the card was given up first
            QCOMPARE(Testo(t, "LabelCount"), QStringLiteral("Totale schede : 0"));
            QCOMPARE(QApplication::focusWidget(), C(t, "txtCriterio"));
            ScegliCriterio(t, 5); // Prezzo
            QVERIFY(C(t, "btnPopola")->isEnabled());
            Clic(t, "btnPopola");
            QCOMPARE(Righe(t).size(), 4);
            QCOMPARE(Testo(t, "LabelCount"), QStringLiteral("Totale schede : 4"));
            // Sorted by the whole line: reference 10 before 9.
            QVERIFY(Righe(t)[0].startsWith(QStringLiteral("Rif. B2 ")));
            QVERIFY(Righe(t)[1].startsWith(QStringLiteral("Rif. R10 ")));
            QVERIFY(Righe(t)[3].startsWith(QStringLiteral("Rif. R9 ")));
            // The key rule: an empty key disables, blanks count as text; the key is trimmed.
            Scrivi(t, "txtCriterio", QStringLiteral("x"));
            Scrivi(t, "txtCriterio", QString());
            QVERIFY(!C(t, "btnPopola")->isEnabled());
            Scrivi(t, "txtCriterio", QStringLiteral(" 25 "));
            QVERIFY(C(t, "btnPopola")->isEnabled());
            Clic(t, "btnPopola");
            QCOMPARE(Righe(t).size(), 3);
            // A double click opens that card in the record card window and closes this one.
            DoppioClic(t, 1); // R10
        });
        QCOMPARE(Testo(scheda, "lblPosizione"), QStringLiteral("2"));
        QCOMPARE(Testo(scheda, "txtTitolo"), QStringLiteral("R10"));
        QCOMPARE(Testo(scheda, "txtFotocamera"), QStringLiteral("250.000"));
        QCOMPARE(C<RiquadroFoto>(scheda, "imgFoto")->Foto().Byte(), scheda->FotoCampione().Byte());
        QVERIFY(m_messaggi.Mostrati.isEmpty());
        // The card is a stored card: stepping goes on from it.
        Clic(scheda, "imgAvanti");
        QCOMPARE(Testo(scheda, "txtTitolo"), QStringLiteral("R11"));

        // Closed without a choice: the card window keeps its cleared card.
        DallaScheda(scheda, "cmdTrova", t, [&] {
            // Criterion and key kept; the list and the in-list key emptied at the showing.
            QCOMPARE(C<QComboBox>(t, "cboCriterio")->currentText(), QStringLiteral("Prezzo"));
            QCOMPARE(Testo(t, "txtCriterio"), QStringLiteral(" 25 "));
            QVERIFY(C(t, "btnPopola")->isEnabled());
            QVERIFY(Righe(t).isEmpty());
            QVERIFY(Testo(t, "txtTrova").isEmpty());
            Clic(t, "btnPopola");
            Clic(t, "btnChiudi");
        });
        QVERIFY(Testo(scheda, "lblPosizione").isEmpty());
        QVERIFY(Testo(scheda, "txtTitolo").isEmpty());
        // Closing put the archive's first card back as the window's result table.
        QCOMPARE(t->Ricerca().Risultato()->Count(), 1u);
        QCOMPARE(t->Ricerca().Risultato()->ColumnInteger(0), 1);
    }

    void trovaNellaLista() {
        TfrmTrova* t = Trova("Famiglia");
        t->show();
        Clic(t, "btnTrova");
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Semplice);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Tegolario"));

        Inserisci("famiglia", {{"A1", "con AB", "", "", "", ""}, {"A2", "no", "", "", "", ""},
                               {"A3", "ab qui", "", "", "", ""}, {"A4", "no", "", "", "", ""},
                               {"A5", "no", "", "", "", ""}});
        ScegliCriterio(t, 0);
        Clic(t, "btnPopola");
        Scrivi(t, "txtTrova", QStringLiteral("ab"));
        const int attese[] = {0, 2, 0};
        for (int attesa : attese) {
            Clic(t, "btnTrova");
            QCOMPARE(Lista(t)->Selezionata(), attesa);
        }
        QCOMPARE(t->UltimaChiave(), QStringLiteral("ab"));
        // A new search keeps the last key: the first line is tested last.
        Clic(t, "btnPopola");
        Clic(t, "btnTrova");
        QCOMPARE(Lista(t)->Selezionata(), 2);
        // Showing again resets it.
        t->hide();
        t->show();
        QVERIFY(t->UltimaChiave().isEmpty());
        Clic(t, "btnPopola");
        Scrivi(t, "txtTrova", QStringLiteral("ab"));
        Clic(t, "btnTrova");
        QCOMPARE(Lista(t)->Selezionata(), 0);
        t->close();
    }

    void ricercaAvanzataDallaScheda() {
        Inserisci("amici", {{"C1", "Con BAGNO doppio", "3", "90", "", "posto box auto"},
                            {"C2", "con bagno", "3", "90", "", "senza box"},
                            {"C3", "cucina", "3", "90", "", "Box Auto coperto"}});
        TfrmScheda* scheda = Scheda("Amici");
        scheda->show();
        TfrmRicerca* r = Ricerca("Amici");
        DallaScheda(scheda, "cmdRicerca", r, [&] {
            QCOMPARE(Testo(r, "lblMemory"), QStringLiteral("amici"));
            QVERIFY(!r->PaginaRisultati());
            QVERIFY(!C(r, "cmdIndietro")->isEnabled() && !C(r, "cmdStampa")->isEnabled());
            QVERIFY(C(r, "cmdTrova")->isEnabled());
            QVERIFY(C(r, "LabelCount")->isHidden());
            // Enter visits the nine boxes once and comes back to the first.
            const char* ordine[] = {"txtTitolo", "txtAutore", "txtAlbum", "txtCategoria", "txtData",
                                    "txtFotocamera", "txtLuogo", "txtSoggetti", "txtNote", "txtTitolo"};
            for (int i = 0; i < 9; ++i) {
                QCOMPARE(QApplication::focusWidget(), C(r, ordine[i]));
                QCOMPARE(C(r, ordine[i])->palette().color(QPalette::Base), QColor(255, 255, 0));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            QCOMPARE(QApplication::focusWidget(), C(r, ordine[9]));
            QCOMPARE(C(r, "txtNote")->palette().color(QPalette::Base), QColor(192, 220, 192));

            Scrivi(r, "txtAutore", QStringLiteral("bagno"));
            Scrivi(r, "txtNote", QStringLiteral("box auto"));
            Clic(r, "cmdTrova");
            QVERIFY(r->PaginaRisultati());
            QVERIFY(!C(r, "cmdTrova")->isEnabled() && C(r, "cmdIndietro")->isEnabled() && C(r, "cmdStampa")->isEnabled());
            QCOMPARE(QApplication::focusWidget(), C(r, "txtTrova"));
            QCOMPARE(Righe(r).size(), 1);
            QVERIFY(Righe(r)[0].startsWith(QStringLiteral("Rif. C1 ")));
            QCOMPARE(Testo(r, "LabelCount"), QStringLiteral("Totale schede : 1"));
            QCOMPARE(Lista(r)->Estensione(), 3000);
            // Back keeps the criteria; the same search lists the same cards.
            Clic(r, "cmdIndietro");
            QVERIFY(!r->PaginaRisultati() && Righe(r).isEmpty());
            QCOMPARE(Testo(r, "txtNote"), QStringLiteral("box auto"));
            Clic(r, "cmdTrova");
            QCOMPARE(Righe(r).size(), 1);
            // A double quote is just a character.
            Clic(r, "cmdIndietro");
            Scrivi(r, "txtNote", QStringLiteral("\""));
            Clic(r, "cmdTrova");
            QVERIFY(Righe(r).isEmpty());
            QCOMPARE(Testo(r, "LabelCount"), QStringLiteral("Totale schede : 0"));
            Clic(r, "cmdTrova02");
            QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
            QCOMPARE(m_messaggi.Mostrati.size(), 1);
            Clic(r, "cmdIndietro");
            Scrivi(r, "txtAutore", QString());
            Scrivi(r, "txtNote", QString());
            Clic(r, "cmdTrova");
            QCOMPARE(Righe(r).size(), 3);
            DoppioClic(r, 2);
        });
        QCOMPARE(Testo(scheda, "txtTitolo"), QStringLiteral("C3"));
        QCOMPARE(Testo(scheda, "lblPosizione"), QStringLiteral("3"));
        // Shown again: the criteria page, with the boxes as they were.
        DallaScheda(scheda, "cmdRicerca", r, [&] {
            QVERIFY(!r->PaginaRisultati());
            QCOMPARE(QApplication::focusWidget(), C(r, "txtTitolo"));
            Scrivi(r, "txtTrova", QStringLiteral("c"));
            Clic(r, "cmdTrova");
            QVERIFY(Testo(r, "txtTrova").isEmpty());
        });
        QVERIFY(Testo(scheda, "lblPosizione").isEmpty());
    }

    void ricercaAvanzataUltimaChiaveEArchivioVuoto() {
        TfrmRicerca* r = Ricerca("Lavoro");
        C<QLabel>(r, "lblMemory")->setText(QStringLiteral("lavoro"));
        r->show();
        Clic(r, "cmdTrova"); // no archive yet: created, nothing listed
        QVERIFY(r->PaginaRisultati());
        QCOMPARE(Testo(r, "LabelCount"), QStringLiteral("Totale schede : 0"));
        Clic(r, "cmdStampa");
        QCOMPARE(m_messaggi.Ultimo().Testo,
                 QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));
        QCOMPARE(m_stampante.Iniziati, 0);
        r->close();

        Inserisci("lavoro", {{"N1", "x", "", "", "", ""}, {"N2", "x", "", "", "", ""}});
        r->show();
        Clic(r, "cmdTrova");
        Scrivi(r, "txtTrova", QStringLiteral("rif"));
        Clic(r, "cmdTrova02");
        QCOMPARE(Lista(r)->Selezionata(), 0);
        r->close();
        // The last find key survives closing: the same key now starts below the first line.
        r->show();
        Clic(r, "cmdTrova");
        QCOMPARE(r->UltimaChiave(), QStringLiteral("rif"));
        Scrivi(r, "txtTrova", QStringLiteral("rif"));
        Clic(r, "cmdTrova02");
        QCOMPARE(Lista(r)->Selezionata(), 1);
        r->close();
    }

    void carteConRigheUguali() {
        Inserisci("amici", {{"D1", "uguale", "2", "50", "", "prima"}, {"D1", "uguale", "2", "50", "", "seconda"}});
        TfrmScheda* scheda = Scheda("Amici");
        scheda->show();
        DallaScheda(scheda, "cmdTrova", Trova("Amici"), [&] {
            TfrmTrova* t = Trova("Amici");
            ScegliCriterio(t, 0);
            Scrivi(t, "txtCriterio", QStringLiteral("D1"));
            Clic(t, "btnPopola");
            QCOMPARE(Righe(t).size(), 2);
            DoppioClic(t, 1);
        });
        // Either line opens the first card of the result.
        QCOMPARE(Testo(scheda, "lblPosizione"), QStringLiteral("1"));
        QCOMPARE(C<QPlainTextEdit>(scheda, "txtNote")->toPlainText(), QStringLiteral("prima"));
    }

    void ogniCategoriaNellaPropriaScheda() {
        Inserisci("sposi", {{"G1", "Garage", "", "", "", ""}});
        Inserisci("amici", {{"G1", "Garage", "", "", "", ""}});
        TfrmScheda* box = Scheda("Sposi");
        TfrmScheda* amici = Scheda("Amici");
        amici->show();
        Clic(amici, "cmdNuovo");
        box->show();
        TfrmRicerca* r = Ricerca("Sposi");
        DallaScheda(box, "cmdRicerca", r, [&] {
            QCOMPARE(Testo(r, "lblMemory"), QStringLiteral("sposi"));
            Clic(r, "cmdTrova");
            DoppioClic(r, 0);
        });
        QCOMPARE(Testo(box, "txtTitolo"), QStringLiteral("G1"));
        QVERIFY(Testo(amici, "txtTitolo").isEmpty());

        // A category key that is not the window's own: the window closes, nothing is loaded.
        box->show();
        DallaScheda(box, "cmdRicerca", r, [&] {
            C<QLabel>(r, "lblMemory")->setText(QStringLiteral("amici"));
            Clic(r, "cmdTrova");
            DoppioClic(r, 0);
            QVERIFY(!r->isVisible());
        });
        QVERIFY(Testo(box, "txtTitolo").isEmpty());
        QVERIFY(Testo(amici, "txtTitolo").isEmpty());

        DallaScheda(box, "cmdTrova", Trova("Sposi"), [&] {
            QVERIFY(!C(Trova("Sposi"), "btnPopola")->isEnabled()); // as at program start
            ScegliCriterio(Trova("Sposi"), 0);
            Clic(Trova("Sposi"), "btnPopola");
            DoppioClic(Trova("Sposi"), 0);
        });
        QCOMPARE(Testo(box, "lblPosizione"), QStringLiteral("1"));
        QVERIFY(Testo(amici, "lblPosizione").isEmpty());
    }

    void doppioClicSenzaScelteOCartaSparita() {
        Inserisci("vacanze", {{"U1", "Ufficio", "", "", "", ""}, {"U2", "Ufficio", "", "", "", ""}});
        TfrmTrova* t = Trova("Vacanze");
        t->show();
        ScegliCriterio(t, 1);
        Clic(t, "btnPopola");
        // A double click with no line selected does nothing.
        const QRect ultima = Lista(t)->visualRect(Lista(t)->Modello()->index(1));
        QTest::mouseDClick(Lista(t)->viewport(), Qt::LeftButton, {}, ultima.bottomLeft() + QPoint(5, 30));
        QVERIFY(t->isVisible());
        QCOMPARE(Lista(t)->Selezionata(), -1);
        // A listed card deleted meanwhile by someone else: said, and the window stays.
        TArchivio a(*Categorie::PerTabella(QStringLiteral("vacanze")));
        a.ApriArchivio();
        a.Connessione()->Execute("DELETE FROM vacanze WHERE ID=2");
        DoppioClic(t, 1);
        QVERIFY(t->isVisible());
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Avviso);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Apertura scheda non riuscita"));
        DoppioClic(t, 0);
        QVERIFY(!t->isVisible());
        QCOMPARE(Testo(Scheda("Vacanze"), "txtTitolo"), QStringLiteral("U1"));
    }

    void erroriDellArchivio() {
        // Not a database: the search reports the access layer's error, the list stays empty.
        QFile f(m_cartella.filePath(QStringLiteral("Negozi.db")));
        TfrmTrova* t = Trova("Lavoro");
        t->show();
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z'));
        f.close();
        ScegliCriterio(t, 0);
        Clic(t, "btnPopola");
        QCOMPARE(m_messaggi.Mostrati.size(), 1);
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QVERIFY(Righe(t).isEmpty());
        QCOMPARE(Testo(t, "LabelCount"), QStringLiteral("Totale schede : 0"));
        t->close(); // closing ignores the same error

        TfrmRicerca* r = Ricerca("Lavoro");
        r->show();
        Clic(r, "cmdTrova");
        QCOMPARE(m_messaggi.Mostrati.size(), 2);
        QVERIFY(!r->PaginaRisultati());
        r->close();

        // The card window cannot re-open its archive: the find window is not shown.
        TfrmScheda* scheda = Scheda("Lavoro");
        scheda->show();
        m_messaggi.Azzera();
        bool mostrata = false;
        QTimer::singleShot(0, this, [&] {
            mostrata = QApplication::activeModalWidget() != nullptr;
            if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
        });
        Clic(scheda, "cmdTrova");
        QVERIFY(!mostrata);
        QVERIFY(!t->isVisible());
        QApplication::processEvents();
        scheda->hide();
    }

    void stampa() {
        Inserisci("celebrazioni", {{"Z9", "Deposito", "", "", "", ""}, {"A1", "Magazzino", "", "", "", ""}});
        TfrmTrova* t = Trova("Celebrazioni");
        t->show();
        Clic(t, "btnStampa");
        QCOMPARE(m_messaggi.Ultimo().Testo,
                 QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));
        ScegliCriterio(t, 0);
        Clic(t, "btnPopola");
        m_messaggi.Azzera();
        m_messaggi.ImpostaProssimaRisposta(Risposta::No);
        Clic(t, "btnStampa");
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Domanda);
        QCOMPARE(m_messaggi.Ultimo().Caption, QStringLiteral("Conferma operazione di stampa"));
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Si vuole stampare l'elenco corrente?"));
        QCOMPARE(m_stampante.Iniziati, 0);

        m_doppi.Orologio.Ora = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2));
        Clic(t, "btnStampa");
        QCOMPARE(m_stampante.Terminati, 1);
        const QStringList testi = m_stampante.Testi();
        QCOMPARE(testi, QStringList({QString(23, '-'), QStringLiteral("Elenco foto depositi"), QString(23, '-'),
                                     Righe(t)[0], Righe(t)[1], QString(20, '_'),
                                     QStringLiteral("Stampa eseguita in data 05/03/2024 alle ore 09:07:02")}));
        QVERIFY(testi[3].startsWith(QStringLiteral("Rif. A1 "))); // the list's sorted order
        QVERIFY(m_doppi.Cursore.Volte > 0);

        // No printer: the error box says so, and the list stays.
        m_stampante.Assente = true;
        Clic(t, "btnStampa");
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::Errore);
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Nessuna stampante installata."));
        QCOMPARE(Righe(t).size(), 2);
        t->close();

        Inserisci("scuola", {{"V1", "Villa", "", "", "", ""}});
        TfrmRicerca* r = Ricerca("Scuola");
        r->show();
        Clic(r, "cmdTrova");
        m_stampante = FintoStampante();
        Clic(r, "cmdStampa");
        QCOMPARE(m_messaggi.Ultimo().Tipo, TipoMessaggio::DomandaConIcona);
        QCOMPARE(m_messaggi.Ultimo().Testo, QStringLiteral("Si vuole stampare il presente elenco?"));
        QCOMPARE(m_stampante.Testi().mid(0, 3),
                 QStringList({QString(17, '-'), QStringLiteral("Elenco foto ville e villini"), QString(17, '-')}));
        r->close();
    }

    void disegnoDellaLista() {
        QStringList righe;
        for (int i = 0; i < 10000; ++i) righe << QStringLiteral("Rif. %1").arg(i, 5, 10, QLatin1Char('0'));
        TfrmTrova* t = Trova("Hobby");
        t->show();
        ListaRisultati* l = Lista(t);
        l->Modello()->Imposta(righe);
        l->Seleziona(0);
        QApplication::processEvents();
        QCOMPARE(l->visualRect(l->Modello()->index(1)).top() - l->visualRect(l->Modello()->index(0)).top(), 14);
        QCOMPARE(l->horizontalScrollBar()->maximum(), 1500 - l->viewport()->width());
        const QImage img = l->viewport()->grab().toImage();
        QCOMPARE(img.pixelColor(l->viewport()->width() - 5, 14 + 7), QColor(192, 220, 192)); // a plain row
        QCOMPARE(img.pixelColor(l->viewport()->width() - 5, 7), l->palette().color(QPalette::Active, QPalette::Highlight));
        // Black text, from 2 pixels in.
        bool inchiostro = false;
        for (int y = 14; y < 28 && !inchiostro; ++y)
            for (int x = 0; x < 12; ++x)
                if (img.pixelColor(x, y).lightness() < 60) {
                    inchiostro = true;
                    QVERIFY(x >= 2);
                }
        QVERIFY(inchiostro);
        t->close();
    }
};

QTEST_MAIN(TestGuiTrova)
#include "test_gui_trova.moc"
