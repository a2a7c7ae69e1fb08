#include "support/ChiamateAttese.h"

QStringList ChiamateExcelAttese(const QString& foglio, int righe) {
    const QString app = QStringLiteral("Excel.Application");
    const QString f = app + QStringLiteral(".Workbooks[I32 1].WorkSheets[I32 1]");
    const QString intervallo = f + QStringLiteral(".Range[Str \"A1\", Str \"J%1\"]").arg(righe);
    QStringList attese = {
        "Crea " + app,
        "Imposta " + app + ".Visible := Bool false",
        "Leggi " + app + ".Workbooks",
        "Chiama " + app + ".Workbooks.Add(I16 -4167)",
        "Leggi " + app + ".Workbooks[I32 1]",
        "Leggi " + app + ".Workbooks[I32 1].WorkSheets[I32 1]",
        "Imposta " + f + ".Name := Str \"" + foglio + "\"",
        "Leggi " + f + ".Range[Str \"A1\", Str \"J" + QString::number(righe) + "\"]",
        "Chiama " + intervallo + ".Select()",
        "Leggi " + app + ".Selection",
        "Imposta " + app + ".Selection.NumberFormat := Str \"@\"",
        "Leggi " + f + ".Range[Str \"A1\", Str \"J" + QString::number(righe) + "\"]",
        "Imposta " + intervallo + ".Value := Array " + QString::number(righe) + "x10",
    };
    for (int c = 2; c <= 26; ++c) {
        const QString cella = app + QStringLiteral(".Application.Cells[I32 1, I32 %1]").arg(c);
        attese << "Leggi " + app + ".Application" << "Leggi " + cella << "Leggi " + cella + ".Font"
               << "Imposta " + cella + ".Font.Bold := Bool true";
    }
    attese << "Leggi " + app + ".Columns[Str \"A:Z\"]" << "Leggi " + app + ".Columns[Str \"A:Z\"].EntireColumn"
           << "Chiama " + app + ".Columns[Str \"A:Z\"].EntireColumn.AutoFit()"
           << "Leggi " + app + ".Cells[I32 1, I32 1]" << "Chiama " + app + ".Cells[I32 1, I32 1].Select()"
           << "Imposta " + app + ".Visible := Bool true";
    return attese;
}

QStringList ChiamateWordAttese(const QString& fileImmagine, const std::array<QString, 10>& valori) {
    const QString w = QStringLiteral("Word.Application");
    const QString sel = w + QStringLiteral(".ActiveWindow.Selection");
    const auto selezione = [&](const QString& coda) {
        return QStringList{"Leggi " + w + ".ActiveWindow", "Leggi " + sel} + coda.split(QLatin1Char('|'));
    };
    const auto carattere = [&](const QString& prop, const QString& valore) {
        return selezione("Leggi " + sel + ".Font|Imposta " + sel + ".Font." + prop + " := " + valore);
    };
    const auto intestazione = [&](const QString& titolo) {
        return selezione("Leggi " + sel + ".ParagraphFormat|Imposta " + sel + ".ParagraphFormat.Alignment := I32 1") +
               selezione("Chiama " + sel + ".InsertAfter(Str \"" + titolo + "\")") +
               selezione("Chiama " + sel + ".InsertParagraphAfter()") + carattere("Name", "Str \"Arial\"") +
               carattere("Size", "I32 10") + carattere("Bold", "Bool true") +
               selezione("Chiama " + sel + ".EndOf()");
    };
    QStringList attese = {"Crea " + w, "Leggi " + w + ".Documents", "Chiama " + w + ".Documents.Add()"};
    attese << intestazione(QStringLiteral("SCHEDA IMMOBILE"));
    const QString r = w + ".Selection.range";
    attese << "Leggi " + w + ".Selection" << "Leggi " + r << "Leggi " + r + ".Font"
           << "Imposta " + r + ".Font.Name := Str \"Arial\"" << "Leggi " + r + ".Font"
           << "Imposta " + r + ".Font.Size := I32 10" << "Leggi " + w + ".Selection"
           << "Chiama " + w + ".Selection.TypeParagraph()" << "Leggi " + w + ".Selection"
           << "Leggi " + w + ".Selection.InlineShapes"
           << "Chiama " + w + ".Selection.InlineShapes.AddPicture(Str \"" + fileImmagine + "\", Bool false, Bool true)"
           << "Leggi " + w + ".Selection" << "Chiama " + w + ".Selection.TypeParagraph()";
    attese << intestazione(QString())
           << selezione("Leggi " + sel + ".ParagraphFormat|Imposta " + sel + ".ParagraphFormat.Alignment := I32 3");
    attese << "Leggi " + w + ".Selection" << "Leggi " + r << "Leggi " + r + ".Tables" << "Leggi " + w + ".Selection"
           << "Leggi " + r << "Chiama " + r + ".Tables.Add(range:=Obj " + r + ", NumRows:=I32 10, NumColumns:=I32 2)";
    const char* const etichette[10] = {"Riferimento:", "Descrizione:", "Ubicazione:", "Vani:",       "Metri quadri:",
                                       "Prezzo:",      "Classe energetica:", "Condizioni:", "Note:", "Didascalia:"};
    const QString tabella = r + ".Tables.Item(I32 1)";
    for (int riga = 1; riga <= 10; ++riga)
        for (int col = 1; col <= 2; ++col) {
            const QString cella = tabella + QStringLiteral(".Cell(I32 %1, I32 %2)").arg(riga).arg(col);
            const QString testo = col == 1 ? QString::fromLatin1(etichette[riga - 1]) : valori[size_t(riga - 1)];
            attese << "Leggi " + w + ".Selection" << "Leggi " + r << "Leggi " + r + ".Tables" << "Chiama " + tabella
                   << "Chiama " + cella << "Leggi " + cella + ".range"
                   << "Chiama " + cella + ".range.InsertAfter(Str \"" + testo + "\")";
        }
    attese << "Imposta " + w + ".Visible := Bool true";
    return attese;
}
