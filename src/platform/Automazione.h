#pragma once
// Late-bound automation, as the office applications are driven: an object is
// created from a programmatic identifier, and on any object a property is read
// (with index arguments), set, or a method called, by member name, with variant
// arguments. Member names are compared without regard to case, as a real
// automation server does.
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

class IOggettoAutomazione;
class TMatrice;

// A refused call, an object that cannot be created, a document that cannot be written.
class EAutomazione : public std::runtime_error {
public:
    explicit EAutomazione(const QString& messaggio);
    QString Messaggio() const { return m_messaggio; }

private:
    QString m_messaggio;
};

class TVariante {
public:
    enum class Tipo { Vuoto, Intero16, Intero32, Booleano, Stringa, Matrice, Oggetto };

    TVariante() = default; // empty
    static TVariante Intero16(qint16 v);
    static TVariante Intero32(qint32 v);
    static TVariante Booleano(bool v);
    static TVariante Stringa(const QString& v);
    static TVariante Matrice(std::shared_ptr<const TMatrice> m);
    static TVariante Oggetto(std::shared_ptr<IOggettoAutomazione> o);

    Tipo TipoValore() const { return static_cast<Tipo>(m_valore.index()); }
    bool Vuoto() const { return TipoValore() == Tipo::Vuoto; }

    // Readings with the coercions a server applies; a value of another kind raises.
    qint32 ComeIntero() const;  // 16- or 32-bit integers
    bool ComeBooleano() const;  // booleans and integers (non-zero is true)
    QString ComeStringa() const; // strings only
    const TMatrice& ComeMatrice() const;
    std::shared_ptr<IOggettoAutomazione> ComeOggetto() const;

    // "I16 -4167", "I32 1", "Bool true", "Str \"A1\"", "Array 11x10", "Obj <path>", "Empty".
    QString Descrizione() const;

private:
    std::variant<std::monostate, qint16, qint32, bool, QString, std::shared_ptr<const TMatrice>,
                 std::shared_ptr<IOggettoAutomazione>>
        m_valore;
};

// A two-dimensional array of values, both indices counted from 1 (row, then column).
class TMatrice {
public:
    TMatrice(int righe, int colonne);
    int Righe() const { return m_righe; }
    int Colonne() const { return m_colonne; }
    const TVariante& At(int riga, int colonna) const;
    void Imposta(int riga, int colonna, TVariante v);

private:
    int m_righe, m_colonne;
    std::vector<TVariante> m_valori;
};

// One argument of a method call: positional when Nome is empty.
struct TArgomento {
    QString Nome;
    TVariante Valore;
};

class IOggettoAutomazione {
public:
    virtual ~IOggettoAutomazione() = default;
    virtual TVariante Leggi(const QString& proprieta, const QList<TVariante>& indici = {}) = 0;
    virtual void Imposta(const QString& proprieta, const TVariante& valore,
                         const QList<TVariante>& indici = {}) = 0;
    virtual TVariante Chiama(const QString& metodo, const QList<TArgomento>& argomenti = {}) = 0;
    // What the object is, for messages and recordings ("Excel.Application.Workbooks").
    virtual QString Percorso() const = 0;
};

class IAutomazione {
public:
    virtual ~IAutomazione() = default;
    // Raises EAutomazione when no such application can be started.
    virtual std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) = 0;
    // Notes for the user gathered during the calls (a document written but not
    // opened), handed over once, to be shown after the busy cursor is gone.
    virtual QStringList PrendiAvvisi() { return {}; }
};

// An object reference that reads like the call chains it is used in.
class TRif {
public:
    explicit TRif(std::shared_ptr<IOggettoAutomazione> o);
    TRif Leggi(const QString& proprieta, const QList<TVariante>& indici = {}) const;
    void Imposta(const QString& proprieta, const TVariante& valore, const QList<TVariante>& indici = {}) const;
    TVariante Chiama(const QString& metodo, const QList<TArgomento>& argomenti = {}) const;
    TVariante ComeVariante() const { return TVariante::Oggetto(m_oggetto); }
    IOggettoAutomazione& operator*() const { return *m_oggetto; }

private:
    std::shared_ptr<IOggettoAutomazione> m_oggetto;
};

// Argument shorthands for the call tables.
namespace Arg {
inline TArgomento I16(qint16 v) { return {QString(), TVariante::Intero16(v)}; }
inline TArgomento I32(qint32 v) { return {QString(), TVariante::Intero32(v)}; }
inline TArgomento Bool(bool v) { return {QString(), TVariante::Booleano(v)}; }
inline TArgomento Str(const QString& v) { return {QString(), TVariante::Stringa(v)}; }
inline TArgomento Nome(const QString& nome, TVariante v) { return {nome, std::move(v)}; }
} // namespace Arg

// The automation in force: main installs the office-document engine, tests a
// double. With none installed no application can be created, so an export ends
// in its failure message instead of doing something unseen.
namespace Automazione {
IAutomazione& Server();
void Imposta(IAutomazione* server);
} // namespace Automazione
