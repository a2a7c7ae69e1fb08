#pragma once
// The export grid: text cells addressed (column, row), ten columns, row 0 the
// headings and column 0 the ordinals, with a width per column; and its
// presentation as a table model (row 0 and column 0 as the headers).
#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class TSQLiteTable;

struct TColonnaGriglia {
    const char* Intestazione; // " Riferimento", with its leading blank
    const char* Colonna;      // "varTitolo"; none for the ordinal
    int Larghezza;            // pixels
};
// Column 0 is the ordinal " N.", then the nine exported fields.
extern const std::array<TColonnaGriglia, 10> ColonneGriglia;

class TGriglia {
public:
    // Before the first filling: 10 x 10 empty cells, every column 100 pixels wide
    // except column 6 (208).
    TGriglia();
    int Colonne() const { return m_colonne; }
    int Righe() const { return m_righe; }
    QString Cella(int colonna, int riga) const;
    void ImpostaCella(int colonna, int riga, const QString& testo);
    // A field value as the archive holds it (Windows-1252): the cell shows it by the
    // cell text rule. Converted only when read, so that filling stays as fast as
    // reading the archive; the view reads the cells it shows.
    void ImpostaValore(int colonna, int riga, const QByteArray& win1252);
    // Rows beyond the new count are dropped; new rows are empty.
    void ImpostaRighe(int righe);
    int Larghezza(int colonna) const;
    void ImpostaLarghezza(int colonna, int pixel);

private:
    int m_colonne = 10;
    int m_righe = 10;
    struct TCella {
        QString testo;
        QByteArray valore; // when set, the text is made from it
    };
    std::vector<TCella> m_celle; // row-major
    std::vector<int> m_larghezze;
};

// "A1" style: the column letter(s), then the row number. CellRef(11, 10) is "J11".
QString CellRef(int riga, int colonna);

// A value of at most 250 characters, trimmed; a longer one, its first 250
// characters untrimmed followed by "...".
QString TestoCella(const QString& valore);

// The grid's statement: the nine exported columns in adding order, never the photo.
QByteArray QueryGriglia(const QByteArray& tabella);

// Rebuilds the grid from the result, which stands at its first row: headings, one
// row per card with its ordinal, the cell text rule, the widths of the column table.
void FillGrid(TGriglia& griglia, TSQLiteTable& risultato);

// The grid as a table model: cell (c, r) of the grid is index (r - 1, c - 1);
// row 0 and column 0 are the header texts, cell (0, 0) the corner.
class TModelloGriglia : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TModelloGriglia(QObject* parent = nullptr);
    const TGriglia& Griglia() const { return m_griglia; }
    // Changes the grid and tells the views that everything changed.
    void Cambia(const std::function<void(TGriglia&)>& modifica);
    QString Angolo() const { return m_griglia.Cella(0, 0); }
    // The grid cell shown at a model index.
    static int ColonnaGriglia(const QModelIndex& i) { return i.column() + 1; }
    static int RigaGriglia(const QModelIndex& i) { return i.row() + 1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TGriglia m_griglia;
};
