#include "app/DocumentoGuida.h"

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <memory>

namespace {

constexpr int Dpi = 300;
const QColor Blu(0x2a, 0x3b, 0x84);
const QColor Grigio(0x55, 0x5c, 0x70);
const QString Famiglia = QStringLiteral("DejaVu Sans");

// Millimetres in the page's own pixels (the painter's and the page size's unit).
double Mm(double mm) { return mm * Dpi / 25.4; }
// Lengths inside the document (margins, padding, picture sizes) are screen pixels,
// which the layout scales to the page.
double Doc(double mm) { return mm * 96.0 / 25.4; }
double Immagine(double pixelPagina) { return pixelPagina * 96.0 / Dpi; }

void PreparaPagina(QPdfWriter& pdf) {
    pdf.setResolution(Dpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 18, 20, 12), QPageLayout::Millimeter);
}

QTextCharFormat Testo(double punti, bool grassetto = false, QColor colore = Qt::black, bool corsivo = false) {
    QTextCharFormat f;
    f.setFontFamilies({Famiglia});
    f.setFontPointSize(punti);
    f.setFontWeight(grassetto ? QFont::Bold : QFont::Normal);
    f.setFontItalic(corsivo);
    f.setForeground(colore);
    // Without ligatures, so that searching and copying in a PDF viewer find every word.
    f.setFontStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QTextBlockFormat Blocco(Qt::Alignment allineamento, double sopraMm = 0, double sottoMm = 0, bool nuovaPagina = false) {
    QTextBlockFormat b;
    b.setAlignment(allineamento);
    b.setTopMargin(Doc(sopraMm));
    b.setBottomMargin(Doc(sottoMm));
    if (nuovaPagina) b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return b;
}

// The document laid out on the PDF page: the text area without the footer.
class Impaginazione {
public:
    Impaginazione(const TGuida& guida, QPdfWriter& pdf) {
        const QRectF area = pdf.pageLayout().paintRectPixels(Dpi);
        // The layout counts in 1/64 pixel and cuts its pages there: the pages drawn and
        // the pages reckoned below must be cut at the same height, or a line at a cut
        // is given to the wrong page.
        m_pagina = QSizeF(area.width(), std::floor((area.height() - Mm(12)) * 64) / 64);
        m_doc.documentLayout()->setPaintDevice(&pdf);
        m_doc.setDocumentMargin(0);
        m_doc.setPageSize(m_pagina);
        QFont base(Famiglia);
        base.setPointSizeF(10.5);
        m_doc.setDefaultFont(base);
        Componi(guida);
        // The contents list gets its page numbers once the chapters have found their pages.
        // A heading's block may begin on the page before; its first line is where it shows.
        m_doc.pageCount(); // lays the document out
        for (const QTextBlock& b : std::as_const(m_titoli)) {
            const double y = b.layout()->position().y() + (b.layout()->lineCount() ? b.layout()->lineAt(0).y() : 0);
            m_pagine << int((y + 1) / m_pagina.height()) + 1;
        }
        for (int i = 0; i < m_pagine.size(); ++i) {
            QTextCursor c = m_indice->cellAt(i, 1).firstCursorPosition();
            c.insertText(QString::number(m_pagine[i]), Testo(11, true, Blu));
        }
    }

    const QList<int>& Pagine() const { return m_pagine; }
    void Disegna(QPdfWriter& pdf, QPainter& p) {
        const int totale = m_doc.pageCount();
        const double h = m_pagina.height();
        for (int i = 0; i < totale; ++i) {
            if (i > 0) pdf.newPage();
            p.save();
            p.translate(0, -i * h);
            QAbstractTextDocumentLayout::PaintContext contesto;
            p.setClipRect(QRectF(0, i * h, m_pagina.width(), h));
            // Each line is written on its own page only, also as a PDF reader's text, not
            // merely hidden by the clip elsewhere (see InizioTesto).
            const double inizio = InizioTesto(i);
            contesto.clip = QRectF(0, i * h + inizio, m_pagina.width(), h - inizio - 1);
            contesto.palette.setColor(QPalette::Text, Qt::black);
            m_doc.documentLayout()->draw(&p, contesto);
            DisegnaCodeSpezzate(p, i, i * h + inizio);
            p.restore();
            if (i == 0) continue; // the title page has no number
            const double y = h + Mm(4);
            p.setPen(QPen(QColor(0x47, 0x60, 0xc0), Mm(0.3)));
            p.drawLine(QPointF(0, y), QPointF(m_pagina.width(), y));
            QFont piede(Famiglia);
            piede.setPointSizeF(8.5);
            p.setFont(piede);
            p.setPen(Grigio);
            const QRectF riga(0, y + Mm(1.5), m_pagina.width(), Mm(5));
            p.drawText(riga, Qt::AlignLeft | Qt::AlignVCenter, m_intestazione);
            p.drawText(riga, Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(totale));
        }
    }

private:
    // Where the text of page i begins for the layout's drawing. A paragraph that goes on
    // from the page before is drawn from the last of its lines that ends above this
    // point, so the point is put just below its first line on this page; with no such
    // paragraph it is the page's top.
    double InizioTesto(int pagina) const {
        const double h = m_pagina.height();
        double inizio = 0;
        for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next()) {
            const QTextLayout* l = b.layout();
            if (!l || l->lineCount() < 2) continue;
            const double y0 = l->position().y();
            const auto paginaDi = [h](double y) { return int((y + 0.5) / h); };
            if (paginaDi(y0 + l->lineAt(0).y()) >= pagina) continue;
            for (int n = 1; n < l->lineCount(); ++n) {
                const QTextLine riga = l->lineAt(n);
                const int q = paginaDi(y0 + riga.y());
                if (q < pagina) continue;
                if (q == pagina) inizio = qMax(inizio, y0 + riga.y() + riga.height() - pagina * h + 0.5);
                break;
            }
        }
        return inizio;
    }

    // A paragraph whose lines on page i all end above the drawing's clip (its last
    // line alone goes on over the cut): the layout skips the whole paragraph there,
    // so those lines are drawn one by one.
    void DisegnaCodeSpezzate(QPainter& p, int pagina, double inizioClip) const {
        const double h = m_pagina.height();
        const auto paginaDi = [h](double y) { return int((y + 0.5) / h); };
        for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next()) {
            const QTextLayout* l = b.layout();
            if (!l || l->lineCount() < 2) continue;
            const double y0 = l->position().y();
            const QTextLine ultima = l->lineAt(l->lineCount() - 1);
            if (paginaDi(y0 + l->lineAt(0).y()) >= pagina || paginaDi(y0 + ultima.y()) != pagina) continue;
            if (y0 + ultima.y() + ultima.height() >= inizioClip) continue; // the layout drew it
            p.setPen(Qt::black);
            for (int n = 0; n < l->lineCount(); ++n)
                if (paginaDi(y0 + l->lineAt(n).y()) == pagina) l->lineAt(n).draw(&p, l->position());
        }
    }

    void Componi(const TGuida& guida) {
        m_intestazione = guida.Titolo + QStringLiteral(" - Guida dell'utente");
        QTextCursor c(&m_doc);

        // Title page.
        c.setBlockFormat(Blocco(Qt::AlignHCenter, 35, 8));
        if (!guida.Marchio.isNull()) {
            m_doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("marchio")), guida.Marchio);
            QTextImageFormat img;
            img.setName(QStringLiteral("marchio"));
            img.setWidth(Doc(45));
            img.setHeight(Doc(45) * guida.Marchio.height() / qMax(1, guida.Marchio.width()));
            c.insertImage(img);
        }
        c.insertBlock(Blocco(Qt::AlignHCenter, 6, 2), Testo(34, true, Blu));
        c.insertText(guida.Titolo);
        c.insertBlock(Blocco(Qt::AlignHCenter, 0, 24), Testo(14, false, Grigio));
        c.insertText(guida.Sottotitolo);
        c.insertBlock(Blocco(Qt::AlignHCenter, 0, 4), Testo(24, true));
        c.insertText(QStringLiteral("Guida dell'utente"));
        c.insertBlock(Blocco(Qt::AlignHCenter, 0, 0), Testo(11, false, Grigio));
        c.insertText(guida.Versione);
        c.insertBlock(Blocco(Qt::AlignHCenter, 100, 0), Testo(10, false, Grigio));
        c.insertText(guida.Piede);

        // Contents.
        c.insertBlock(Blocco(Qt::AlignLeft, 0, 8, true), Testo(20, true, Blu));
        c.insertText(QStringLiteral("Indice"));
        QTextTableFormat tabella;
        tabella.setBorder(0);
        tabella.setCellPadding(Doc(1.5));
        tabella.setCellSpacing(0);
        tabella.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        tabella.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 88),
                                           QTextLength(QTextLength::PercentageLength, 12)});
        m_indice = c.insertTable(int(guida.Capitoli.size()), 2, tabella);
        for (int i = 0; i < guida.Capitoli.size(); ++i) {
            QTextCursor voce = m_indice->cellAt(i, 0).firstCursorPosition();
            voce.insertText(QStringLiteral("%1.  %2").arg(i + 1).arg(guida.Capitoli[i].Titolo), Testo(11));
            QTextCursor numero = m_indice->cellAt(i, 1).firstCursorPosition();
            QTextBlockFormat destra = numero.blockFormat();
            destra.setAlignment(Qt::AlignRight);
            numero.setBlockFormat(destra);
        }
        c.movePosition(QTextCursor::End);

        // Chapters, each from a new page.
        int figura = 0;
        for (int i = 0; i < guida.Capitoli.size(); ++i) {
            const TCapitoloGuida& cap = guida.Capitoli[i];
            QTextBlockFormat titolo = Blocco(Qt::AlignLeft, 0, cap.Nota.isEmpty() ? 6 : 1.5, true);
            titolo.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                               QTextLength(QTextLength::PercentageLength, 100));
            c.insertBlock(titolo, Testo(20, true, Blu));
            c.insertText(QStringLiteral("%1. %2").arg(i + 1).arg(cap.Titolo));
            m_titoli << c.block();
            if (!cap.Nota.isEmpty()) {
                c.insertBlock(Blocco(Qt::AlignLeft, 1.5, 5), Testo(10, false, Grigio, true));
                c.insertText(cap.Nota);
            }
            for (int n = 0; n < cap.Paragrafi.size(); ++n) {
                QTextBlockFormat par = Blocco(Qt::AlignJustify, 0, 3);
                par.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
                c.insertBlock(par, Testo(10.5));
                c.insertText(cap.Paragrafi[n]);
                for (const TFiguraGuida& f : cap.Figure)
                    if (f.DopoParagrafo == n && !f.Immagine.isNull()) InserisciFigura(c, f, ++figura);
            }
        }
    }

    // The picture and its caption in one block, so a page never parts them.
    void InserisciFigura(QTextCursor& c, const TFiguraGuida& f, int numero) {
        QTextBlockFormat b = Blocco(Qt::AlignHCenter, 2, 6);
        b.setNonBreakableLines(true);
        c.insertBlock(b, Testo(9));
        const QString nome = QStringLiteral("figura%1").arg(numero);
        m_doc.addResource(QTextDocument::ImageResource, QUrl(nome), f.Immagine);
        // Screen pixels at 150 per inch, within the text width and under half a page.
        double w = f.Immagine.width() * 2.0;
        double h = f.Immagine.height() * 2.0;
        const double scala = qMin(1.0, qMin(m_pagina.width() / w, m_pagina.height() * 0.45 / h));
        QTextImageFormat img;
        img.setName(nome);
        img.setWidth(Immagine(w * scala));
        img.setHeight(Immagine(h * scala));
        c.insertImage(img);
        c.insertText(QString(QChar::LineSeparator), Testo(9));
        c.insertText(QStringLiteral("Figura %1 - %2").arg(numero).arg(f.Didascalia), Testo(9, false, Grigio, true));
    }

    QTextDocument m_doc;
    QSizeF m_pagina;
    QString m_intestazione;
    QTextTable* m_indice = nullptr;
    QList<QTextBlock> m_titoli;
    QList<int> m_pagine;
};

} // namespace

namespace DocumentoGuida {

bool Scrivi(const TGuida& guida, const QString& file) {
    QSaveFile uscita(file);
    if (!uscita.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter pdf(&uscita);
        PreparaPagina(pdf);
        pdf.setTitle(guida.Titolo + QStringLiteral(" - Guida dell'utente"));
        pdf.setCreator(guida.Titolo);
        Impaginazione impaginazione(guida, pdf);
        QPainter p;
        if (!p.begin(&pdf)) return false;
        impaginazione.Disegna(pdf, p);
        if (!p.end()) return false;
    }
    return uscita.commit();
}

QList<int> PagineCapitoli(const TGuida& guida) {
    QBuffer nulla;
    nulla.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nulla);
    PreparaPagina(pdf);
    return Impaginazione(guida, pdf).Pagine();
}

} // namespace DocumentoGuida
