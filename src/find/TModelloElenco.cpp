#include "find/TModelloElenco.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

// Lower case through a table for the first 256 characters, where the lines' text
// lives almost whole; Unicode's own rule for the rest. Much cheaper per line than
// full case folding, and just as blind to case for the archive's characters.
QString Chiave(const QString& riga) {
    static const auto tabella = [] {
        std::array<char16_t, 256> t{};
        for (int c = 0; c < 256; ++c) {
            const char16_t minuscola = QChar(char16_t(c)).toLower().unicode();
            t[static_cast<size_t>(c)] = minuscola < 256 ? minuscola : char16_t(c);
        }
        return t;
    }();
    QString k(riga.size(), Qt::Uninitialized);
    QChar* d = k.data();
    const QChar* s = riga.constData();
    for (qsizetype i = 0; i < riga.size(); ++i) {
        const char16_t c = s[i].unicode();
        d[i] = QChar(c < 256 ? tabella[c] : QChar(c).toLower().unicode());
    }
    return k;
}

} // namespace

TModelloElenco::TModelloElenco(QObject* parent) : QAbstractListModel(parent) {}

void TModelloElenco::Imposta(const QStringList& righe, QColor colore) {
    // Folded once per line, not once per comparison.
    std::vector<QString> chiavi;
    chiavi.reserve(static_cast<size_t>(righe.size()));
    for (const QString& r : righe) chiavi.push_back(Chiave(r));
    std::vector<int> ordine(static_cast<size_t>(righe.size()));
    std::iota(ordine.begin(), ordine.end(), 0);
    std::stable_sort(ordine.begin(), ordine.end(), [&](int a, int b) {
        return chiavi[static_cast<size_t>(a)] < chiavi[static_cast<size_t>(b)];
    });

    beginResetModel();
    m_voci.clear();
    m_voci.reserve(ordine.size());
    for (int i : ordine) m_voci.push_back({righe.at(i), colore});
    endResetModel();
}

void TModelloElenco::Svuota() {
    if (m_voci.empty()) return;
    beginResetModel();
    m_voci.clear();
    endResetModel();
}

QStringList TModelloElenco::Righe() const {
    QStringList r;
    r.reserve(Conteggio());
    for (const Voce& v : m_voci) r.append(v.Testo);
    return r;
}

int TModelloElenco::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Conteggio();
}

QVariant TModelloElenco::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid() || indice.row() < 0 || indice.row() >= Conteggio()) return {};
    const Voce& v = m_voci[static_cast<size_t>(indice.row())];
    if (ruolo == Qt::DisplayRole) return v.Testo;
    if (ruolo == Qt::ForegroundRole) return v.Colore;
    return {};
}
