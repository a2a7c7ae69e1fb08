#include "card/FinestreScheda.h"

namespace {
FinestreScheda::Ricerca& Installata() {
    static FinestreScheda::Ricerca r;
    return r;
}
} // namespace

namespace FinestreScheda {
void Imposta(Ricerca ricerca) { Installata() = std::move(ricerca); }
QWidget* Finestra(const QString& nomeOggetto) { return Installata() ? Installata()(nomeOggetto) : nullptr; }
} // namespace FinestreScheda
