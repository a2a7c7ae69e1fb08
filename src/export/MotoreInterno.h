#pragma once
// Shared pieces of the office-document engine's objects (not for other code).
#include "platform/Automazione.h"
#include "export/MotoreDocumenti.h"

#include <initializer_list>
#include <optional>
#include <vector>

namespace Motore {

// Member names compare without regard to case, as automation servers do.
bool Uguale(const QString& a, const char* b);
[[noreturn]] void Errore(const QString& testo);
[[noreturn]] void Sconosciuto(const QString& oggetto, const QString& membro);
void SenzaIndici(const QString& oggetto, const QString& membro, const QList<TVariante>& indici);
void SenzaArgomenti(const QString& oggetto, const QString& membro, const QList<TArgomento>& argomenti);

// Positional then named arguments matched to the parameter names; an unknown or
// repeated name, or too many arguments, raises. Missing ones are empty.
std::vector<TVariante> Parametri(const QString& oggetto, const QString& metodo, const QList<TArgomento>& argomenti,
                                 std::initializer_list<const char*> nomi);

// The documents folder, created when missing; raises when it cannot be.
QString CartellaDocumenti(const TMotoreDocumenti::Servizi& servizi);
// A file has been written: noted, then opened; when no program opens it, a note
// naming the file waits for the caller to show it.
void Consegna(TMotoreDocumenti::Servizi& servizi, const QString& file);

std::shared_ptr<IOggettoAutomazione> CreaExcel(std::shared_ptr<TMotoreDocumenti::Servizi> servizi);
std::shared_ptr<IOggettoAutomazione> CreaWord(std::shared_ptr<TMotoreDocumenti::Servizi> servizi);

} // namespace Motore
