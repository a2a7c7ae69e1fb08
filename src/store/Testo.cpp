#include "store/Testo.h"

namespace Testo {

QString Rifila(const QString& s) {
    qsizetype inizio = 0, fine = s.size();
    while (inizio < fine && s.at(inizio).unicode() <= 32) ++inizio;
    while (fine > inizio && s.at(fine - 1).unicode() <= 32) --fine;
    return s.mid(inizio, fine - inizio);
}

QByteArray Rifila(const QByteArray& s) {
    qsizetype inizio = 0, fine = s.size();
    while (inizio < fine && static_cast<uchar>(s.at(inizio)) <= 32) ++inizio;
    while (fine > inizio && static_cast<uchar>(s.at(fine - 1)) <= 32) --fine;
    return s.mid(inizio, fine - inizio);
}

QString TestoErrore(const QString& messaggio) {
    if (!messaggio.isEmpty() && messaggio.back() > QLatin1Char('.'))
        return messaggio + QLatin1Char('.');
    return messaggio;
}

} // namespace Testo
