#include "app/TfrmInfo.h"

#include "widgets/Flusso.h"
#include "widgets/Comuni.h"
#include "platform/Piattaforma.h"
#include "ui_TfrmInfo.h"

namespace {
void ApriIndirizzo(const char* indirizzo) {
    CursoreOccupato occupato;
    Piattaforma::ApriSistema().Apri(QString::fromLatin1(indirizzo), QStringLiteral("Open"));
}
} // namespace

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmInfo>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmInfo"));
    setModal(true);
    Flusso::FinestraFissa(this, 430, 318);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ImpostaCarattere(this, QStringLiteral("Tahoma"), 11);
    ImpostaCarattere(ui->lblProdotto, QStringLiteral("Verdana"), 18, true);
    ImpostaCarattere(ui->lblVersione, QStringLiteral("Verdana"), 11);
    ImpostaCarattere(ui->cmdOK, QStringLiteral("Verdana"), 13);
    for (QLabel* l : {static_cast<QLabel*>(ui->lblPosta), static_cast<QLabel*>(ui->lblSito)}) {
        QFont f(QStringLiteral("Verdana"));
        f.setPixelSize(11);
        f.setUnderline(true);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 160));
        l->setPalette(p);
    }
    connect(ui->lblPosta, &Collegamento::rilasciato, this,
            [] { Protetto([] { ApriIndirizzo(Flusso::PostaProduttore); }); });
    connect(ui->lblSito, &Collegamento::rilasciato, this,
            [] { Protetto([] { ApriIndirizzo(Flusso::SitoProduttore); }); });
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmInfo::~TfrmInfo() = default;

void TfrmInfo::showEvent(QShowEvent* e) {
    if (!m_immaginiCaricate) {
        m_immaginiCaricate = true;
        // The logo carries the house mark and the tagline, at its own size.
        MostraImmagine(ui->imgLogo, QStringLiteral(":/info/logo.png"));
    }
    QDialog::showEvent(e);
}
