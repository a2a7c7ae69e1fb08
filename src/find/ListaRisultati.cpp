#include "find/ListaRisultati.h"

#include "find/TModelloElenco.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

class DisegnoRiga : public QStyledItemDelegate {
public:
    DisegnoRiga(ListaRisultati* lista) : QStyledItemDelegate(lista), m_lista(lista) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(m_lista->Estensione(), ListaRisultati::AltezzaRiga);
    }

    void paint(QPainter* p, const QStyleOptionViewItem& opzione, const QModelIndex& indice) const override {
        const QRect r = opzione.rect;
        const bool selezionata = opzione.state & QStyle::State_Selected;
        const QPalette& tav = m_lista->palette();
        p->fillRect(r, selezionata ? tav.color(QPalette::Active, QPalette::Highlight) : tav.color(QPalette::Base));
        p->setFont(m_lista->font());
        p->setPen(indice.data(Qt::ForegroundRole).value<QColor>());
        const QFontMetrics m(m_lista->font());
        p->drawText(QPoint(r.left() + 2, r.top() + m.ascent()), indice.data(Qt::DisplayRole).toString());
        if (opzione.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect fuoco;
            fuoco.QStyleOption::operator=(opzione);
            fuoco.rect = r;
            fuoco.backgroundColor = selezionata ? tav.color(QPalette::Highlight) : tav.color(QPalette::Base);
            m_lista->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fuoco, p, m_lista);
        }
    }

private:
    ListaRisultati* m_lista;
};

} // namespace

ListaRisultati::ListaRisultati(QWidget* parent) : QListView(parent), m_modello(new TModelloElenco(this)) {
    setModel(m_modello);
    setItemDelegate(new DisegnoRiga(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setSpacing(0);
}

void ListaRisultati::ImpostaEstensione(int pixel) {
    if (pixel == m_estensione) return;
    m_estensione = pixel;
    // The rows keep one size; the view asks again.
    scheduleDelayedItemsLayout();
}

int ListaRisultati::Selezionata() const {
    const QModelIndexList scelte = selectionModel()->selectedIndexes();
    return scelte.isEmpty() ? -1 : scelte.first().row();
}

void ListaRisultati::Seleziona(int riga) {
    if (riga < 0 || riga >= m_modello->Conteggio()) return;
    const QModelIndex i = m_modello->index(riga);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    scrollTo(i);
}

void ListaRisultati::mouseDoubleClickEvent(QMouseEvent* e) {
    // The line under the mouse becomes the selection first, as a single click would.
    QListView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) emit DoppioClic();
}
