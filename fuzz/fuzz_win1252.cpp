// Windows-1252 both ways. Every byte string survives the trip to text and back;
// every text that Windows-1252 can hold survives the trip to bytes and back, and
// any other character becomes exactly one '?'.
#include "Fuzz.h"

#include "store/Win1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    const QByteArray byte = Fuzz::Byte(dati, n);
    const QString testo = Win1252::ATesto(byte);
    VERIFICA(testo.size() == byte.size());
    VERIFICA(Win1252::Rappresentabile(testo));
    VERIFICA(Win1252::DaTesto(testo) == byte);

    // The same bytes read as UTF-16 text, as the keyboard or the clipboard may give it.
    const QString utf16(reinterpret_cast<const QChar*>(dati), qsizetype(n / 2));
    const QByteArray convertito = Win1252::DaTesto(utf16);
    if (Win1252::Rappresentabile(utf16)) {
        VERIFICA(Win1252::ATesto(convertito) == utf16);
    } else {
        VERIFICA(convertito.contains('?'));
        VERIFICA(convertito.size() <= utf16.size());
    }
    qsizetype j = 0;
    for (qsizetype i = 0; i < utf16.size(); ++i, ++j) {
        const QChar c = utf16.at(i);
        const bool coppia = c.isHighSurrogate() && i + 1 < utf16.size() && utf16.at(i + 1).isLowSurrogate();
        VERIFICA(j < convertito.size());
        if (coppia) {
            VERIFICA(convertito.at(j) == '?');
            ++i;
        } else if (Win1252::Rappresentabile(c)) {
            VERIFICA(Win1252::ATesto(convertito.mid(j, 1)) == QString(c));
        } else {
            VERIFICA(convertito.at(j) == '?');
        }
    }
    VERIFICA(j == convertito.size());
    return 0;
}
