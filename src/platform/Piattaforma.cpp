#include "platform/Piattaforma.h"

#include <QCoreApplication>
#include <QDir>

#include <utility>

namespace {

// Until main installs the real seams, the doubles answer, so nothing can crash.
struct Registro {
    FintoMessaggi messaggiFinti;
    FintoApriSistema apriFinto;
    FintoDialoghi dialoghiFinti;
    FintoOrologio orologioFinto;
    FintoCursore cursoreFinto;
    IMessaggi* messaggi = nullptr;
    IApriSistema* apri = nullptr;
    IDialoghiFile* dialoghi = nullptr;
    IOrologio* orologio = nullptr;
    ICursore* cursore = nullptr;
    QString cartella;
};

Registro& R() {
    static Registro r;
    return r;
}

} // namespace

namespace Piattaforma {

IMessaggi& Messaggi() { return R().messaggi ? *R().messaggi : R().messaggiFinti; }
IApriSistema& ApriSistema() { return R().apri ? *R().apri : R().apriFinto; }
IDialoghiFile& Dialoghi() { return R().dialoghi ? *R().dialoghi : R().dialoghiFinti; }
IOrologio& Orologio() { return R().orologio ? *R().orologio : R().orologioFinto; }
ICursore& Cursore() { return R().cursore ? *R().cursore : R().cursoreFinto; }

void Imposta(IMessaggi* m) { R().messaggi = m; }
void Imposta(IApriSistema* a) { R().apri = a; }
void Imposta(IDialoghiFile* d) { R().dialoghi = d; }
void Imposta(IOrologio* o) { R().orologio = o; }
void Imposta(ICursore* c) { R().cursore = c; }

QString CartellaProgramma() {
    if (!R().cartella.isEmpty()) return R().cartella;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void ImpostaCartellaProgramma(const QString& cartella) { R().cartella = cartella; }

QString PercorsoProgramma(const QString& nomeFile) { return CartellaProgramma() + QLatin1Char('/') + nomeFile; }

} // namespace Piattaforma

Risposta FintoMessaggi::Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo, QObject*) {
    Mostrati.append({tipo, caption, testo});
    if (tipo != TipoMessaggio::Domanda) return Risposta::OK;
    return m_risposte.isEmpty() ? Risposta::Si : m_risposte.takeFirst();
}

QString FintoDialoghi::ApriFile(const QString& titolo, const QString& filtro, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::SalvaFile(const QString& titolo, const QString& filtro, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro = filtro;
    return std::exchange(ProssimoPercorso, QString());
}

QString FintoDialoghi::ScegliCartella(const QString& titolo, QObject*) {
    UltimoTitolo = titolo;
    UltimoFiltro.clear();
    return std::exchange(ProssimoPercorso, QString());
}
