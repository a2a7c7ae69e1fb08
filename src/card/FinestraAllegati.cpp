#include "card/FinestraAllegati.h"

#include "card/FinestreScheda.h"
#include "card/TfrmScheda.h"
#include "platform/Piattaforma.h"
#include "store/TCategoria.h"
#include "store/Testo.h"
#include "store/Win1252.h"
#include "widgets/Comuni.h"
#include "widgets/Flusso.h"
#include "widgets/Testo1252.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FinestraAllegati::FinestraAllegati(QWidget* parent, int slot) : QDialog(parent), m_slot(slot) {}

template <class T> T* FinestraAllegati::Controllo(const char* prefisso, int n) const {
    return findChild<T*>(QStringLiteral("%1%2").arg(QLatin1String(prefisso)).arg(n, 2, 10, QLatin1Char('0')));
}

QLineEdit* FinestraAllegati::Percorso(int n) const { return Controllo<QLineEdit>("txtFile", n); }
QLineEdit* FinestraAllegati::Descrizione(int n) const { return Controllo<QLineEdit>("txtDesc", n); }
QPushButton* FinestraAllegati::Sfoglia(int n) const { return Controllo<QPushButton>("cmdSfoglia", n); }
QPushButton* FinestraAllegati::Apri(int n) const { return Controllo<QPushButton>("cmdApri", n); }

QString FinestraAllegati::Categoria() const {
    auto* l = findChild<QLabel*>(QStringLiteral("lblMemory"));
    return l ? l->text() : QString();
}

void FinestraAllegati::ImpostaCategoria(const QString& tabella) {
    if (auto* l = findChild<QLabel*>(QStringLiteral("lblMemory"))) l->setText(tabella);
}

void FinestraAllegati::Prepara(QSize client, const char* immagineGuida) {
    m_immagineGuida = QString::fromLatin1(immagineGuida);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(client);
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    Colora(this, QPalette::Window, Qt::white);
    setAutoFillBackground(true);

    const QFont testo = Carattere(QStringLiteral("Verdana"), 11);
    for (QLabel* l : findChildren<QLabel*>()) {
        if (l->objectName().startsWith(QLatin1String("lbl"))) {
            l->setFont(testo);
            Colora(l, QPalette::WindowText, Qt::black);
        }
    }
    m_colori = new ColoriFuoco(this, ColoriFuoco::VerdeChiaro());
    for (int n = 1; n <= m_slot; ++n) {
        if (auto* g = Controllo<QWidget>("grpAllegato", n)) Colora(g, QPalette::Window, Qt::white);
        QLineEdit* percorso = Percorso(n);
        QLineEdit* descrizione = Descrizione(n);
        percorso->setFont(testo);
        Colora(percorso, QPalette::Text, Qt::red);
        descrizione->setFont(Carattere(QStringLiteral("Verdana"), 11, true));
        Colora(descrizione, QPalette::Text, Qt::black);
        for (QLineEdit* c : {percorso, descrizione}) {
            Testo1252::CasellaTesto(c); // what is typed is what the archive stores, at any length
            c->setFocusPolicy(Qt::StrongFocus);
            m_colori->Aggiungi(c);
        }
        percorso->installEventFilter(this);
        QPushButton* apri = Apri(n);
        apri->setEnabled(false);
        // Also when the program sets the path.
        connect(percorso, &QLineEdit::textChanged, apri,
                [apri](const QString& t) { apri->setEnabled(!Testo::Rifila(t).isEmpty()); });
        connect(Sfoglia(n), &QPushButton::clicked, this, [this, n] { Protetto([this, n] { cmdSfogliaClick(n); }); });
        connect(apri, &QPushButton::clicked, this, [this, n] { Protetto([this, n] { cmdApriClick(n); }); });
    }
    for (int n = 1; n < m_slot; ++n) setTabOrder(Descrizione(n), Percorso(n + 1));
    for (int n = 1; n <= m_slot; ++n) setTabOrder(Percorso(n), Descrizione(n));
    if (auto* applica = findChild<QPushButton*>(QStringLiteral("cmdApplica")))
        connect(applica, &QPushButton::clicked, this, [this] { Protetto([this] { cmdApplicaClick(); }); });
}

void FinestraAllegati::Scegli(int n, const std::function<QString()>& scelta, bool occupato) {
    QLineEdit* percorso = Percorso(n);
    try {
        const QString scelto = scelta();
        if (scelto.isEmpty()) return; // cancelled: nothing changes
        // The archive keeps 8-bit text: a path it cannot hold would come back broken.
        if (!Win1252::Rappresentabile(scelto)) {
            Piattaforma::Messaggi().Mostra(
                TipoMessaggio::Avviso, QStringLiteral("Percorso non utilizzabile"),
                QStringLiteral("Il percorso scelto contiene caratteri che l'archivio non può conservare:\r\n%1\r\n\r\n"
                               "Rinominare il file o la cartella, oppure sceglierne uno in un'altra posizione.")
                    .arg(scelto),
                this);
            return;
        }
        if (occupato) {
            CursoreOccupato attesa;
            percorso->setText(scelto);
        } else {
            percorso->setText(scelto);
        }
    } catch (...) {
        percorso->clear();
    }
}

void FinestraAllegati::cmdApplicaClick() {
    // The key is compared exactly with the ten table names.
    if (const TCategoria* c = Categorie::PerTabella(Testo::Rifila(Categoria())))
        if (auto* scheda = qobject_cast<TfrmScheda*>(FinestreScheda::Finestra(c->NomeFinestra()))) ScriviIn(*scheda);
    accept();
}

void FinestraAllegati::showEvent(QShowEvent* e) {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        if (auto* guida = findChild<PulsanteImmagine*>(QStringLiteral("imgGuida"))) guida->ImpostaImmagine(m_immagineGuida);
    }
    QDialog::showEvent(e);
    Flusso::CentraSulDesktop(this);
    Percorso(1)->setFocus(Qt::OtherFocusReason);
}

bool FinestraAllegati::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Backspace)
        for (int n = 1; n <= m_slot; ++n)
            if (o == Percorso(n)) {
                Percorso(n)->clear();
                return true;
            }
    return QDialog::eventFilter(o, e);
}
