#include "support/Supporto.h"

#include "store/TSQLiteDatabase.h"

QString MessaggioDi(const std::function<void()>& f) {
    try {
        f();
    } catch (const ESQLiteException& e) {
        return e.Messaggio();
    }
    return QStringLiteral("<nessun errore>");
}
