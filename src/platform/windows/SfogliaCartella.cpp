#include "platform/windows/SfogliaCartella.h"

#include <QDir>
#include <QWidget>

#include <string>

#include <windows.h>
#include <shlobj.h>

namespace {

int CALLBACK AlCentro(HWND dialogo, UINT messaggio, LPARAM, LPARAM) {
    if (messaggio == BFFM_INITIALIZED) {
        RECT r;
        MONITORINFO schermo{};
        schermo.cbSize = sizeof schermo;
        if (GetWindowRect(dialogo, &r) &&
            GetMonitorInfoW(MonitorFromWindow(dialogo, MONITOR_DEFAULTTOPRIMARY), &schermo)) {
            const RECT& a = schermo.rcWork;
            SetWindowPos(dialogo, nullptr, a.left + (a.right - a.left - (r.right - r.left)) / 2,
                         a.top + (a.bottom - a.top - (r.bottom - r.top)) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return 0;
}

} // namespace

QString SfogliaCartellaWindows(const QString& istruzione, QWidget* proprietario) {
    const std::wstring testo = istruzione.toStdWString();
    BROWSEINFOW info{};
    info.hwndOwner = proprietario ? reinterpret_cast<HWND>(proprietario->window()->winId()) : nullptr;
    info.lpszTitle = testo.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    info.lpfn = AlCentro;
    PIDLIST_ABSOLUTE scelta = SHBrowseForFolderW(&info);
    if (!scelta) return {};
    // Long paths too: the buffer grows until the path fits.
    QString percorso;
    for (DWORD spazio = MAX_PATH; spazio <= 32768; spazio *= 4) {
        std::wstring buffer(spazio, L'\0');
        if (SHGetPathFromIDListEx(scelta, buffer.data(), spazio, GPFIDL_DEFAULT)) {
            percorso = QString::fromWCharArray(buffer.c_str());
            break;
        }
    }
    CoTaskMemFree(scelta);
    return percorso;
}
