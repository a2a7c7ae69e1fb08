#include "store/TScheda.h"

const std::array<TCampo, NumeroCampiTesto> CampiTesto = {{
    {"varTitolo", "Riferimento:", "txtTitolo"},
    {"varAutore", "Descrizione:", "txtAutore"},
    {"varAlbum", "Ubicazione:", "txtAlbum"},
    {"varCategoria", "Vani:", "txtCategoria"},
    {"varData", "Metri quadri:", "txtData"},
    {"varFotocamera", "Prezzo:", "txtFotocamera"},
    {"varLuogo", "Classe energetica:", "txtLuogo"},
    {"varSoggetti", "Condizioni:", "txtSoggetti"},
    {"varNote", "Note:", "txtNote"},
    {"varDidascalia", "Didascalia:", "txtDidascalia"},
    {"varFile01", "", "lblFile01"},
    {"varFile02", "", "lblFile02"},
    {"varFile03", "", "lblFile03"},
    {"varDesc01", "", "lblDesc01"},
    {"varDesc02", "", "lblDesc02"},
    {"varDesc03", "", "lblDesc03"},
    {"varCartella", "", "lblCartella"},
    {"varCartellaDesc", "", "lblCartellaDesc"},
}};

QByteArray StatementoCreaTabella(const QByteArray& tabella) {
    // Existing archives were made by exactly this text; keep it byte for byte.
    return "CREATE TABLE " + tabella +
           " (ID INTEGER PRIMARY KEY,varTitolo BLOB,varAutore BLOB,varAlbum BLOB,varCategoria BLOB,"
           "varData BLOB,varFotocamera BLOB,varLuogo BLOB,varSoggetti BLOB,varNote BLOB,varDidascalia BLOB,"
           "varFile01 BLOB,varFile02 BLOB,varFile03 BLOB,varDesc01 BLOB,varDesc02 BLOB,varDesc03 BLOB,"
           "varCartella BLOB,varCartellaDesc BLOB, Picture BLOB COLLATE NOCASE,Ext TEXT)";
}
