#pragma once
// The automation double: records every call (object, kind, member, each argument
// with its type) and answers every read and call with a new recording object.
// Creating an application or a chosen call can be made to fail.
#include "platform/Automazione.h"

#include <QStringList>

struct TChiamataRegistrata {
    enum class Genere { Crea, Leggi, Imposta, Chiama };
    Genere Tipo;
    QString Oggetto;             // path of the object called; the identifier for Crea
    QString Membro;              // member name exactly as sent
    QList<TArgomento> Argomenti; // Leggi, Imposta: the indices; Chiama: the arguments
    TVariante Valore;            // Imposta: the value set

    // "Crea Excel.Application", "Leggi Excel.Application.Workbooks[I32 1]",
    // "Imposta Excel.Application.Visible := Bool false", "Chiama X.Add(I16 -4167)",
    // named arguments as "NumRows:=I32 10".
    QString Testo() const;
};

class FintaAutomazione : public IAutomazione {
public:
    FintaAutomazione();
    std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) override;

    const QList<TChiamataRegistrata>& Chiamate() const;
    QStringList Testi() const; // Testo() of every call, in order
    void Azzera();             // forgets the calls and the failures

    // Creating this application raises.
    void RifiutaCreazione(const QString& idProgramma);
    // The first call (read, set or method) on this member, compared without regard to
    // case, raises after being recorded.
    void RifiutaMembro(const QString& membro);

    struct Stato;

private:
    std::shared_ptr<Stato> m_stato;
};
