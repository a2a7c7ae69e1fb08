#pragma once
// The export window's grid: a table view over TModelloGriglia with the heading
// row and the ordinal column fixed (they are the view's headers), sky-blue
// headings, alternating row colours that selection does not change, text 2
// pixels in from the cell's corner and clipped, range selection, resizable
// columns, no editing.
#include <QTableView>

class TGriglia;
class TModelloGriglia;

class VistaGriglia : public QTableView {
    Q_OBJECT
public:
    explicit VistaGriglia(QWidget* parent = nullptr);
    void ImpostaModello(TModelloGriglia* modello);
    // The widths of the grid's columns, the ordinal column included.
    void ApplicaLarghezze(const TGriglia& griglia);
    // The text of the current (selected) cell.
    QString TestoCorrente() const;
    QWidget* Angolo() const { return m_angolo; }

    static QColor ColoreIntestazioni() { return QColor(166, 202, 240); }
    static QColor ColoreRigaDispari() { return QColor(223, 235, 255); }
    static QColor ColoreRigaPari() { return QColor(249, 255, 225); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    TModelloGriglia* m_modello = nullptr;
    QWidget* m_angolo = nullptr; // the view's corner button, drawn as the first heading
};
