#pragma once
// A photo is its JPEG bytes plus the images decoded from them, one per target
// size. The bytes are never re-encoded: they are what is stored and saved.
#include "photo/Adattamento.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>


// Keeps the memory of decoded pictures in the process for the next photo instead
// of returning it to the system and faulting it in again page by page (glibc).
// Called once at start by the program.
void PreparaMemoriaFoto();

class TFoto {
public:
    TFoto() = default; // no picture
    static TFoto DaByte(const QByteArray& jpeg);
    // Reads the file; an unreadable file gives a photo with no bytes.
    static TFoto DaFile(const QString& percorso);

    bool Vuota() const;             // no bytes at all
    const QByteArray& Byte() const; // the bytes exactly as loaded
    // Size of the upright picture (EXIF orientation applied) read from the header;
    // an invalid size when the bytes are not a decodable JPEG within the limits.
    QSize Dimensioni() const;
    bool Decodificabile() const { return Dimensioni().isValid(); }
    // The picture decoded straight to the size the fitting rule gives for the box.
    // A null image when the bytes cannot be decoded. Cached per box size.
    QImage Immagine(QSize box) const;

private:
    struct Dati;
    std::shared_ptr<Dati> d;
};
