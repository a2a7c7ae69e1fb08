#pragma once
// The result list of the find windows: one fixed-height row per line, drawn by
// the list itself (background or selection colour, the line's own colour 2 pixels
// in from the left, at the row's top), over a horizontal extent of its own.
#include <QListView>

class TModelloElenco;

class ListaRisultati : public QListView {
    Q_OBJECT
public:
    static constexpr int AltezzaRiga = 14;

    explicit ListaRisultati(QWidget* parent = nullptr);
    // The width the list scrolls over horizontally, in pixels.
    void ImpostaEstensione(int pixel);
    int Estensione() const { return m_estensione; }
    TModelloElenco* Modello() const { return m_modello; }
    int Selezionata() const; // -1 when no line is selected
    void Seleziona(int riga); // and scrolls it into view

signals:
    // A double click anywhere on the list, as the list's owner reads its selection.
    void DoppioClic();

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    TModelloElenco* m_modello;
    int m_estensione = 0;
};
