#include "export/Griglia.h"

#include "store/TSQLiteDatabase.h"
#include "store/Testo.h"
#include "store/Win1252.h"

const std::array<TColonnaGriglia, 10> ColonneGriglia = {{
    {" N.", nullptr, 50},
    {" Riferimento", "varTitolo", 250},
    {" Descrizione", "varAutore", 350},
    {" Ubicazione", "varAlbum", 250},
    {" Vani", "varCategoria", 300},
    {" Metri quadri", "varData", 200},
    {" Prezzo", "varFotocamera", 200},
    {" Classe energetica", "varLuogo", 250},
    {" Condizioni", "varSoggetti", 250},
    {" Didascalia", "varDidascalia", 350},
}};

TGriglia::TGriglia() : m_celle(size_t(m_colonne) * size_t(m_righe)), m_larghezze(size_t(m_colonne), 100) {
    m_larghezze[6] = 208;
}

QString TGriglia::Cella(int colonna, int riga) const {
    Q_ASSERT(colonna >= 0 && colonna < m_colonne && riga >= 0 && riga < m_righe);
    const TCella& c = m_celle[size_t(riga) * size_t(m_colonne) + size_t(colonna)];
    return c.valore.isEmpty() ? c.testo : TestoCella(Win1252::ATesto(c.valore));
}

void TGriglia::ImpostaCella(int colonna, int riga, const QString& testo) {
    Q_ASSERT(colonna >= 0 && colonna < m_colonne && riga >= 0 && riga < m_righe);
    TCella& c = m_celle[size_t(riga) * size_t(m_colonne) + size_t(colonna)];
    c.testo = testo;
    c.valore.clear();
}

void TGriglia::ImpostaValore(int colonna, int riga, const QByteArray& win1252) {
    Q_ASSERT(colonna >= 0 && colonna < m_colonne && riga >= 0 && riga < m_righe);
    TCella& c = m_celle[size_t(riga) * size_t(m_colonne) + size_t(colonna)];
    c.testo.clear();
    c.valore = win1252;
}

void TGriglia::ImpostaRighe(int righe) {
    if (righe < 1) righe = 1;
    m_righe = righe;
    m_celle.resize(size_t(m_righe) * size_t(m_colonne));
}

int TGriglia::Larghezza(int colonna) const { return m_larghezze.at(size_t(colonna)); }

void TGriglia::ImpostaLarghezza(int colonna, int pixel) { m_larghezze.at(size_t(colonna)) = pixel; }

QString CellRef(int riga, int colonna) {
    QString lettere;
    for (int c = colonna; c > 0; c = (c - 1) / 26) lettere.prepend(QChar(u'A' + (c - 1) % 26));
    return lettere + QString::number(riga);
}

QString TestoCella(const QString& valore) {
    if (valore.size() <= 250) return Testo::Rifila(valore);
    return valore.left(250) + QStringLiteral("...");
}

QByteArray QueryGriglia(const QByteArray& tabella) {
    QByteArray colonne;
    for (const TColonnaGriglia& c : ColonneGriglia) {
        if (!c.Colonna) continue;
        if (!colonne.isEmpty()) colonne += ',';
        colonne += c.Colonna;
    }
    return "SELECT " + colonne + " FROM " + tabella + " ORDER BY ID";
}

void FillGrid(TGriglia& griglia, TSQLiteTable& risultato) {
    for (int r = 1; r < griglia.Righe(); ++r)
        for (int c = 0; c < griglia.Colonne(); ++c) griglia.ImpostaValore(c, r, QByteArray());
    for (int c = 0; c < griglia.Colonne(); ++c)
        griglia.ImpostaCella(c, 0, QString::fromLatin1(ColonneGriglia[size_t(c)].Intestazione));
    const int quante = int(risultato.Count());
    griglia.ImpostaRighe(quante + 1);

    std::array<int, 10> indici{};
    if (quante > 0)
        for (int c = 1; c < 10; ++c) indici[size_t(c)] = risultato.ColumnIndex(ColonneGriglia[size_t(c)].Colonna);
    for (int n = 1; n <= quante; ++n) {
        std::array<QByteArray, 10> valori;
        for (int c = 1; c < 10; ++c) valori[size_t(c)] = risultato.ColumnBlobText(indici[size_t(c)]);
        if (!risultato.Eof()) risultato.Next();
        griglia.ImpostaCella(0, n, QString::number(n));
        for (int c = 1; c < 10; ++c) griglia.ImpostaValore(c, n, valori[size_t(c)]);
    }
    for (int c = 0; c < 10; ++c) griglia.ImpostaLarghezza(c, ColonneGriglia[size_t(c)].Larghezza);
}

TModelloGriglia::TModelloGriglia(QObject* parent) : QAbstractTableModel(parent) {}

void TModelloGriglia::Cambia(const std::function<void(TGriglia&)>& modifica) {
    beginResetModel();
    struct Fine {
        TModelloGriglia* m;
        ~Fine() { m->endResetModel(); }
    } fine{this};
    modifica(m_griglia);
}

int TModelloGriglia::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_griglia.Righe() - 1;
}

int TModelloGriglia::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_griglia.Colonne() - 1;
}

QVariant TModelloGriglia::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return QVariant();
    return m_griglia.Cella(ColonnaGriglia(index), RigaGriglia(index));
}

QVariant TModelloGriglia::headerData(int sezione, Qt::Orientation orientamento, int role) const {
    if (role != Qt::DisplayRole || sezione < 0) return QVariant();
    if (orientamento == Qt::Horizontal)
        return sezione + 1 < m_griglia.Colonne() ? QVariant(m_griglia.Cella(sezione + 1, 0)) : QVariant();
    return sezione + 1 < m_griglia.Righe() ? QVariant(m_griglia.Cella(0, sezione + 1)) : QVariant();
}

Qt::ItemFlags TModelloGriglia::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable; // never editable
}
