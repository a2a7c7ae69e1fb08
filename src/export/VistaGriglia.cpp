#include "export/VistaGriglia.h"

#include "export/Griglia.h"
#include "widgets/Comuni.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

QColor ColoreLinee() { return QColor(128, 128, 128); }

// A heading cell: sky blue, thin lines, black text 2 pixels in, clipped.
void DisegnaIntestazione(QPainter* p, const QRect& r, const QString& testo, const QFont& carattere) {
    p->save();
    p->setClipRect(r);
    p->fillRect(r, VistaGriglia::ColoreIntestazioni());
    p->setPen(ColoreLinee());
    p->drawLine(r.topRight(), r.bottomRight());
    p->drawLine(r.bottomLeft(), r.bottomRight());
    p->setPen(Qt::black);
    p->setFont(carattere);
    p->drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, testo);
    p->restore();
}

class Intestazione : public QHeaderView {
public:
    Intestazione(Qt::Orientation o, QWidget* parent) : QHeaderView(o, parent) {}

protected:
    void paintSection(QPainter* p, const QRect& r, int sezione) const override {
        if (!r.isValid()) return;
        DisegnaIntestazione(p, r, model() ? model()->headerData(sezione, orientation()).toString() : QString(), font());
    }
};

class Delegato : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        p->save();
        p->setClipRect(o.rect);
        const bool dispari = TModelloGriglia::RigaGriglia(i) % 2 == 1;
        p->fillRect(o.rect, dispari ? VistaGriglia::ColoreRigaDispari() : VistaGriglia::ColoreRigaPari());
        p->setPen(Qt::black);
        p->setFont(o.font);
        p->drawText(o.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    i.data().toString());
        // The colours stay; the current cell shows where the keyboard is.
        if (o.state & QStyle::State_HasFocus) {
            QPen tratteggio(Qt::black);
            tratteggio.setStyle(Qt::DotLine);
            p->setPen(tratteggio);
            p->drawRect(o.rect.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }
};

} // namespace

VistaGriglia::VistaGriglia(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new Intestazione(Qt::Horizontal, this));
    setVerticalHeader(new Intestazione(Qt::Vertical, this));
    setItemDelegate(new Delegato(this));
    const QFont carattere = Carattere(QStringLiteral("Verdana"), 11);
    setFont(carattere);
    horizontalHeader()->setFont(carattere);
    verticalHeader()->setFont(carattere);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setCornerButtonEnabled(false);
    Colora(this, QPalette::Base, Qt::white);
    Colora(this, QPalette::Text, Qt::black);

    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionsClickable(false); // a click on a heading selects nothing, as in a grid
        h->setHighlightSections(false);
        h->setMinimumSectionSize(8);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setFixedHeight(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(24);

    // The corner cell is the first heading, drawn like the others.
    m_angolo = findChild<QAbstractButton*>();
    if (m_angolo) m_angolo->installEventFilter(this);
}

void VistaGriglia::ImpostaModello(TModelloGriglia* modello) {
    m_modello = modello;
    setModel(modello);
    ApplicaLarghezze(modello->Griglia());
    connect(modello, &QAbstractItemModel::modelReset, this, [this] {
        setCurrentIndex(m_modello->index(0, 0));
        if (m_angolo) m_angolo->update();
    });
    setCurrentIndex(modello->index(0, 0));
}

void VistaGriglia::ApplicaLarghezze(const TGriglia& griglia) {
    verticalHeader()->setFixedWidth(griglia.Larghezza(0));
    for (int c = 1; c < griglia.Colonne(); ++c) horizontalHeader()->resizeSection(c - 1, griglia.Larghezza(c));
}

QString VistaGriglia::TestoCorrente() const {
    const QModelIndex i = currentIndex();
    if (i.isValid()) return i.data().toString();
    // A grid always has a current cell: the first one.
    return m_modello && m_modello->Griglia().Righe() > 1 ? m_modello->Griglia().Cella(1, 1) : QString();
}

bool VistaGriglia::eventFilter(QObject* o, QEvent* e) {
    if (o == m_angolo && e->type() == QEvent::Paint && m_modello) {
        QPainter p(m_angolo);
        DisegnaIntestazione(&p, m_angolo->rect(), m_modello->Angolo(), verticalHeader()->font());
        return true;
    }
    return QTableView::eventFilter(o, e);
}
