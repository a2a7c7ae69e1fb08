#pragma once
// The thin seams to the desktop. The real implementations (QtPiattaforma) live in
// the GUI library, the doubles in their own library (doubles/Doppi.h); the core
// library only sees these interfaces. Until a set is installed, quiet defaults
// answer: no box is shown (a question is answered No), no dialog, no cursor.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class QObject;

// DomandaConIcona: a question box that also shows the question icon.
enum class TipoMessaggio { Informazione, Avviso, Domanda, Semplice, Errore, DomandaConIcona };
enum class Risposta { OK, Si, No };

class IMessaggi {
public:
    virtual ~IMessaggi() = default;
    // Modal box; Domanda and DomandaConIcona have Yes and No, the others OK. Semplice and Errore use the
    // caption given (the application title "Tegolario" for plain boxes).
    virtual Risposta Mostra(TipoMessaggio tipo, const QString& caption, const QString& testo,
                            QObject* proprietario = nullptr) = 0;
};

class IApriSistema {
public:
    virtual ~IApriSistema() = default;
    // A file, folder or web address handed to the desktop's default handler.
    // verbo is "Open" or empty (the file type's default action). Outcome ignored.
    virtual void Apri(const QString& destinazione, const QString& verbo = QString()) = 0;
    // A document the program has just written, opened with its default program;
    // false when the computer has no program for it (the caller then says where it is).
    virtual bool ApriDocumento(const QString& file) {
        Apri(file);
        return true;
    }
};

class IDialoghiFile {
public:
    virtual ~IDialoghiFile() = default;
    // filtro is the list in the "Descrizione|*.a;*.b|..." form. Empty string: cancelled.
    virtual QString ApriFile(const QString& titolo, const QString& filtro, QObject* proprietario = nullptr) = 0;
    virtual QString SalvaFile(const QString& titolo, const QString& filtro, QObject* proprietario = nullptr) = 0;
    // A file to refer to, which need not exist; starts on iniziale (empty: no file name).
    virtual QString ScegliFile(const QString& titolo, const QString& filtro, const QString& iniziale,
                               QObject* proprietario = nullptr) = 0;
    // A folder: starts at the desktop with nothing selected, folders only, no button
    // for a new folder and no box for typing a path.
    virtual QString ScegliCartella(const QString& titolo, QObject* proprietario = nullptr) = 0;
};

class IOrologio {
public:
    virtual ~IOrologio() = default;
    virtual QDateTime Adesso() = 0;
    virtual int Casuale(int limite) = 0; // 0 <= n < limite
};

class ICursore {
public:
    virtual ~ICursore() = default;
    virtual void Occupato() = 0;  // hourglass
    virtual void Normale() = 0;
};

class IFile {
public:
    virtual ~IFile() = default;
    // Writes the whole file or nothing: false when it could not be written and
    // committed (a file already there is then left as it was).
    virtual bool Scrivi(const QString& percorso, const QByteArray& dati) = 0;
};

// The seams in force. main installs the real ones; tests install doubles.
namespace Piattaforma {
IMessaggi& Messaggi();
IApriSistema& ApriSistema();
IDialoghiFile& Dialoghi();
IOrologio& Orologio();
ICursore& Cursore();
IFile& File(); // the real file system unless a test installs another
void Imposta(IMessaggi*);
void Imposta(IApriSistema*);
void Imposta(IDialoghiFile*);
void Imposta(IOrologio*);
void Imposta(ICursore*);
void Imposta(IFile*);
// The folder of the running executable (overridable by tests).
QString CartellaProgramma();
void ImpostaCartellaProgramma(const QString& cartella);
QString PercorsoProgramma(const QString& nomeFile); // folder + "/" + name
// A file name for a C library that takes UTF-8 names on Windows and hands them to the
// system's wide-character calls there (libzip): UTF-8 on Windows, the file-system
// encoding elsewhere.
QByteArray NomeFileUtf8(const QString& file);
} // namespace Piattaforma

// Hourglass for the lifetime of the object.
class CursoreOccupato {
public:
    CursoreOccupato() { Piattaforma::Cursore().Occupato(); }
    ~CursoreOccupato() { Piattaforma::Cursore().Normale(); }
    CursoreOccupato(const CursoreOccupato&) = delete;
    CursoreOccupato& operator=(const CursoreOccupato&) = delete;
};

// A whole set of seams, installed at once and taken back when it goes away
// (the doubles then answer again).
template <class M, class A, class D, class O, class C> struct InsiemePiattaforma {
    M Messaggi;
    A ApriSistema;
    D Dialoghi;
    O Orologio;
    C Cursore;
    void Installa() {
        Piattaforma::Imposta(&Messaggi);
        Piattaforma::Imposta(&ApriSistema);
        Piattaforma::Imposta(&Dialoghi);
        Piattaforma::Imposta(&Orologio);
        Piattaforma::Imposta(&Cursore);
    }
    ~InsiemePiattaforma() {
        Piattaforma::Imposta(static_cast<IMessaggi*>(nullptr));
        Piattaforma::Imposta(static_cast<IApriSistema*>(nullptr));
        Piattaforma::Imposta(static_cast<IDialoghiFile*>(nullptr));
        Piattaforma::Imposta(static_cast<IOrologio*>(nullptr));
        Piattaforma::Imposta(static_cast<ICursore*>(nullptr));
    }
};
