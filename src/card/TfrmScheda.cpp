#include "card/TfrmScheda.h"

#include "card/FinestreScheda.h"
#include "card/TfrmAllegaCartella.h"
#include "card/TfrmAllegaFile.h"
#include "card/TfrmZoom.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "widgets/Testo1252.h"
#include "platform/Piattaforma.h"
#include "store/FotoVicine.h"
#include "store/Testo.h"
#include "ui_TfrmScheda.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>

namespace {

const char* const TitoloApriFoto = "Selezionare una foto in formato JPEG e premere Apri";
const char* const TitoloSalvaFoto = "Salva foto in formato JPEG";
const char* const FiltroFoto = "File JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg;|JPG (*.jpg)|*.jpg|JPEG (*.jpeg)|*.jpeg";

struct Suggerimento {
    const char* Comando;
    const char* Testo;
};

const Suggerimento Suggerimenti[] = {
    {"cmdNuovo", " Prepara la schermata ad accogliere una nuova scheda."},
    {"cmdDuplica", " Prepara la schermata ad accogliere una nuova scheda duplicando i dati della scheda corrente."},
    {"cmdSalva", " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente."},
    {"cmdTrova", " Cerca una scheda in archivio in base ai dati contenuti in un singolo campo di testo."},
    {"cmdRicerca", " Effettua una ricerca avanzata in archivio utilizzando più campi contemporaneamente."},
    {"cmdWord", " Esporta la scheda corrente in un file di Microsoft Word."},
    {"cmdExcel", " Esporta l'archivio corrente in un foglio di Microsoft Excel."},
    {"cmdAllega", " Allega file esterni alla scheda corrente."},
    {"cmdAssocia", " Associa una cartella alla scheda corrente."},
    {"cmdOttimizza", " Ottimizza le dimensioni dell'archivio eliminando lo spazio inutilizzato."},
    {"cmdSfogliaFoto", " Sfoglia le foto con il visualizzatore."},
    {"imgPrimo", " Visualizza la prima scheda in archivio."},
    {"imgIndietro", " Visualizza la scheda precedente in archivio."},
    {"imgAvanti", " Visualizza la scheda successiva in archivio."},
    {"imgUltimo", " Visualizza l'ultima scheda in archivio"},
    {"cmdSlideshow", " Esegui lo slideshow delle foto presenti nell'archivio corrente."},
    {"cmdGuida", " Visualizza la pagina della guida relativa a questa schermata di lavoro."},
    {"cmdElimina", " Elimina dall'archivio la scheda corrente."},
    {"cmdEsci", " Esci dalla schermata di lavoro corrente."},
    {"imgZoom", " Visualizza la foto corrente a schermo intero."},
    {"cmdFoto", " Carica una foto in formato Jpeg da abbinare alla scheda corrente."},
    {"cmdSalvaFoto", " Salva su disco la foto corrente in formato Jpeg."},
};

// Picture of each command button, from the command pictures.
const std::pair<const char*, const char*> Immagini[] = {
    {"cmdNuovo", "nuovo"},       {"cmdDuplica", "duplica"},     {"cmdSalva", "salva"},
    {"cmdTrova", "trova"},       {"cmdRicerca", "ricerca"},     {"cmdWord", "word"},
    {"cmdExcel", "excel"},       {"cmdAllega", "allega"},       {"cmdAssocia", "associa"},
    {"cmdOttimizza", "ottimizza"}, {"cmdSfogliaFoto", "sfogliafoto"}, {"imgPrimo", "primo"},
    {"imgIndietro", "indietro"}, {"imgAvanti", "avanti"},       {"imgUltimo", "ultimo"},
    {"cmdSlideshow", "slideshow"}, {"cmdGuida", "guida"},       {"cmdElimina", "elimina"},
    {"cmdEsci", "esci"},         {"imgZoom", "zoom"},
};

TFoto LeggiCampione(const TCategoria& categoria) {
    QFile f(categoria.FotoCampione());
    return f.open(QIODevice::ReadOnly) ? TFoto::DaByte(f.readAll()) : TFoto();
}

// The notes box works with "\n"; the archive keeps Windows line ends.
QString TestoDaNote(const QString& s) {
    QString t = s;
    return t.replace(QLatin1String("\n"), QLatin1String("\r\n"));
}
QString TestoInNote(const QString& s) {
    QString t = s;
    return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

TfrmScheda::TfrmScheda(const TCategoria& categoria, QWidget* parent)
    : QWidget(parent), m_categoria(categoria), ui(new Ui::TfrmScheda), m_archivio(categoria),
      m_operazioni(m_archivio, m_scheda, LeggiCampione(categoria)) {
    ui->setupUi(this);
    setObjectName(categoria.NomeFinestra());
    setWindowTitle(categoria.CaptionScheda());
    m_operazioni.FocusTitolo = [this] { ui->txtTitolo->setFocus(Qt::OtherFocusReason); };
    m_operazioni.MostraScheda = [this] { SchedaInControlli(); };
    m_operazioni.FotoDaByte = [this](qint64 id, const QByteArray& byte) {
        return m_anticipo.Foto(id, byte, ui->imgFoto->BoxDispositivo());
    };
    m_anticipa = new QTimer(this);
    m_anticipa->setSingleShot(true);
    m_anticipa->setInterval(0);
    connect(m_anticipa, &QTimer::timeout, this, &TfrmScheda::Anticipa);
    // On a screen of another scale the neighbours are wanted at another size.
    connect(ui->imgFoto, &RiquadroFoto::scalaCambiata, m_anticipa, qOverload<>(&QTimer::start));
    Aspetto();
    Collega();
    m_operazioni.PulisciScheda();
    SchedaInControlli();
}

TfrmScheda::~TfrmScheda() = default;

void TfrmScheda::Aspetto() {
    resize(1022, 704);
    setMinimumSize(1022, 704);
    Massimizza(this);
    setFont(Carattere(QStringLiteral("Tahoma"), 11, false));
    PiastrellaSfondo(this, QPixmap());
    new Centratore(this, ui->grpContainer, 8, 18);

    Colora(ui->grpContainer, QPalette::Window, Qt::white);
    ui->grpContainer->setAutoFillBackground(true);
    for (QFrame* p : {ui->panFoto, ui->panSalvaFoto}) {
        Colora(p, QPalette::Window, QColor(226, 226, 226));
        p->setAutoFillBackground(true);
    }
    Colora(ui->panTitolo, QPalette::Window, Qt::black);
    ui->panTitolo->setAutoFillBackground(true);
    ui->panTitolo->setLineWidth(1);
    Colora(ui->panCampi, QPalette::Window, Qt::white);
    ui->panCampi->setAutoFillBackground(true);

    ui->panInfo->setFont(Carattere(QStringLiteral("Verdana"), 11, false));
    Colora(ui->panInfo, QPalette::Window, QColor(0, 0, 128));
    Colora(ui->panInfo, QPalette::WindowText, Qt::white);
    ui->panInfo->setAutoFillBackground(true);
    ui->panInfo->setTextFormat(Qt::PlainText);

    ui->lblPosizione->setFont(Carattere(QStringLiteral("Verdana"), 13, true));

    const QFont etichetta = Carattere(QStringLiteral("Verdana"), 11, false);
    const QFont casella = Carattere(QStringLiteral("Verdana"), 11, true);
    for (QLabel* l : ui->panCampi->findChildren<QLabel*>()) l->setFont(etichetta);
    ui->lblDidascalia->setFont(etichetta);

    // The ten boxes in the order of Tab and Enter.
    QWidget* caselle[] = {ui->txtTitolo, ui->txtAutore, ui->txtAlbum, ui->txtCategoria, ui->txtData,
                          ui->txtFotocamera, ui->txtLuogo, ui->txtSoggetti, ui->txtNote, ui->txtDidascalia};
    m_colori = new ColoriFuoco(this, ColoriFuoco::VerdeChiaro());
    for (QWidget* c : caselle) {
        c->setFont(casella);
        c->setFocusPolicy(Qt::StrongFocus);
        m_colori->Aggiungi(c);
        if (auto* riga = qobject_cast<QLineEdit*>(c)) {
            Testo1252::CasellaTesto(riga);
            riga->installEventFilter(this);
        }
    }
    for (int i = 0; i + 1 < 10; ++i) setTabOrder(caselle[i], caselle[i + 1]);
    for (int i = 0; i < 8; ++i) m_invioSuccessivo.insert(caselle[i], caselle[i + 1]);
    m_invioSuccessivo.insert(ui->txtDidascalia, ui->txtTitolo);
    ui->txtNote->setTabChangesFocus(true);
    ui->txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui->txtNote->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // Fields that are never visible: they hold the card's values.
    for (int i = cFile01; i <= cCartellaDesc; ++i) {
        auto* l = static_cast<QLabel*>(Controllo(i));
        l->setTextFormat(Qt::PlainText);
        l->hide();
    }
    ui->txtFoto->hide();
    ui->txtFoto->setFocusPolicy(Qt::NoFocus);
    ui->imgTemp->hide();

    for (QPushButton* b : {ui->cmdFoto, ui->cmdSalvaFoto}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::PointingHandCursor);
    }

    const TFoto& campione = m_operazioni.Campione();
    ui->imgTemp->ImpostaFoto(campione);
    ui->imgFoto->ImpostaRiserva(campione);

    m_suggerimenti = new StrisciaSuggerimenti(ui->panInfo);
    for (const Suggerimento& s : Suggerimenti)
        if (auto* w = findChild<QWidget*>(QString::fromLatin1(s.Comando)))
            m_suggerimenti->Comando(w, QString::fromUtf8(s.Testo));
    QList<QWidget*> sfondi = {ui->panFoto, ui->panSalvaFoto, ui->panTitolo, ui->panCampi, ui->panInfo, ui->imgFoto, ui->imgTitolo};
    for (QGroupBox* g : findChildren<QGroupBox*>()) sfondi.append(g);
    sfondi.append(this);
    for (QWidget* w : std::as_const(sfondi)) m_suggerimenti->Svuota(w);
}

void TfrmScheda::Collega() {
    connect(ui->cmdNuovo, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdNuovoClick);
    connect(ui->cmdDuplica, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdDuplicaClick);
    connect(ui->cmdSalva, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdSalvaClick);
    connect(ui->cmdElimina, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdEliminaClick);
    connect(ui->imgPrimo, &PulsanteImmagine::clicked, this, &TfrmScheda::imgPrimoClick);
    connect(ui->imgIndietro, &PulsanteImmagine::clicked, this, &TfrmScheda::imgIndietroClick);
    connect(ui->imgAvanti, &PulsanteImmagine::clicked, this, &TfrmScheda::imgAvantiClick);
    connect(ui->imgUltimo, &PulsanteImmagine::clicked, this, &TfrmScheda::imgUltimoClick);
    connect(ui->cmdOttimizza, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdOttimizzaClick);
    connect(ui->cmdEsci, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdEsciClick);
    connect(ui->cmdFoto, &QPushButton::clicked, this, &TfrmScheda::cmdFotoClick);
    connect(ui->cmdSalvaFoto, &QPushButton::clicked, this, &TfrmScheda::cmdSalvaFotoClick);
    connect(ui->imgZoom, &PulsanteImmagine::clicked, this, &TfrmScheda::imgZoomClick);
    connect(ui->cmdTrova, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdTrovaClick);
    connect(ui->cmdRicerca, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdRicercaClick);
    connect(ui->cmdWord, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdWordClick);
    connect(ui->cmdExcel, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdExcelClick);
    connect(ui->cmdAllega, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdAllegaClick);
    connect(ui->cmdAssocia, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdAssociaClick);
    connect(ui->cmdSfogliaFoto, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdSfogliaFotoClick);
    connect(ui->cmdSlideshow, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdSlideshowClick);
    connect(ui->cmdGuida, &PulsanteImmagine::clicked, this, &TfrmScheda::cmdGuidaClick);
}

QWidget* TfrmScheda::Controllo(int campo) const {
    return findChild<QWidget*>(QString::fromLatin1(CampiTesto[campo].Controllo));
}

void TfrmScheda::ControlliInScheda() {
    for (int i = 0; i < NumeroCampiTesto; ++i) {
        QWidget* w = Controllo(i);
        if (auto* r = qobject_cast<QLineEdit*>(w))
            m_scheda.Testi[i] = r->text();
        else if (auto* n = qobject_cast<QPlainTextEdit*>(w))
            m_scheda.Testi[i] = TestoDaNote(n->toPlainText());
        else if (auto* l = qobject_cast<QLabel*>(w))
            m_scheda.Testi[i] = l->text();
    }
    m_scheda.FotoInAttesa = ui->txtFoto->text();
}

void TfrmScheda::SchedaInControlli() {
    for (int i = 0; i < NumeroCampiTesto; ++i) {
        QWidget* w = Controllo(i);
        const QString& t = m_scheda.Testi[i];
        if (auto* r = qobject_cast<QLineEdit*>(w)) {
            if (r->text() != t) r->setText(t);
        } else if (auto* n = qobject_cast<QPlainTextEdit*>(w)) {
            const QString note = TestoInNote(t);
            if (n->toPlainText() != note) n->setPlainText(note);
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(t);
        }
    }
    ui->lblPosizione->setText(m_scheda.ID ? QString::number(*m_scheda.ID) : QString());
    ui->txtFoto->setText(m_scheda.FotoInAttesa);
    ui->imgFoto->ImpostaFoto(m_scheda.Foto);
}

void TfrmScheda::Esegui(const std::function<void()>& operazione) {
    Protetto([&] {
        ControlliInScheda();
        // The card is shown as it stands, also when the operation ends in an error.
        struct Mostra {
            TfrmScheda* f;
            ~Mostra() { f->SchedaInControlli(); }
        } mostra{this};
        operazione();
    });
    m_anticipa->start();
}

void TfrmScheda::CaricaScheda(TSQLiteTable& tabella) {
    Esegui([&] {
        m_operazioni.CaricaScheda(tabella);
        m_operazioni.MettiCampioneSeVuota();
    });
}

// After every operation: the neighbours of the card now on display.
void TfrmScheda::Anticipa() {
    if (!isVisible()) return;
    const QByteArray t = m_archivio.Tabella();
    const QByteArray avanti = m_scheda.ID ? Statementi::SchedaSuccessiva(t, *m_scheda.ID) : Statementi::PrimaScheda(t);
    const QByteArray indietro = m_scheda.ID ? Statementi::SchedaPrecedente(t, *m_scheda.ID) : avanti;
    QList<TAnticipoFoto::Voce> voci;
    if (auto v = FotoVicine::Leggi(m_archivio, avanti)) voci.append(*v);
    if (indietro != avanti)
        if (auto v = FotoVicine::Leggi(m_archivio, indietro)) voci.append(*v);
    m_anticipo.Prepara(voci, ui->imgFoto->BoxDispositivo());
}

bool TfrmScheda::ApriFinestraFiglia(const char* prefisso) {
    QWidget* figlia = FinestreScheda::Finestra(m_categoria.NomeFinestra(prefisso));
    if (!figlia || !PreparaFinestraFiglia()) return false;
    Flusso::MostraModale(figlia);
    m_anticipa->start();
    return true;
}

bool TfrmScheda::CaricaSchedaPerNumero(qint64 id) {
    bool caricata = false;
    Esegui([&] {
        try {
            if (!m_archivio.ApriArchivio(Statementi::SchedaPerNumero(m_archivio.Tabella(), id))) return;
            TSQLiteTable* t = m_archivio.Risultato();
            if (!t || !t->First()) return;
            m_operazioni.CaricaScheda(*t);
            m_operazioni.MettiCampioneSeVuota();
            caricata = true;
        } catch (...) {
            // The find windows open a listed card in silence; the card stays as it was.
        }
    });
    return caricata;
}

bool TfrmScheda::PreparaFinestraFiglia() {
    Esegui([&] { m_operazioni.PulisciScheda(); });
    m_anticipa->stop();
    m_anticipo.Svuota(); // the child reads the archive on its own
    try {
        m_archivio.ApriArchivio(Statementi::PrimaScheda(m_archivio.Tabella()));
        return true;
    } catch (...) {
        return false;
    }
}

void TfrmScheda::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (e->spontaneous()) return; // a restore from the task bar is not a new showing
    if (!(windowState() & Qt::WindowMaximized)) Massimizza(this);
    FormShow();
}

void TfrmScheda::CaricaImmagini() {
    if (m_immaginiCaricate) return;
    m_immaginiCaricate = true;
    for (const auto& [nome, immagine] : Immagini)
        if (auto* p = findChild<PulsanteImmagine*>(QString::fromLatin1(nome)))
            p->ImpostaImmagine(QStringLiteral(":/cmd/%1.png").arg(QLatin1String(immagine)));

    // The banner, centred in the black panel (scaled down only if it is larger).
    const QSize banner = QImageReader(m_categoria.BannerTitolo()).size();
    if (banner.isValid()) {
        const QRect dove = Adattamento::Adatta(banner, ui->panTitolo->size());
        ui->imgTitolo->setGeometry(dove);
        MostraImmagine(ui->imgTitolo, m_categoria.BannerTitolo(), true);
    }
}

void TfrmScheda::FormShow() {
    CaricaImmagini(); // at the first showing: creating the window stays cheap
    PiastrellaSfondo(this, QStringLiteral(":/avvio/sfondo.png"));
    Esegui([&] {
        if (m_archivio.ApriArchivio(Statementi::PrimaScheda(m_archivio.Tabella()))) {
            TSQLiteTable* t = m_archivio.Risultato();
            if (t && t->Count() > 0) {
                t->First();
                m_operazioni.CaricaScheda(*t);
                m_operazioni.MettiCampioneSeVuota();
            }
        }
        // The window always opens on an empty card, ready for a new one.
        m_operazioni.PulisciScheda();
    });
}

void TfrmScheda::closeEvent(QCloseEvent* e) {
    try {
        m_archivio.ApriArchivio(Statementi::PrimaScheda(m_archivio.Tabella()));
    } catch (...) {
        // The launcher comes back all the same, so a window always stays visible.
    }
    m_anticipa->stop();
    m_anticipo.Svuota();
    e->accept();
    emit Chiusa();
}

bool TfrmScheda::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(e)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            if (QWidget* prossimo = m_invioSuccessivo.value(o)) {
                prossimo->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QWidget::eventFilter(o, e);
}

void TfrmScheda::cmdNuovoClick() { Esegui([&] { m_operazioni.PulisciScheda(); }); }
void TfrmScheda::cmdDuplicaClick() { Esegui([&] { m_operazioni.DuplicaScheda(); }); }
void TfrmScheda::cmdSalvaClick() { Esegui([&] { m_operazioni.SalvaScheda(); }); }
void TfrmScheda::cmdEliminaClick() { Esegui([&] { m_operazioni.EliminaScheda(); }); }
void TfrmScheda::imgPrimoClick() { Esegui([&] { m_operazioni.PrimaScheda(); }); }
void TfrmScheda::imgIndietroClick() { Esegui([&] { m_operazioni.SchedaPrecedente(); }); }
void TfrmScheda::imgAvantiClick() { Esegui([&] { m_operazioni.SchedaSuccessiva(); }); }
void TfrmScheda::imgUltimoClick() { Esegui([&] { m_operazioni.UltimaScheda(); }); }
void TfrmScheda::cmdOttimizzaClick() { Protetto([&] { m_archivio.OttimizzaArchivio(); }); }
void TfrmScheda::cmdEsciClick() { close(); }

void TfrmScheda::cmdFotoClick() {
    Protetto([&] {
        const QString percorso = Piattaforma::Dialoghi().ApriFile(QString::fromUtf8(TitoloApriFoto),
                                                                   QString::fromUtf8(FiltroFoto), this);
        if (percorso.isEmpty()) return;
        bool rifiutata = false;
        Esegui([&] {
            CursoreOccupato occupato;
            const TFoto foto = TFoto::DaFile(percorso);
            // Only a photo that decodes becomes the pending file: its bytes are what a
            // save stores as the card's photo.
            rifiutata = !foto.Decodificabile();
            m_scheda.FotoInAttesa = rifiutata ? QString() : percorso;
            m_scheda.Foto = rifiutata ? m_operazioni.Campione() : foto;
        });
        if (rifiutata)
            Piattaforma::Messaggi().Mostra(
                TipoMessaggio::Avviso, QStringLiteral("Caricamento foto non riuscito"),
                QStringLiteral("Il file scelto non contiene una foto in formato JPEG leggibile "
                               "e non è stato abbinato alla scheda."),
                this);
    });
}

void TfrmScheda::cmdSalvaFotoClick() {
    Protetto([&] {
        const QString nome = Piattaforma::Dialoghi().SalvaFile(QString::fromUtf8(TitoloSalvaFoto),
                                                                QString::fromUtf8(FiltroFoto), this);
        if (nome.isEmpty()) return;
        const QString percorso = nome + QStringLiteral(".jpg");
        bool scritto = false;
        {
            CursoreOccupato occupato;
            const QByteArray& dati =
                m_scheda.Foto.Vuota() ? m_operazioni.Campione().Byte() : m_scheda.Foto.Byte();
            scritto = Piattaforma::File().Scrivi(percorso, dati);
        }
        if (!scritto)
            Piattaforma::Messaggi().Mostra(TipoMessaggio::Avviso, QStringLiteral("Salvataggio foto non riuscito"),
                                           QStringLiteral("Impossibile scrivere la foto nel file %1.")
                                               .arg(QDir::toNativeSeparators(percorso)),
                                           this);
    });
}

void TfrmScheda::imgZoomClick() {
    Protetto([&] {
        if (m_scheda.Foto.Vuota()) {
            Piattaforma::Messaggi().Mostra(TipoMessaggio::Semplice, QStringLiteral("Operazione annullata"),
                                           QStringLiteral("Attenzione: impossibile individuare la foto corrente."),
                                           this);
            return;
        }
        QPointer<TfrmZoom> zoom = new TfrmZoom(this);
        zoom->ImpostaFoto(m_scheda.Foto, m_operazioni.Campione());
        zoom->exec();
        delete zoom.data();
    });
}

void TfrmScheda::cmdTrovaClick() { ApriFinestraFiglia("Trova"); }

void TfrmScheda::cmdRicercaClick() {
    // The search window loads a chosen card only for the category key written here.
    if (QWidget* ricerca = FinestreScheda::Finestra(m_categoria.NomeFinestra("Ricerca")))
        if (auto* memoria = ricerca->findChild<QLabel*>(QStringLiteral("lblMemory")))
            memoria->setText(QString::fromLatin1(m_categoria.Tabella));
    ApriFinestraFiglia("Ricerca");
}
void TfrmScheda::cmdWordClick() {
    Protetto([&] {
        ControlliInScheda(); // what the boxes show, saved or not; the card stays as it is
        QStringList testi;
        for (int i = cTitolo; i <= cDidascalia; ++i) testi << m_scheda.Testi[size_t(i)];
        const TFoto* foto = ui->imgFoto->FotoMostrata();
        emit EsportaInWord(testi, foto ? foto->Byte() : ui->imgTemp->Foto().Byte());
    });
}

void TfrmScheda::cmdExcelClick() { ApriFinestraFiglia("Exp"); }
// A fresh window for each use, owned by this one and destroyed when it closes:
// nothing typed there survives unless it was applied.
void TfrmScheda::cmdAllegaClick() {
    Protetto([&] {
        QPointer<TfrmAllegaFile> f = new TfrmAllegaFile(this);
        f->Compila(QString::fromLatin1(m_categoria.Tabella),
                   {Testo::Rifila(CampoNascosto(cFile01)), Testo::Rifila(CampoNascosto(cFile02)),
                    Testo::Rifila(CampoNascosto(cFile03))},
                   {Testo::Rifila(CampoNascosto(cDesc01)), Testo::Rifila(CampoNascosto(cDesc02)),
                    Testo::Rifila(CampoNascosto(cDesc03))});
        Flusso::MostraModale(f);
        delete f.data();
    });
}
void TfrmScheda::cmdAssociaClick() {
    Protetto([&] {
        QPointer<TfrmAllegaCartella> f = new TfrmAllegaCartella(this);
        f->Compila(QString::fromLatin1(m_categoria.Tabella), Testo::Rifila(CampoNascosto(cCartella)),
                   Testo::Rifila(CampoNascosto(cCartellaDesc)));
        Flusso::MostraModale(f);
        delete f.data();
    });
}
void TfrmScheda::cmdSfogliaFotoClick() { ApriFinestraFiglia("Browse"); }
void TfrmScheda::cmdSlideshowClick() {
    emit FotoPerSlideshow(m_scheda.Foto); // before the card is cleared
    ApriFinestraFiglia("Slide");
}
void TfrmScheda::cmdGuidaClick() { emit GuidaRichiesta(); }

QString TfrmScheda::CampoNascosto(Campo campo) const {
    if (campo < cFile01 || campo > cCartellaDesc) return {};
    auto* l = qobject_cast<QLabel*>(Controllo(campo));
    return l ? l->text() : QString();
}

void TfrmScheda::ImpostaCampoNascosto(Campo campo, const QString& valore) {
    if (campo < cFile01 || campo > cCartellaDesc) return;
    if (auto* l = qobject_cast<QLabel*>(Controllo(campo))) l->setText(valore);
    m_scheda.Testi[std::size_t(campo)] = valore;
}
