#include "store/Win1252.h"

namespace {

// 0x80..0x9F; the five unassigned bytes keep the C1 control of the same value.
constexpr char16_t Tabella80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a character, or -1 when it has none.
int Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (Tabella80[i] == c) return 0x80 + i;
    return -1;
}

} // namespace

namespace Win1252 {

QString ATesto(const QByteArray& byte) {
    QString testo(byte.size(), Qt::Uninitialized);
    QChar* d = testo.data();
    for (qsizetype i = 0; i < byte.size(); ++i) {
        const uchar b = static_cast<uchar>(byte.at(i));
        d[i] = QChar(b >= 0x80 && b < 0xA0 ? Tabella80[b - 0x80] : char16_t(b));
    }
    return testo;
}

QByteArray DaTesto(const QString& testo) {
    QByteArray byte;
    byte.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        // A character outside the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate()) ++i;
        const int b = Byte(c.unicode());
        byte.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return byte;
}

bool Rappresentabile(QChar c) { return Byte(c.unicode()) >= 0; }

bool Rappresentabile(const QString& testo) {
    for (QChar c : testo)
        if (!Rappresentabile(c)) return false;
    return true;
}

} // namespace Win1252
