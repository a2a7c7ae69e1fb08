// The password routines and the password file. The input is used three ways: as
// stored hexadecimal text, as a clear password, and as the whole content of the
// password file, into which a new password is then written and read back.
#include "Fuzz.h"

#include "store/Password.h"

#include <QFile>

namespace {

int Cifra(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n)
{
    const QByteArray byte = Fuzz::Byte(dati, n);

    // As hexadecimal text: decodes exactly when every digit pair is hexadecimal, and
    // scrambling the result gives the same digits back in upper case.
    const QString esadecimale = QString::fromLatin1(byte);
    const auto chiaro = DecodificaPassword(esadecimale);
    const QByteArray coppie = byte.left(byte.size() / 2 * 2);
    bool tutteCifre = true;
    for (char c : coppie)
        tutteCifre = tutteCifre && Cifra(c) >= 0;
    VERIFICA(chiaro.has_value() == tutteCifre);
    if (chiaro) {
        VERIFICA(chiaro->size() == coppie.size() / 2);
        VERIFICA(CodificaPassword(*chiaro) == QString::fromLatin1(coppie.toUpper()));
    }

    // As a clear password: scrambling and unscrambling give it back.
    const QString codificata = CodificaPassword(byte);
    VERIFICA(codificata.size() == 2 * byte.size());
    const auto indietro = DecodificaPassword(codificata);
    VERIFICA(indietro && *indietro == byte);

    // As the password file: reading it never fails in an unexpected way, and a new
    // password written into it is the one that opens the program afterwards.
    const QString cartella = Fuzz::Cartella();
    Fuzz::ScriviFile(QLatin1String(FilePassword), byte);
    const EsitoAccesso prima = VerificaPassword(cartella, QStringLiteral("BENVENUTO"));
    VERIFICA(prima == EsitoAccesso::Giusta || prima == EsitoAccesso::Errata || prima == EsitoAccesso::ErroreLettura);
    VERIFICA(ScriviPassword(cartella, QStringLiteral("  nuova Chiave ")));
    VERIFICA(VerificaPassword(cartella, QStringLiteral("NUOVA CHIAVE")) == EsitoAccesso::Giusta);
    VERIFICA(VerificaPassword(cartella, QStringLiteral("nuova chiave x")) == EsitoAccesso::Errata);
    VERIFICA(CambiaPassword(cartella, QStringLiteral("nuova chiave"), QStringLiteral("Altra"),
                            QStringLiteral("Altra")) == EsitoCambio::Cambiata);
    VERIFICA(VerificaPassword(cartella, QStringLiteral("altra")) == EsitoAccesso::Giusta);
    return 0;
}
