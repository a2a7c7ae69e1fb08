#include "platform/ErroreSistema.h"

#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
// Qt reads a file's access rights only while this is above zero.
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#else
#include <cerrno>
#endif

GuastoScrittura GuastoDiScrittura(int codiceSistema) {
    switch (codiceSistema) {
#ifdef _WIN32
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return GuastoScrittura::DiscoPieno;
    case ERROR_FILE_TOO_LARGE:
        return GuastoScrittura::FileTroppoGrande;
#else
    case ENOSPC:
    case EDQUOT:
        return GuastoScrittura::DiscoPieno;
    case EFBIG:
        return GuastoScrittura::FileTroppoGrande;
#endif
    default:
        return GuastoScrittura::Altro;
    }
}

bool CartellaScrivibile(const QString& cartella) {
#ifdef _WIN32
    ++qt_ntfs_permission_lookup;
    const bool scrivibile = QFileInfo(cartella).isWritable();
    --qt_ntfs_permission_lookup;
    return scrivibile;
#else
    return QFileInfo(cartella).isWritable();
#endif
}
