#pragma once
// Photos decoded ahead of need. While a window shows one card, the photos of the
// cards it is likely to show next are decoded for its picture box on a worker
// thread, so that the next step paints a ready picture. Each photo is held with
// its card number and its bytes and is used only for that card with those very
// bytes and that box: what is shown is always what the archive holds when the
// step runs. Used on the user-interface thread only; the worker never touches a
// photo that the window can see until its decoding has ended.
#include "photo/Foto.h"

#include <QByteArray>
#include <QList>
#include <QSize>

#include <memory>

class TAnticipoFoto {
public:
    // A card and its photo bytes, as the archive holds them.
    struct Voce {
        qint64 ID = 0;
        QByteArray Byte;
    };

    TAnticipoFoto() = default;
    ~TAnticipoFoto();
    TAnticipoFoto(const TAnticipoFoto&) = delete;
    TAnticipoFoto& operator=(const TAnticipoFoto&) = delete;

    // The photo to show for card id: the one decoded ahead when the card, the
    // bytes and the box match (waiting for its decoding if it is still running),
    // otherwise a new photo from the bytes. Empty bytes give an empty photo. The
    // photo becomes the current one: it is kept, so that stepping back to it
    // later finds it decoded.
    TFoto Foto(qint64 id, const QByteArray& byte, QSize box);

    // The cards wanted next. Photos held for other cards (or for other bytes or
    // another box) are dropped, except the current one; the missing ones start
    // decoding on the worker thread.
    void Prepara(const QList<Voce>& voci, QSize box);

    // Drops everything (the window is hidden).
    void Svuota();

    // Whether a photo is held for card id (decoded or being decoded).
    bool Tiene(qint64 id) const;
    // Photos held besides the current one.
    int Anticipate() const;
    // Waits until every decoding started so far has ended.
    void AttendiTutti();
    // Whether a decoding is still under way on the worker thread.
    bool InCorso() const;

    // The benchmark compares stepping with and without decoding ahead.
    static void Abilita(bool attivo);
    static bool Abilitato();

private:
    struct Lavoro;
    struct Tenuta {
        qint64 ID = 0;
        QSize Box;
        TFoto Foto;
        std::shared_ptr<Lavoro> InCorso; // none once collected, or when never sent to the worker
        bool Corrente = false;   // the photo on display
        bool Anticipata = false; // decoded ahead, not shown yet
    };
    static bool Stessa(const Tenuta& t, qint64 id, const QByteArray& byte, QSize box);
    static void Lascia(Tenuta& t); // dropped: a decoding not yet begun is skipped
    static void Raccogli(Tenuta& t); // waits for the worker; the photo is then this thread's

    QList<Tenuta> m_tenute;
};
