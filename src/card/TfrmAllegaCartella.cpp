#include "card/TfrmAllegaCartella.h"

#include "card/TfrmScheda.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"
#include "ui_TfrmAllegaCartella.h"

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* parent)
    : FinestraAllegati(parent, 1), ui(std::make_unique<Ui::TfrmAllegaCartella>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmAllegaCartella"));
    Prepara(QSize(616, 254), ":/allegati/guida_cartella.png");
}

TfrmAllegaCartella::~TfrmAllegaCartella() = default;

void TfrmAllegaCartella::Compila(const QString& tabella, const QString& cartella, const QString& descrizione) {
    ImpostaCategoria(tabella);
    Percorso(1)->setText(cartella);
    Descrizione(1)->setText(descrizione);
}

// The dialog always starts at the desktop, never at the folder already associated.
void TfrmAllegaCartella::cmdSfogliaClick(int n) {
    Scegli(n, [this] { return Piattaforma::Dialoghi().ScegliCartella(QString::fromUtf8(TitoloDialogo), this); },
           false);
}

void TfrmAllegaCartella::cmdApriClick(int n) {
    CursoreOccupato occupato;
    Piattaforma::ApriSistema().Apri(Testo::Rifila(Percorso(n)->text()), QStringLiteral("Open"));
}

void TfrmAllegaCartella::ScriviIn(TfrmScheda& scheda) {
    scheda.ImpostaCampoNascosto(cCartella, Testo::Rifila(Percorso(1)->text()));
    scheda.ImpostaCampoNascosto(cCartellaDesc, Testo::Rifila(Descrizione(1)->text()));
}
