// The result line from any stored bytes: every field sits at its place and width,
// whatever the bytes; and the in-list find lands on a line holding the key.
#include "Fuzz.h"

#include "find/RigaRisultato.h"
#include "store/Testo.h"
#include "store/Win1252.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// A field as the layout shows it: trimmed, then padded or cut to its width.
QString Campo(const QByteArray& b, int larghezza)
{
    return Testo::Rifila(Win1252::ATesto(b)).leftJustified(larghezza, QLatin1Char(' '), true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    FuzzedDataProvider fdp(dati, n);
    QByteArray campi[5];
    for (QByteArray& c : campi) {
        const std::string s = fdp.ConsumeRandomLengthString(40);
        c = QByteArray(s.data(), qsizetype(s.size()));
    }
    const QString riga = RigaRisultato::Componi(campi[0], campi[1], campi[2], campi[3], campi[4]);
    const QString attesa = QStringLiteral("Rif. ") + Campo(campi[0], 20) + QStringLiteral("  Vani: ") +
                           Campo(campi[1], 15) + QStringLiteral("  MQ: ") + Campo(campi[2], 10) +
                           QString::fromUtf8("  € ") + Campo(campi[3], 12) + QStringLiteral("  ") +
                           Testo::Rifila(Win1252::ATesto(campi[4]));
    VERIFICA(riga == attesa);

    // The in-list find over a few such lines.
    QStringList righe;
    while (righe.size() < 6 && fdp.remaining_bytes() > 0) {
        const std::string s = fdp.ConsumeRandomLengthString(30);
        righe << Win1252::ATesto(QByteArray(s.data(), qsizetype(s.size())));
    }
    if (righe.isEmpty())
        return 0;
    const std::string k = fdp.ConsumeRandomLengthString(4);
    const QString chiave = Win1252::ATesto(QByteArray(k.data(), qsizetype(k.size())));
    QString ultima;
    const int trovata = TrovaInLista::Trova(righe, -1, chiave, ultima);
    VERIFICA(trovata >= 0 && trovata < righe.size());
    VERIFICA(ultima == RigaRisultato::MinuscoleAZ(chiave));
    bool qualcuna = false;
    for (const QString& r : righe)
        qualcuna = qualcuna || RigaRisultato::MinuscoleAZ(r).contains(ultima);
    if (qualcuna && !chiave.isEmpty())
        VERIFICA(RigaRisultato::MinuscoleAZ(righe.at(trovata)).contains(ultima));
    return 0;
}
