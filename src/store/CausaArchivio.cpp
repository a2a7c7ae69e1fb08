#include "store/CausaArchivio.h"

#include "platform/ErroreSistema.h"
#include "store/Testo.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

const QString SolaLettura = QStringLiteral(
    "l'archivio o la cartella del programma è di sola lettura. Accertarsi di possedere i privilegi di "
    "scrittura nella cartella di installazione del programma.");

// Why a file could not be opened, told by what is (or is not) at its place.
QString CausaApertura(const QString& file)
{
    if (file.isEmpty())
        return QStringLiteral("non è stato possibile aprire il file dell'archivio.");
    const QFileInfo archivio(file);
    const QFileInfo cartella(archivio.absolutePath());
    const QString nome = QDir::toNativeSeparators(archivio.absoluteFilePath());
    if (archivio.isDir())
        return QStringLiteral("al posto dell'archivio \"%1\" c'è una cartella con lo stesso nome.").arg(nome);
    if (!cartella.exists())
        return QStringLiteral("la cartella \"%1\" che dovrebbe contenere l'archivio non esiste.")
            .arg(QDir::toNativeSeparators(cartella.absoluteFilePath()));
    if (!cartella.isDir())
        return QStringLiteral("\"%1\" non è una cartella, quindi non può contenere l'archivio.")
            .arg(QDir::toNativeSeparators(cartella.absoluteFilePath()));
    if (archivio.exists() && !archivio.isReadable())
        return QStringLiteral("non si possiedono i permessi per leggere l'archivio \"%1\".").arg(nome);
    if (!archivio.exists() && !CartellaScrivibile(cartella.absoluteFilePath()))
        return QStringLiteral("la cartella del programma è di sola lettura, quindi l'archivio \"%1\" non può "
                              "esservi creato. Accertarsi di possedere i privilegi di scrittura nella "
                              "cartella di installazione del programma.").arg(nome);
    return QStringLiteral("non è stato possibile aprire il file dell'archivio \"%1\".").arg(nome);
}

// Empty when SQLite's code names no cause a user can act on.
QString CausaNota(const ESQLiteException& e)
{
    const int codice = e.Codice(), errnoSistema = e.ErrnoSistema();
    // A table made by another version of the program: SQLite and the access layer
    // both name the column they miss.
    const QString& m = e.Messaggio();
    if (m.startsWith(QLatin1String("Field not found in dataset: ")) ||
        ((codice & 0xFF) == SQLITE_ERROR &&
         (m.contains(QLatin1String(" has no column named ")) || m.contains(QLatin1String(": no such column: ")))))
        return QStringLiteral("la tabella dell'archivio non ha le colonne di questa versione del programma.");
    switch (codice & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("l'archivio è in uso da parte di un altro utente o di un altro computer. "
                              "Riprovare tra qualche istante.");
    case SQLITE_READONLY:
        return SolaLettura;
    case SQLITE_CANTOPEN:
        return CausaApertura(e.File());
    case SQLITE_PERM:
        return QStringLiteral("non si possiedono i permessi per accedere all'archivio.");
    case SQLITE_FULL:
        return QStringLiteral("il disco è pieno.");
    case SQLITE_IOERR:
        if (GuastoDiScrittura(errnoSistema) == GuastoScrittura::DiscoPieno)
            return QStringLiteral("il disco è pieno.");
        if (GuastoDiScrittura(errnoSistema) == GuastoScrittura::FileTroppoGrande)
            return QStringLiteral("il file dell'archivio ha raggiunto la dimensione massima consentita dal disco.");
        return QStringLiteral("si è verificato un errore di lettura o scrittura sul disco.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("l'archivio è danneggiato.");
    default:
        return QString();
    }
}

} // namespace

QString CausaArchivio(const ESQLiteException& e)
{
    const QString causa = CausaNota(e);
    if (!causa.isEmpty())
        return causa;
    return QStringLiteral("si è verificato un errore nell'accesso all'archivio (%1).").arg(e.Messaggio());
}

QString TestoErroreArchivio(const ESQLiteException& e)
{
    QString causa = CausaNota(e);
    if (causa.isEmpty())
        return e.Messaggio(); // the access layer's own text says it best
    causa[0] = causa[0].toUpper();
    return causa + QStringLiteral("\n\n") + e.Messaggio();
}

QString TestoErroreApplicazione(std::exception_ptr errore)
{
    QString testo;
    try {
        std::rethrow_exception(errore);
    } catch (const ESQLiteException& e) {
        testo = TestoErroreArchivio(e);
    } catch (const std::exception& e) {
        testo = QString::fromLocal8Bit(e.what());
    } catch (...) {
        testo = QStringLiteral("Errore imprevisto");
    }
    return Testo::TestoErrore(testo);
}
