// Tegolario: start-up. Creates every window, shows the login window and runs the loop.
#include "widgets/Flusso.h"
#include "app/Registro.h"
#include "app/Screenshots.h"
#include "export/MotoreDocumenti.h"
#include "photo/Foto.h"
#include "platform/Piattaforma.h"
#include "platform/QtPiattaforma.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QStringList>

namespace {

// The windows name the classic Windows fonts; on other desktops the nearest free ones stand in.
void SostituisciCaratteri() {
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

} // namespace

int main(int argc, char* argv[]) {
    PreparaMemoriaFoto();
    QApplication app(argc, argv);
    Flusso::CaricaRisorse();
    QApplication::setApplicationName(QStringLiteral("Tegolario"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/tegolario.png")));
    // Hiding the last visible window (login -> launcher -> card) must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    SostituisciCaratteri();
    // Qt's own dialogs (file dialogs, buttons) speak Italian like the rest of the program.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator traduzioneQt;
    if (traduzioneQt.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzioneQt);

    const QStringList argomenti = QApplication::arguments();
    const int posFoto = argomenti.indexOf(QStringLiteral("--screenshots"));
    if (posFoto >= 0) {
        if (posFoto + 1 >= argomenti.size()) {
            qCritical("--screenshots needs a folder");
            return 2;
        }
        return Screenshots::Esegui(argomenti.at(posFoto + 1));
    }

    PiattaformaReale piattaforma;
    piattaforma.Installa();
    // The exports write real documents and open them with the desktop's office program.
    TMotoreDocumenti documenti;
    Automazione::Imposta(&documenti);

    Registro::CreaFinestre();
    QWidget* principale = Registro::Principale();
    principale->show();
    Flusso::CentraSulDesktop(principale);
    const int esito = app.exec();
    Registro::DistruggiFinestre();
    Automazione::Imposta(nullptr);
    return esito;
}
