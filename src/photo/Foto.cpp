#include "photo/Foto.h"

#include "photo/Adattamento.h"
#include "photo/Decodifica.h"
#include "photo/Exif.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QFile>
#include <QList>

#include <optional>

struct TFoto::Dati {
    QByteArray Byte;
    // Filled on first use; an empty optional means not read yet.
    std::optional<Decodifica::Intestazione> Testata; // Grezza invalid: unreadable
    struct Voce {
        QSize Bersaglio;
        QImage Immagine;
    };
    QList<Voce> Cache; // most recent first
};

namespace {
constexpr int VociCache = 2;
const QByteArray NessunByte;

const Decodifica::Intestazione& TestataDi(QByteArray const& byte,
                                          std::optional<Decodifica::Intestazione>& testata)
{
    if (!testata)
        testata = Decodifica::LeggiIntestazione(byte).value_or(Decodifica::Intestazione{});
    return *testata;
}
} // namespace

TFoto TFoto::DaByte(const QByteArray& jpeg)
{
    TFoto f;
    f.d = std::make_shared<Dati>();
    f.d->Byte = jpeg;
    return f;
}

TFoto TFoto::DaFile(const QString& percorso)
{
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return DaByte(QByteArray());
    return DaByte(file.readAll());
}

bool TFoto::Vuota() const { return !d || d->Byte.isEmpty(); }

const QByteArray& TFoto::Byte() const { return d ? d->Byte : NessunByte; }

QSize TFoto::Dimensioni() const
{
    if (Vuota())
        return QSize();
    const Decodifica::Intestazione& t = TestataDi(d->Byte, d->Testata);
    if (!t.Grezza.isValid())
        return QSize();
    return Exif::Ruotata(t.Orientamento) ? t.Grezza.transposed() : t.Grezza;
}

QImage TFoto::Immagine(QSize box) const
{
    const QSize dritta = Dimensioni();
    if (!dritta.isValid())
        return QImage();
    const QSize bersaglio = Adattamento::Adatta(dritta, box).size();
    if (bersaglio.isEmpty())
        return QImage();
    for (qsizetype i = 0; i < d->Cache.size(); ++i) {
        if (d->Cache[i].Bersaglio == bersaglio) {
            if (i > 0)
                d->Cache.move(i, 0);
            return d->Cache.first().Immagine;
        }
    }

    QImage img = Decodifica::Decodifica(d->Byte, *d->Testata, bersaglio);
    if (img.isNull())
        return QImage();

    d->Cache.prepend({bersaglio, img});
    while (d->Cache.size() > VociCache)
        d->Cache.removeLast();
    return img;
}

bool TFoto::Decodificata(QSize box) const
{
    if (Vuota() || !d->Testata || !d->Testata->Grezza.isValid())
        return false;
    const QSize bersaglio = Adattamento::Adatta(Dimensioni(), box).size();
    for (const Dati::Voce& v : std::as_const(d->Cache))
        if (v.Bersaglio == bersaglio)
            return true;
    return false;
}

void PreparaMemoriaFoto()
{
#ifdef __GLIBC__
    // A full-screen picture is about 8 MB: such blocks come from the heap and stay
    // there for reuse, up to a bounded amount kept beyond what is in use. A picture
    // for a 4K screen (about 30 MB) is mapped on its own and handed back whole when
    // dropped, so that the heap never keeps such blocks beyond what is in use.
    mallopt(M_MMAP_THRESHOLD, 16 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    // One heap for every thread: a picture that a worker decoded and the window
    // dropped is reused by whichever thread decodes the next one, instead of
    // waiting in that worker's own heap.
    mallopt(M_ARENA_MAX, 1);
#endif
}
