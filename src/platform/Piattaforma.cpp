#include "platform/Piattaforma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>

#include <utility>

namespace {

// Until a set of seams is installed, these answer quietly, so nothing can crash.
class MessaggiMuti : public IMessaggi {
public:
    Risposta Mostra(TipoMessaggio tipo, const QString&, const QString&, QObject*) override {
        return tipo == TipoMessaggio::Domanda || tipo == TipoMessaggio::DomandaConIcona ? Risposta::No : Risposta::OK;
    }
};
class ApriMuto : public IApriSistema {
public:
    void Apri(const QString&, const QString&) override {}
};
class DialoghiMuti : public IDialoghiFile {
public:
    QString ApriFile(const QString&, const QString&, QObject*) override { return {}; }
    QString SalvaFile(const QString&, const QString&, QObject*) override { return {}; }
    QString ScegliFile(const QString&, const QString&, const QString&, QObject*) override { return {}; }
    QString ScegliCartella(const QString&, QObject*) override { return {}; }
};
class OrologioDiSistema : public IOrologio {
public:
    QDateTime Adesso() override { return QDateTime::currentDateTime(); }
    int Casuale(int limite) override { return limite > 0 ? int(QRandomGenerator::global()->bounded(limite)) : 0; }
};
class CursoreMuto : public ICursore {
public:
    void Occupato() override {}
    void Normale() override {}
};

class FileDiSistema : public IFile {
public:
    bool Scrivi(const QString& percorso, const QByteArray& dati) override {
        QSaveFile file(percorso);
        // A folder that takes no new files but lets the file be rewritten still works.
        file.setDirectWriteFallback(true);
        return file.open(QIODevice::WriteOnly) && file.write(dati) == dati.size() && file.commit();
    }
};

struct Registro {
    MessaggiMuti messaggiFinti;
    ApriMuto apriFinto;
    DialoghiMuti dialoghiFinti;
    OrologioDiSistema orologioFinto;
    CursoreMuto cursoreFinto;
    FileDiSistema fileReale;
    IFile* file = nullptr;
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
IFile& File() { return R().file ? *R().file : R().fileReale; }
void Imposta(IFile* f) { R().file = f; }

QString CartellaProgramma() {
    if (!R().cartella.isEmpty()) return R().cartella;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void ImpostaCartellaProgramma(const QString& cartella) { R().cartella = cartella; }

QString PercorsoProgramma(const QString& nomeFile) { return CartellaProgramma() + QLatin1Char('/') + nomeFile; }

QByteArray NomeFileUtf8(const QString& file) {
#ifdef Q_OS_WIN
    // QFile::encodeName gives the ANSI code page there, which libzip would misread.
    return file.toUtf8();
#else
    return QFile::encodeName(file);
#endif
}

} // namespace Piattaforma
