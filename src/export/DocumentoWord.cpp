#include "export/DocumentoWord.h"

#include "export/MotoreInterno.h"
#include "platform/Piattaforma.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

namespace Motore {

// The picture formats a document can embed, told by their own bytes.
std::shared_ptr<WImmagine> LeggiImmagine(const QByteArray& b) {
    auto img = std::make_shared<WImmagine>();
    img->dati = b;
    const auto u = [&](qsizetype i) { return i < b.size() ? int(uchar(b.at(i))) : -1; };
    const auto be16 = [&](qsizetype i) { return u(i) < 0 || u(i + 1) < 0 ? -1 : u(i) << 8 | u(i + 1); };
    const auto le16 = [&](qsizetype i) { return u(i) < 0 || u(i + 1) < 0 ? -1 : u(i + 1) << 8 | u(i); };
    const auto be32 = [&](qsizetype i) { return qint64(be16(i)) << 16 | be16(i + 2); };
    const auto le32 = [&](qsizetype i) { return qint64(le16(i + 2)) << 16 | le16(i); };
    if (u(0) == 0xFF && u(1) == 0xD8 && u(2) == 0xFF) {
        img->estensione = QStringLiteral("jpeg");
        img->tipo = QStringLiteral("image/jpeg");
        qsizetype i = 2;
        while (i + 3 < b.size()) {
            if (u(i) != 0xFF) break;
            const int m = u(i + 1);
            if (m == 0xFF) {
                ++i;
                continue;
            }
            if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) {
                i += 2;
                continue;
            }
            const int lunghezza = be16(i + 2);
            if (lunghezza < 2) break;
            if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
                img->altezza = be16(i + 5);
                img->larghezza = be16(i + 7);
                break;
            }
            i += 2 + lunghezza;
        }
    } else if (b.startsWith("\x89PNG\r\n\x1a\n")) {
        img->estensione = QStringLiteral("png");
        img->tipo = QStringLiteral("image/png");
        img->larghezza = int(be32(16));
        img->altezza = int(be32(20));
    } else if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) {
        img->estensione = QStringLiteral("gif");
        img->tipo = QStringLiteral("image/gif");
        img->larghezza = le16(6);
        img->altezza = le16(8);
    } else if (b.startsWith("BM")) {
        img->estensione = QStringLiteral("bmp");
        img->tipo = QStringLiteral("image/bmp");
        const qint64 intestazione = le32(14);
        if (intestazione == 12) {
            img->larghezza = le16(18);
            img->altezza = le16(20);
        } else if (intestazione >= 40) {
            img->larghezza = int(le32(18));
            img->altezza = int(std::abs(qint32(quint32(le32(22)))));
        }
    }
    if (img->tipo.isEmpty() || img->larghezza <= 0 || img->altezza <= 0)
        Errore(QStringLiteral("Il file non contiene un'immagine in un formato riconosciuto"));
    return img;
}

// ---- the .docx file ----

namespace {

QString Xml(const QString& s) {
    QString r;
    r.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'&')
            r += QLatin1String("&amp;");
        else if (u == u'<')
            r += QLatin1String("&lt;");
        else if (u == u'>')
            r += QLatin1String("&gt;");
        else if (u == u'"')
            r += QLatin1String("&quot;");
        else if (u < 0x20 || u == 0xFFFE || u == 0xFFFF)
            continue; // not allowed in XML; tabs and breaks are elements of their own
        else
            r += c;
    }
    return r;
}

QString ProprietaRun(const WStile& s) {
    const QString f = Xml(s.carattere);
    QString r = QStringLiteral("<w:rPr><w:rFonts w:ascii=\"%1\" w:hAnsi=\"%1\" w:cs=\"%1\"/>").arg(f);
    if (s.grassetto) r += QLatin1String("<w:b/><w:bCs/>");
    r += QStringLiteral("<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/></w:rPr>").arg(s.dimensione * 2);
    return r;
}

QString Allineamento(int a) {
    switch (a) {
    case 1: return QStringLiteral("center");
    case 2: return QStringLiteral("right");
    case 3: return QStringLiteral("both");
    default: return QStringLiteral("left");
    }
}

QString Run(const QString& testo, const WStile& s) {
    QString r = QStringLiteral("<w:r>") + ProprietaRun(s);
    QString pezzo;
    const auto chiudi = [&] {
        if (!pezzo.isEmpty()) r += QStringLiteral("<w:t xml:space=\"preserve\">") + Xml(pezzo) + QStringLiteral("</w:t>");
        pezzo.clear();
    };
    for (QChar c : testo) {
        if (c == u'\t') {
            chiudi();
            r += QLatin1String("<w:tab/>");
        } else if (c == u'\v') {
            chiudi();
            r += QLatin1String("<w:br/>");
        } else {
            pezzo += c;
        }
    }
    chiudi();
    return r + QStringLiteral("</w:r>");
}

QString Paragrafo(const QString& runs, int allineamento, const WStile& marca) {
    return QStringLiteral("<w:p><w:pPr><w:jc w:val=\"%1\"/>%2</w:pPr>%3</w:p>")
        .arg(Allineamento(allineamento), ProprietaRun(marca), runs);
}

constexpr int LarghezzaTestoTwip = 9638;     // A4 less 2 cm margins
constexpr qint64 LarghezzaTestoEmu = 6120130; // the same in EMU
constexpr qint64 AltezzaMassimaEmu = 8640000; // 24 cm

QString Disegno(const WImmagine& img, const QString& rid, int id) {
    // Natural size at 96 dpi, scaled down to the text width and a page's height.
    qint64 cx = qint64(img.larghezza) * 9525, cy = qint64(img.altezza) * 9525;
    const double scala = std::min({1.0, double(LarghezzaTestoEmu) / double(cx), double(AltezzaMassimaEmu) / double(cy)});
    cx = qint64(double(cx) * scala);
    cy = qint64(double(cy) * scala);
    return QStringLiteral(
               "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
               "<wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"%3\" name=\"Immagine %3\"/>"
               "<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
               "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
               "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"%3\" name=\"%4\"/><pic:cNvPicPr/></pic:nvPicPr>"
               "<pic:blipFill><a:blip r:embed=\"%5\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
               "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%1\" cy=\"%2\"/></a:xfrm>"
               "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
               "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
        .arg(cx)
        .arg(cy)
        .arg(id)
        .arg(Xml(img.nome), rid);
}

QString TabellaXml(const WTabella& t) {
    const int larghezza = LarghezzaTestoTwip / std::max(1, t.colonne);
    QString x = QStringLiteral("<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>");
    for (const char* lato : {"top", "left", "bottom", "right", "insideH", "insideV"})
        x += QStringLiteral("<w:%1 w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>").arg(QLatin1String(lato));
    x += QStringLiteral("</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid>");
    for (int c = 0; c < t.colonne; ++c) x += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(larghezza);
    x += QStringLiteral("</w:tblGrid>");
    for (int r = 1; r <= t.righe; ++r) {
        x += QStringLiteral("<w:tr>");
        for (int c = 1; c <= t.colonne; ++c) {
            const WCella& cella = const_cast<WTabella&>(t).Cella(r, c);
            x += QStringLiteral("<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/></w:tcPr>").arg(larghezza);
            for (const QString& riga : cella.testo.split(QLatin1Char('\r')))
                x += Paragrafo(riga.isEmpty() ? QString() : Run(riga, cella.stile), cella.allineamento, cella.stile);
            x += QStringLiteral("</w:tc>");
        }
        x += QStringLiteral("</w:tr>");
    }
    return x + QStringLiteral("</w:tbl>");
}

struct WFileDocx {
    QByteArray documento, relazioni;
    std::vector<std::pair<QString, std::shared_ptr<WImmagine>>> media; // name in the package
};

WFileDocx Componi(const WDoc& d) {
    WFileDocx f;
    QString corpo, runs, testo;
    WStile stileTesto;
    QString relazioni;
    int prossimoId = 1;
    const auto chiudiTesto = [&] {
        if (!testo.isEmpty()) runs += Run(testo, stileTesto);
        testo.clear();
    };
    bool dopoTabella = false;
    for (const WElemento& e : d.el) {
        switch (e.genere) {
        case WElemento::Carattere:
            if (!testo.isEmpty() && !(e.stile == stileTesto)) chiudiTesto();
            stileTesto = e.stile;
            testo += e.c;
            break;
        case WElemento::Immagine: {
            chiudiTesto();
            const int n = int(f.media.size()) + 1;
            const QString nome = QStringLiteral("image%1.%2").arg(n).arg(e.immagine->estensione);
            const QString rid = QStringLiteral("rIdImg%1").arg(n);
            f.media.push_back({nome, e.immagine});
            relazioni += QStringLiteral("<Relationship Id=\"%1\" Type=\"http://schemas.openxmlformats.org/"
                                        "officeDocument/2006/relationships/image\" Target=\"media/%2\"/>")
                             .arg(rid, nome);
            runs += Disegno(*e.immagine, rid, prossimoId++);
            break;
        }
        case WElemento::FineParagrafo:
            chiudiTesto();
            corpo += Paragrafo(runs, e.allineamento, e.stile);
            runs.clear();
            dopoTabella = false;
            break;
        case WElemento::Tabella:
            chiudiTesto();
            if (!runs.isEmpty()) { // never happens: a table starts a paragraph
                corpo += Paragrafo(runs, 0, e.stile);
                runs.clear();
            }
            if (dopoTabella) corpo += QStringLiteral("<w:p/>"); // two tables stay two tables
            corpo += TabellaXml(*e.tabella);
            dopoTabella = true;
            break;
        }
    }
    const QString documento =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                       "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
                       "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                       "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>") +
        corpo +
        QStringLiteral("<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1134\" w:right=\"1134\" "
                       "w:bottom=\"1134\" w:left=\"1134\" w:header=\"709\" w:footer=\"709\" w:gutter=\"0\"/>"
                       "</w:sectPr></w:body></w:document>");
    f.documento = documento.toUtf8();
    f.relazioni = (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                  "relationships\"><Relationship Id=\"rIdStili\" Type=\"http://schemas."
                                  "openxmlformats.org/officeDocument/2006/relationships/styles\" "
                                  "Target=\"styles.xml\"/>") +
                   relazioni + QStringLiteral("</Relationships>"))
                      .toUtf8();
    return f;
}

const char* const Stili =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" "
    "w:eastAsia=\"Times New Roman\" w:cs=\"Times New Roman\"/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>"
    "<w:lang w:val=\"it-IT\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" "
    "w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normale\"><w:name w:val=\"Normal\"/><w:qFormat/>"
    "</w:style><w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TabellaNormale\"><w:name w:val=\"Normal "
    "Table\"/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
    "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" "
    "w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style></w:styles>";

const char* const RelazioniPacchetto =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"word/document.xml\"/></Relationships>";

} // namespace

void ScriviDocx(const WDoc& d, const QString& file) {
    const WFileDocx f = Componi(d);
    QString tipi = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>");
    QStringList estensioni;
    for (const auto& [nome, img] : f.media)
        if (!estensioni.contains(img->estensione)) {
            estensioni << img->estensione;
            tipi += QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>").arg(img->estensione, img->tipo);
        }
    tipi += QStringLiteral(
        "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
        "wordprocessingml.document.main+xml\"/><Override PartName=\"/word/styles.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>");

    // The buffers stay alive until the archive is closed.
    std::vector<std::pair<QByteArray, QByteArray>> voci = {
        {"[Content_Types].xml", tipi.toUtf8()},
        {"_rels/.rels", RelazioniPacchetto},
        {"word/document.xml", f.documento},
        {"word/styles.xml", Stili},
        {"word/_rels/document.xml.rels", f.relazioni},
    };
    for (const auto& [nome, img] : f.media) voci.push_back({"word/media/" + nome.toUtf8(), img->dati});

    int errore = 0;
    zip_t* z = zip_open(Piattaforma::NomeFileUtf8(file).constData(), ZIP_CREATE | ZIP_EXCL, &errore);
    if (!z) Errore(QStringLiteral("Impossibile creare il file %1").arg(file));
    for (const auto& [nome, dati] : voci) {
        zip_source_t* sorgente = zip_source_buffer(z, dati.constData(), zip_uint64_t(dati.size()), 0);
        const zip_int64_t indice =
            sorgente ? zip_file_add(z, nome.constData(), sorgente, ZIP_FL_ENC_UTF_8) : zip_int64_t(-1);
        if (indice < 0) {
            if (sorgente) zip_source_free(sorgente);
            zip_discard(z);
            Errore(QStringLiteral("Scrittura del documento non riuscita: %1").arg(file));
        }
        // Pictures are compressed already.
        if (nome.startsWith("word/media/")) zip_set_file_compression(z, zip_uint64_t(indice), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) {
        const QString causa = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        Errore(QStringLiteral("Scrittura del documento non riuscita: %1 (%2)").arg(file, causa));
    }
}

// The document's name: its first line of text, in sentence case when written in capitals.
QString NomeDocumento(const WDoc& d) {
    QString riga;
    for (const WElemento& e : d.el) {
        if (e.genere == WElemento::Carattere) riga += e.c;
        if (e.genere == WElemento::FineParagrafo && !riga.trimmed().isEmpty()) break;
        if (e.genere == WElemento::FineParagrafo) riga.clear();
    }
    riga = riga.simplified().left(60);
    if (riga.isEmpty()) return QStringLiteral("Documento");
    if (riga == riga.toUpper()) riga = riga.left(1) + riga.mid(1).toLower();
    return riga;
}

} // namespace Motore
