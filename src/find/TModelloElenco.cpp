#include "find/TModelloElenco.h"

#include <algorithm>
#include <numeric>

TModelloElenco::TModelloElenco(QObject* parent) : QAbstractListModel(parent) {}

bool TModelloElenco::Precede(const QString& a, const QString& b) {
    return a.toCaseFolded() < b.toCaseFolded();
}

void TModelloElenco::Imposta(const QStringList& righe, QColor colore) {
    // Folded once per line, not once per comparison.
    std::vector<QString> chiavi;
    chiavi.reserve(static_cast<size_t>(righe.size()));
    for (const QString& r : righe) chiavi.push_back(r.toCaseFolded());
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
