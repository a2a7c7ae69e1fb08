#include "store/Password.h"

#include "store/Testo.h"
#include "store/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr quint16 ChiaveIniziale = 20963;
const QByteArray Sezione = "Accesso";
const QByteArray Chiave = "Valore";

quint16 ProssimaChiave(quint16 chiave, quint8 c)
{
    return quint16((quint32(chiave) + c) * 40087u + 27143u);
}

int Cifra(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QString PercorsoFile(const QString& cartella)
{
    return QDir(cartella).filePath(QLatin1String(FilePassword));
}

// ---- The few INI rules the password file needs ----
// Section and key names compare case-insensitively and ignore surrounding blanks;
// lines starting with ';' are comments.

struct Riga {
    QByteArray Testo; // without its line ending
    QByteArray Fine;  // "\r\n", "\n" or empty for a last line without one
};

QList<Riga> Righe(const QByteArray& contenuto)
{
    QList<Riga> righe;
    qsizetype inizio = 0;
    while (inizio < contenuto.size()) {
        qsizetype a = contenuto.indexOf('\n', inizio);
        Riga r;
        if (a < 0) {
            r.Testo = contenuto.mid(inizio);
            inizio = contenuto.size();
        } else {
            qsizetype fineTesto = a;
            if (fineTesto > inizio && contenuto.at(fineTesto - 1) == '\r')
                --fineTesto;
            r.Testo = contenuto.mid(inizio, fineTesto - inizio);
            r.Fine = contenuto.mid(fineTesto, a + 1 - fineTesto);
            inizio = a + 1;
        }
        righe.append(r);
    }
    return righe;
}

bool UgualeSenzaMaiuscole(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name when the line is a section header.
std::optional<QByteArray> NomeSezione(const QByteArray& riga)
{
    const QByteArray t = riga.trimmed();
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const qsizetype chiusa = t.indexOf(']');
    if (chiusa < 0)
        return std::nullopt;
    return t.mid(1, chiusa - 1).trimmed();
}

bool ERigaChiave(const QByteArray& riga, const QByteArray& chiave)
{
    const QByteArray t = riga.trimmed();
    if (t.startsWith(';'))
        return false;
    const qsizetype uguale = t.indexOf('=');
    return uguale > 0 && UgualeSenzaMaiuscole(t.left(uguale).trimmed(), chiave);
}

enum class Lettura { Trovato, Assente, Errore };

// Reads [Accesso] Valore. A missing file, section or key reads as an empty value.
Lettura LeggiValore(const QString& percorso, QByteArray& valore)
{
    valore.clear();
    QFile file(percorso);
    if (!file.exists())
        return Lettura::Assente;
    if (!file.open(QIODevice::ReadOnly))
        return Lettura::Errore;
    const QByteArray contenuto = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Lettura::Errore;
    bool nellaSezione = false;
    for (const Riga& r : Righe(contenuto)) {
        if (const auto nome = NomeSezione(r.Testo)) {
            nellaSezione = UgualeSenzaMaiuscole(*nome, Sezione);
            continue;
        }
        if (nellaSezione && ERigaChiave(r.Testo, Chiave)) {
            QByteArray v = r.Testo.mid(r.Testo.indexOf('=') + 1).trimmed();
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
                v = v.mid(1, v.size() - 2);
            valore = v;
            return Lettura::Trovato;
        }
    }
    return Lettura::Assente;
}

// Writes [Accesso] Valore, replacing only that value and keeping every other
// line; the file is replaced in one step, so a failure leaves the old one.
bool ScriviValore(const QString& percorso, const QByteArray& valore)
{
    QByteArray contenuto;
    {
        QFile file(percorso);
        if (file.exists()) {
            if (!file.open(QIODevice::ReadOnly))
                return false;
            contenuto = file.readAll();
            if (file.error() != QFileDevice::NoError)
                return false;
        }
    }
    QList<Riga> righe = Righe(contenuto);
    QByteArray a_capo = "\r\n";
    for (const Riga& r : righe) {
        if (!r.Fine.isEmpty()) {
            a_capo = r.Fine;
            break;
        }
    }

    qsizetype sezione = -1, fineSezione = righe.size(), rigaChiave = -1;
    for (qsizetype i = 0; i < righe.size(); ++i) {
        if (const auto nome = NomeSezione(righe[i].Testo)) {
            if (sezione >= 0) {
                fineSezione = i;
                break;
            }
            if (UgualeSenzaMaiuscole(*nome, Sezione))
                sezione = i;
            continue;
        }
        if (sezione >= 0 && rigaChiave < 0 && ERigaChiave(righe[i].Testo, Chiave))
            rigaChiave = i;
    }

    if (rigaChiave >= 0) {
        Riga& r = righe[rigaChiave];
        r.Testo = r.Testo.left(r.Testo.indexOf('=') + 1) + valore;
    } else {
        if (!righe.isEmpty() && righe.last().Fine.isEmpty())
            righe.last().Fine = a_capo;
        if (sezione < 0) {
            sezione = righe.size();
            righe.append({'[' + Sezione + ']', a_capo});
            fineSezione = righe.size();
        }
        // After the section's last non-blank line.
        qsizetype dove = fineSezione;
        while (dove > sezione + 1 && righe[dove - 1].Testo.trimmed().isEmpty())
            --dove;
        righe.insert(dove, {Chiave + '=' + valore, a_capo});
    }

    QByteArray nuovo;
    for (const Riga& r : righe)
        nuovo += r.Testo + r.Fine;
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(nuovo) != nuovo.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The stored password in clear and trimmed; nullopt when the file cannot be read
// or its value is not hexadecimal.
std::optional<QByteArray> PasswordMemorizzata(const QString& cartella)
{
    QByteArray valore;
    if (LeggiValore(PercorsoFile(cartella), valore) == Lettura::Errore)
        return std::nullopt;
    const auto chiaro = DecodificaPassword(QString::fromLatin1(valore));
    if (!chiaro)
        return std::nullopt;
    return Testo::Rifila(*chiaro);
}

} // namespace

QString CodificaPassword(const QByteArray& chiaro)
{
    QString esadecimale;
    esadecimale.reserve(chiaro.size() * 2);
    quint16 chiave = ChiaveIniziale;
    static const char cifre[] = "0123456789ABCDEF";
    for (const char byte : chiaro) {
        const quint8 c = quint8(byte) ^ quint8(chiave >> 8);
        esadecimale += QLatin1Char(cifre[c >> 4]);
        esadecimale += QLatin1Char(cifre[c & 0xF]);
        chiave = ProssimaChiave(chiave, c);
    }
    return esadecimale;
}

std::optional<QByteArray> DecodificaPassword(const QString& esadecimale)
{
    const qsizetype n = esadecimale.size() / 2;
    QByteArray chiaro;
    chiaro.reserve(n);
    quint16 chiave = ChiaveIniziale;
    for (qsizetype i = 0; i < n; ++i) {
        const int alta = Cifra(esadecimale.at(2 * i)), bassa = Cifra(esadecimale.at(2 * i + 1));
        if (alta < 0 || bassa < 0)
            return std::nullopt;
        const quint8 c = quint8(alta << 4 | bassa);
        chiaro += char(c ^ quint8(chiave >> 8));
        chiave = ProssimaChiave(chiave, c);
    }
    return chiaro;
}

QByteArray FormaCanonica(const QString& digitata)
{
    QByteArray byte = Win1252::DaTesto(digitata);
    // Only a to z: accented letters keep the case they were typed in.
    for (char& c : byte) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return Testo::Rifila(byte);
}

EsitoAccesso VerificaPassword(const QString& cartella, const QString& digitata)
{
    const auto memorizzata = PasswordMemorizzata(cartella);
    if (!memorizzata)
        return EsitoAccesso::ErroreLettura;
    // An empty stored value (no file, section or key) never opens the program.
    if (memorizzata->isEmpty() || *memorizzata != FormaCanonica(digitata))
        return EsitoAccesso::Errata;
    return EsitoAccesso::Giusta;
}

EsitoCambio CambiaPassword(const QString& cartella, const QString& vecchia, const QString& nuova,
                           const QString& conferma)
{
    const auto memorizzata = PasswordMemorizzata(cartella);
    if (!memorizzata)
        return EsitoCambio::Errore;
    if (memorizzata->isEmpty() || *memorizzata != FormaCanonica(vecchia))
        return EsitoCambio::VecchiaErrata;
    if (Testo::Rifila(nuova) != Testo::Rifila(conferma))
        return EsitoCambio::ConfermaDiversa;
    return ScriviPassword(cartella, nuova) ? EsitoCambio::Cambiata : EsitoCambio::Errore;
}

bool ScriviPassword(const QString& cartella, const QString& chiaro)
{
    const QByteArray canonica = FormaCanonica(chiaro);
    // A blank password could never be typed back: refuse it rather than lock the program.
    if (canonica.isEmpty())
        return false;
    return ScriviValore(PercorsoFile(cartella), CodificaPassword(canonica).toLatin1());
}
