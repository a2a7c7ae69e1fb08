#include "store/CausaArchivio.h"

#include "store/Testo.h"

#include <sqlite3.h>

namespace {

// Empty when SQLite's code names no cause a user can act on.
QString CausaNota(int codice)
{
    switch (codice & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("l'archivio è in uso da parte di un altro utente o di un altro computer. "
                              "Riprovare tra qualche istante.");
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return QStringLiteral("l'archivio o la cartella del programma è di sola lettura. Accertarsi di "
                              "possedere i privilegi di scrittura nella cartella di installazione del "
                              "programma.");
    case SQLITE_FULL:
        return QStringLiteral("il disco è pieno.");
    case SQLITE_IOERR:
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
    const QString causa = CausaNota(e.Codice());
    if (!causa.isEmpty())
        return causa;
    return QStringLiteral("si è verificato un errore nell'accesso all'archivio (%1).").arg(e.Messaggio());
}

QString TestoErroreArchivio(const ESQLiteException& e)
{
    QString causa = CausaNota(e.Codice());
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
