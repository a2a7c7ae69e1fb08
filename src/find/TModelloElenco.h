#pragma once
// The lines of a result list, kept sorted ascending by the whole line without
// regard to case; each line carries its own text colour. One sort per filling, so
// that ten thousand lines appear at once.
#include <QAbstractListModel>
#include <QColor>
#include <QStringList>

#include <vector>

class TModelloElenco : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TModelloElenco(QObject* parent = nullptr);

    // Replaces the lines; they take their sorted places. Equal lines keep their order.
    void Imposta(const QStringList& righe, QColor colore = Qt::black);
    void Svuota();
    int Conteggio() const { return static_cast<int>(m_voci.size()); }
    const QString& Riga(int i) const { return m_voci[static_cast<size_t>(i)].Testo; }
    QColor Colore(int i) const { return m_voci[static_cast<size_t>(i)].Colore; }
    QStringList Righe() const; // in the order shown

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;

private:
    struct Voce {
        QString Testo;
        QColor Colore;
    };
    std::vector<Voce> m_voci;
};
