#include "support/Supporto.h"

#include "app/Registro.h"
#include "store/TSQLiteDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#ifndef _WIN32
#include <unistd.h>
#endif

QString MessaggioDi(const std::function<void()>& f) {
    try {
        f();
    } catch (const ESQLiteException& e) {
        return e.Messaggio();
    }
    return QStringLiteral("<nessun errore>");
}

void AvviaProgramma(DoppiPiattaforma& doppi, const QString& cartella) {
    QApplication::setQuitOnLastWindowClosed(false);
    doppi.Installa();
    Piattaforma::ImpostaCartellaProgramma(cartella);
    Registro::CreaFinestre();
}

const char* PermessiSenzaEffetto() {
#ifdef _WIN32
    return "a folder's rights are its ACL, which permission bits do not change";
#else
    return geteuid() == 0 ? "file permissions do not stop root" : nullptr;
#endif
}

void SvuotaArchivio(const QString& file) {
    if (QFile::remove(file) || !QFile::exists(file)) return;
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.close();
}

bool CartellaAlPostoDellArchivio(const QString& file) {
    if (QFile::exists(file) && !QFile::remove(file)) return false;
    return QDir().mkpath(file);
}
