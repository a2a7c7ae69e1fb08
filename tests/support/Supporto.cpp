#include "support/Supporto.h"

#include "app/Registro.h"
#include "store/TSQLiteDatabase.h"

#include <QApplication>

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
