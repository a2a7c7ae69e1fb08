#pragma once
// Shared by the libFuzzer harnesses: a check that stops the run with its reason,
// and a scratch folder of the process for the files a harness writes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a crash: libFuzzer keeps the input.
#define VERIFICA(condizione)                                                                       \
    do {                                                                                           \
        if (!(condizione)) {                                                                       \
            std::fprintf(stderr, "Verifica fallita: %s (%s:%d)\n", #condizione, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace Fuzz {

inline QString Cartella()
{
    // In memory where the system offers it: the harnesses write a file per input.
    static QTemporaryDir cartella((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                             : QDir::tempPath()) +
                                  QStringLiteral("/tegolario-fuzz-XXXXXX"));
    static const QString percorso = cartella.path();
    return percorso;
}

inline QByteArray Byte(const uint8_t* dati, size_t n)
{
    return QByteArray(reinterpret_cast<const char*>(dati), static_cast<qsizetype>(n));
}

// Writes the file in the scratch folder, replacing it, and returns its path.
inline QString ScriviFile(const QString& nome, const QByteArray& contenuto)
{
    const QString percorso = Cartella() + QLatin1Char('/') + nome;
    QFile f(percorso);
    VERIFICA(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    VERIFICA(f.write(contenuto) == contenuto.size());
    return percorso;
}

} // namespace Fuzz
