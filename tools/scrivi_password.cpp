// Writes the password file of a new installation: the first-access keyword,
// scrambled, into the folder of the given unins000.dll path, when it has none yet.
#include "store/Password.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() != 2) {
        std::fprintf(stderr, "uso: tegolario_scrivi_password <percorso di %s>\n", FilePassword);
        return 2;
    }
    const QFileInfo file(argomenti.at(1));
    if (file.fileName().compare(QLatin1String(FilePassword), Qt::CaseInsensitive) != 0) {
        std::fprintf(stderr, "il file deve chiamarsi %s\n", FilePassword);
        return 2;
    }
    // The program folder of a build is a working folder: a password changed there stays.
    if (file.exists())
        return 0;
    if (!ScriviPassword(file.absolutePath(), QStringLiteral(TEGOLARIO_PRIMA_PASSWORD))) {
        std::fprintf(stderr, "impossibile scrivere %s\n", qPrintable(file.absoluteFilePath()));
        return 1;
    }
    return 0;
}
