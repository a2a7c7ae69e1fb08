// Tegolario: start-up. Creates every window, shows the login window and runs the loop.
#include "widgets/Flusso.h"
#include "app/GuidaPdf.h"
#include "app/Registro.h"
#include "app/Screenshots.h"
#include "export/MotoreDocumenti.h"
#include "platform/AutomazioneSistema.h"
#include "photo/Foto.h"
#include "platform/Piattaforma.h"
#include "platform/QtPiattaforma.h"
#include "platform/QtStampante.h"

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
    // The user guide is made without showing anything on the desktop.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--guida") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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

    const int posGuida = argomenti.indexOf(QStringLiteral("--guida"));
    if (posGuida >= 0) {
        if (posGuida + 1 >= argomenti.size()) {
            qCritical("--guida needs a file");
            return 2;
        }
        return GuidaPdf::Esegui(argomenti.at(posGuida + 1));
    }

    PiattaformaReale piattaforma;
    piattaforma.Installa();
    QtStampante stampante; // the default printer, asked for at each printout
    Piattaforma::Imposta(&stampante);
    // The exports drive the office programs registered on this computer; where there
    // are none, the engine writes real documents and opens them with the desktop's program.
    TMotoreDocumenti documenti;
    const std::unique_ptr<IAutomazione> automazione = AutomazioneDelSistema(documenti);
    Automazione::Imposta(automazione.get());

    Registro::CreaFinestre();
    QWidget* principale = Registro::Principale();
    principale->show();
    Flusso::CentraSulDesktop(principale);
    const int esito = app.exec();
    Registro::DistruggiFinestre();
    Automazione::Imposta(nullptr);
    Piattaforma::Imposta(static_cast<IStampante*>(nullptr));
    return esito;
}
