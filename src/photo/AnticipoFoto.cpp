#include "photo/AnticipoFoto.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

bool g_abilitato = true;

// A pool of its own: Qt's global pool also serves Qt's own image work, which must
// never queue behind a photo being decoded. Two workers, so that the next and the
// previous card decode side by side on a machine with two cores.
QThreadPool& Operai()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(2);
        // No decoding may still run while the program takes itself apart.
        qAddPostRoutine([] {
            pool->clear();
            pool->waitForDone();
        });
        return p;
    }();
    return *pool;
}

} // namespace

struct TAnticipoFoto::Lavoro {
    TFoto Foto; // the worker's handle on the photo
    QSize Box;
    std::atomic<bool> Lasciato{false};
    std::mutex Mutex;
    std::condition_variable Fine;
    bool Finito = false;
};

TAnticipoFoto::~TAnticipoFoto() { Svuota(); }

bool TAnticipoFoto::Stessa(const Tenuta& t, qint64 id, const QByteArray& byte, QSize box)
{
    if (t.ID != id || t.Box != box)
        return false;
    const QByteArray& tenuti = t.Foto.Byte();
    if (tenuti.size() != byte.size())
        return false;
    // The step reads the bytes afresh from the archive: they are compared, not trusted.
    return tenuti.constData() == byte.constData() || tenuti == byte;
}

void TAnticipoFoto::Lascia(Tenuta& t)
{
    if (t.InCorso)
        t.InCorso->Lasciato = true; // a decoding under way ends on its own and is forgotten
    t.InCorso.reset();
}

void TAnticipoFoto::Raccogli(Tenuta& t)
{
    if (!t.InCorso)
        return;
    std::unique_lock<std::mutex> blocco(t.InCorso->Mutex);
    t.InCorso->Fine.wait(blocco, [&] { return t.InCorso->Finito; });
    blocco.unlock();
    t.InCorso.reset();
}

TFoto TAnticipoFoto::Foto(qint64 id, const QByteArray& byte, QSize box)
{
    if (byte.isEmpty())
        return TFoto();
    // Decoded, or being decoded, comes first.
    qsizetype trovata = -1;
    for (qsizetype i = 0; i < m_tenute.size(); ++i) {
        const Tenuta& t = m_tenute[i];
        if (!Stessa(t, id, byte, box))
            continue;
        if (t.InCorso || t.Foto.Decodificata(box)) {
            trovata = i;
            break;
        }
        if (trovata < 0)
            trovata = i;
    }
    if (trovata < 0) {
        // Decoded by the window itself when it paints; kept for a step back.
        m_tenute.append({id, box, TFoto::DaByte(byte), nullptr, false, false});
        trovata = m_tenute.size() - 1;
    }
    // Of the photos shown, only this one and the one shown before stay; the ones
    // decoded ahead stay until the window says what it wants next.
    for (qsizetype i = m_tenute.size() - 1; i >= 0; --i) {
        Tenuta& t = m_tenute[i];
        if (i == trovata || t.Anticipata)
            continue;
        if (t.Corrente) {
            t.Corrente = false;
            continue;
        }
        Lascia(t);
        m_tenute.removeAt(i);
        if (i < trovata)
            --trovata;
    }
    Tenuta& t = m_tenute[trovata];
    Raccogli(t);
    t.Corrente = true;
    t.Anticipata = false;
    return t.Foto;
}

void TAnticipoFoto::Prepara(const QList<Voce>& voci, QSize box)
{
    // Drop what is no longer wanted.
    for (qsizetype i = m_tenute.size() - 1; i >= 0; --i) {
        Tenuta& t = m_tenute[i];
        if (t.Corrente)
            continue;
        bool voluta = false;
        for (const Voce& v : voci)
            voluta = voluta || Stessa(t, v.ID, v.Byte, box);
        // A photo shown before but never painted is decoded afresh on a photo of its
        // own, which nobody else can be drawing meanwhile.
        if (voluta && !t.InCorso && !t.Foto.Decodificata(box))
            voluta = false;
        if (voluta) {
            t.Anticipata = true;
        } else {
            Lascia(t);
            m_tenute.removeAt(i);
        }
    }
    if (!g_abilitato)
        return;
    for (const Voce& v : voci) {
        if (v.Byte.isEmpty() || box.isEmpty())
            continue;
        bool tenuta = false;
        for (const Tenuta& t : std::as_const(m_tenute))
            tenuta = tenuta || (Stessa(t, v.ID, v.Byte, box) && (t.InCorso || t.Foto.Decodificata(box)));
        if (tenuta)
            continue;
        auto lavoro = std::make_shared<Lavoro>();
        lavoro->Foto = TFoto::DaByte(v.Byte);
        lavoro->Box = box;
        m_tenute.append({v.ID, box, lavoro->Foto, lavoro, false, true});
        Operai().start([lavoro] {
            if (!lavoro->Lasciato) {
                try {
                    lavoro->Foto.Immagine(lavoro->Box); // fills the photo's own cache
                } catch (...) {
                    // out of memory: the window decodes it again when it needs it
                }
            }
            lavoro->Foto = TFoto();
            std::lock_guard<std::mutex> blocco(lavoro->Mutex);
            lavoro->Finito = true;
            lavoro->Fine.notify_all();
        });
    }
}

void TAnticipoFoto::Svuota()
{
    for (Tenuta& t : m_tenute)
        Lascia(t);
    m_tenute.clear();
}

bool TAnticipoFoto::Tiene(qint64 id) const
{
    for (const Tenuta& t : m_tenute)
        if (t.ID == id)
            return true;
    return false;
}

int TAnticipoFoto::Anticipate() const
{
    int n = 0;
    for (const Tenuta& t : m_tenute)
        n += t.Corrente ? 0 : 1;
    return n;
}

void TAnticipoFoto::AttendiTutti()
{
    for (Tenuta& t : m_tenute)
        Raccogli(t);
}

bool TAnticipoFoto::InCorso() const
{
    for (const Tenuta& t : m_tenute) {
        if (!t.InCorso)
            continue;
        std::lock_guard<std::mutex> blocco(t.InCorso->Mutex);
        if (!t.InCorso->Finito)
            return true;
    }
    return false;
}

void TAnticipoFoto::Abilita(bool attivo) { g_abilitato = attivo; }

bool TAnticipoFoto::Abilitato() { return g_abilitato; }
