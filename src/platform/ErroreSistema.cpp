#include "platform/ErroreSistema.h"

#ifdef _WIN32
#include <windows.h>
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
