#include "card/TfrmAllegaFile.h"

#include "card/TfrmScheda.h"
#include "platform/Piattaforma.h"
#include "store/Testo.h"
#include "ui_TfrmAllegaFile.h"

TfrmAllegaFile::TfrmAllegaFile(QWidget* parent)
    : FinestraAllegati(parent, 3), ui(std::make_unique<Ui::TfrmAllegaFile>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmAllegaFile"));
    Prepara(QSize(616, 470), ":/allegati/guida_file.png");
}

TfrmAllegaFile::~TfrmAllegaFile() = default;

void TfrmAllegaFile::Compila(const QString& tabella, const std::array<QString, 3>& file,
                             const std::array<QString, 3>& descrizioni) {
    ImpostaCategoria(tabella);
    for (int n = 1; n <= 3; ++n) Percorso(n)->setText(file[std::size_t(n - 1)]);
    for (int n = 1; n <= 3; ++n) Descrizione(n)->setText(descrizioni[std::size_t(n - 1)]);
}

void TfrmAllegaFile::cmdSfogliaClick(int n) {
    Scegli(
        n,
        [this] {
            const QString scelto = Piattaforma::Dialoghi().ScegliFile(
                QString::fromUtf8(TitoloDialogo), QString::fromUtf8(FiltroDialogo), m_ultimoFile, this);
            if (!scelto.isEmpty()) m_ultimoFile = scelto;
            return scelto;
        },
        true);
}

void TfrmAllegaFile::cmdApriClick(int n) {
    CursoreOccupato occupato;
    Piattaforma::ApriSistema().Apri(Testo::Rifila(Percorso(n)->text())); // the file type's default action
}

void TfrmAllegaFile::ScriviIn(TfrmScheda& scheda) {
    const Campo file[] = {cFile01, cFile02, cFile03};
    const Campo descrizioni[] = {cDesc01, cDesc02, cDesc03};
    for (int n = 1; n <= 3; ++n) scheda.ImpostaCampoNascosto(file[n - 1], Testo::Rifila(Percorso(n)->text()));
    for (int n = 1; n <= 3; ++n)
        scheda.ImpostaCampoNascosto(descrizioni[n - 1], Testo::Rifila(Descrizione(n)->text()));
}
