// A login and one card typed key by key with accented letters and the euro sign, then
// saved, in the program folder given: the Windows check runs it under Wine and on Linux
// and compares the bytes the two archives hold.
//
//   scheda_digitata FOLDER
//
// FOLDER holds a new password file (the first-access keyword). Exit status 0 when the
// launcher opened and the card was saved with its confirmation; the reason otherwise.
#include "app/Registro.h"
#include "support/Supporto.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

// The texts typed, one per box: letters Windows-1252 holds beyond ASCII.
const std::pair<const char*, const char*> Campi[] = {
    {"txtTitolo", "Rif. 27/À"},
    {"txtAutore", "Attico con terrazza, però è già affittato"},
    {"txtAlbum", "Sanremo – Via dell'Ulivo"},
    {"txtCategoria", "5 vani più servizi"},
    {"txtData", "140 m²"},
    {"txtFotocamera", "€ 350.000 trattabili"},
    {"txtLuogo", "Classe « G »"},
    {"txtSoggetti", "Ottime condizioni, perché ristrutturato"},
    {"txtNote", "Caldaia nuova; vista mare «É così»"},
    {"txtDidascalia", "Il terrazzo all'ora del tramonto — ça va"},
};

QWidget* Controllo(const char* finestra, const char* nome) {
    QWidget* w = Registro::Finestra(QString::fromLatin1(finestra));
    return w ? w->findChild<QWidget*>(QString::fromLatin1(nome)) : nullptr;
}

// Each character as one key press with its text, as a keyboard delivers it.
void Digita(QWidget* w, const QString& testo) {
    w->setFocus();
    for (const QChar c : testo)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

int Fallito(const char* perche) {
    std::fprintf(stderr, "scheda_digitata: %s\n", perche);
    Registro::DistruggiFinestre();
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: scheda_digitata CARTELLA\n");
        return 2;
    }
    DoppiPiattaforma doppi;
    AvviaProgramma(doppi, QString::fromLocal8Bit(argv[1]));
    QWidget* accesso = Registro::Finestra(QStringLiteral("frmPassword"));
    accesso->show();
    Digita(Controllo("frmPassword", "txtPassword"), QStringLiteral("benvenuto"));
    QTest::keyClick(Controllo("frmPassword", "txtPassword"), Qt::Key_Return);
    if (!Registro::Finestra(QStringLiteral("frmAvvio"))->isVisible()) return Fallito("the launcher did not open");
    QTest::mouseClick(Controllo("frmAvvio", "imgAmici"), Qt::LeftButton);
    if (!Registro::Finestra(QStringLiteral("frmAmici"))->isVisible()) return Fallito("the card window did not open");
    for (const auto& [nome, testo] : Campi) {
        QWidget* w = Controllo("frmAmici", nome);
        if (!w) return Fallito(nome);
        Digita(w, QString::fromUtf8(testo));
    }
    doppi.Messaggi.Azzera();
    QTest::mouseClick(Controllo("frmAmici", "cmdSalva"), Qt::LeftButton);
    if (doppi.Messaggi.Mostrati.isEmpty() ||
        doppi.Messaggi.Ultimo().Testo != QStringLiteral("La scheda corrente è stata inserita in archivio."))
        return Fallito("the card was not saved");
    std::printf("scheda_digitata: card saved in %s\n", argv[1]);
    Registro::DistruggiFinestre();
    return 0;
}
