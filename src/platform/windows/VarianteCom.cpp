#include "platform/windows/VarianteCom.h"

#include <oleauto.h>

BSTR NuovaBstr(const QString& testo) {
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(testo.utf16()), UINT(testo.size()));
    if (!b) throw EAutomazione(QStringLiteral("Memoria insufficiente per una stringa di automazione"));
    return b;
}

QString DaBstr(BSTR b) {
    return b ? QString::fromUtf16(reinterpret_cast<const char16_t*>(b), qsizetype(SysStringLen(b))) : QString();
}

namespace {

// A SAFEARRAY of VARIANTs: rows first, both counted from 1, as the seam's arrays.
SAFEARRAY* MatriceInCom(const TMatrice& m, const std::function<IDispatch*(IOggettoAutomazione&)>& oggetto) {
    SAFEARRAYBOUND limiti[2] = {{ULONG(m.Righe()), 1}, {ULONG(m.Colonne()), 1}};
    SAFEARRAY* a = SafeArrayCreate(VT_VARIANT, 2, limiti);
    if (!a) throw EAutomazione(QStringLiteral("Memoria insufficiente per la matrice di automazione"));
    try {
        for (int r = 1; r <= m.Righe(); ++r)
            for (int c = 1; c <= m.Colonne(); ++c) {
                TVariantCom elemento;
                VarianteInCom(m.At(r, c), elemento.v, oggetto);
                LONG indici[2] = {r, c};
                const HRESULT esito = SafeArrayPutElement(a, indici, &elemento.v); // copies it
                if (FAILED(esito)) throw EAutomazione(TestoErroreCom(esito));
            }
    } catch (...) {
        SafeArrayDestroy(a);
        throw;
    }
    return a;
}

TVariante MatriceDaCom(SAFEARRAY* a, VARTYPE tipo, const std::function<TVariante(IDispatch*)>& oggetto) {
    const UINT dimensioni = SafeArrayGetDim(a);
    if ((tipo & VT_TYPEMASK) != VT_VARIANT || dimensioni < 1 || dimensioni > 2)
        throw EAutomazione(QStringLiteral("Matrice di automazione non gestita"));
    LONG basso[2] = {0, 0}, alto[2] = {0, 0};
    for (UINT d = 0; d < dimensioni; ++d) {
        SafeArrayGetLBound(a, d + 1, &basso[d]);
        SafeArrayGetUBound(a, d + 1, &alto[d]);
    }
    // A list is one row.
    const int righe = dimensioni == 2 ? int(alto[0] - basso[0] + 1) : 1;
    const int colonne = dimensioni == 2 ? int(alto[1] - basso[1] + 1) : int(alto[0] - basso[0] + 1);
    if (righe < 1 || colonne < 1) return TVariante();
    auto m = std::make_shared<TMatrice>(righe, colonne);
    for (int r = 0; r < righe; ++r)
        for (int c = 0; c < colonne; ++c) {
            LONG indici[2] = {dimensioni == 2 ? basso[0] + r : basso[0] + c, basso[1] + c};
            TVariantCom elemento;
            const HRESULT esito = SafeArrayGetElement(a, indici, &elemento.v);
            if (FAILED(esito)) throw EAutomazione(TestoErroreCom(esito));
            m->Imposta(r + 1, c + 1, VarianteDaCom(elemento.v, oggetto));
        }
    return TVariante::Matrice(std::move(m));
}

} // namespace

void VarianteInCom(const TVariante& valore, VARIANT& com,
                   const std::function<IDispatch*(IOggettoAutomazione&)>& oggetto) {
    switch (valore.TipoValore()) {
    case TVariante::Tipo::Vuoto: V_VT(&com) = VT_EMPTY; return;
    case TVariante::Tipo::Intero16:
        V_VT(&com) = VT_I2;
        V_I2(&com) = SHORT(valore.ComeIntero());
        return;
    case TVariante::Tipo::Intero32:
        V_VT(&com) = VT_I4;
        V_I4(&com) = LONG(valore.ComeIntero());
        return;
    case TVariante::Tipo::Booleano:
        V_VT(&com) = VT_BOOL;
        V_BOOL(&com) = valore.ComeBooleano() ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case TVariante::Tipo::Stringa:
        V_BSTR(&com) = NuovaBstr(valore.ComeStringa());
        V_VT(&com) = VT_BSTR;
        return;
    case TVariante::Tipo::Matrice:
        V_ARRAY(&com) = MatriceInCom(valore.ComeMatrice(), oggetto);
        V_VT(&com) = VT_ARRAY | VT_VARIANT;
        return;
    case TVariante::Tipo::Oggetto:
        V_DISPATCH(&com) = oggetto(*valore.ComeOggetto());
        V_VT(&com) = VT_DISPATCH;
        return;
    }
}

TVariante VarianteDaCom(const VARIANT& com, const std::function<TVariante(IDispatch*)>& oggetto) {
    const VARTYPE tipo = V_VT(&com);
    if (tipo == (VT_BYREF | VT_VARIANT)) return VarianteDaCom(*V_VARIANTREF(&com), oggetto);
    if (tipo & VT_ARRAY)
        return MatriceDaCom(tipo & VT_BYREF ? *V_ARRAYREF(&com) : V_ARRAY(&com), VARTYPE(tipo & ~(VT_ARRAY | VT_BYREF)),
                            oggetto);
    switch (tipo) {
    case VT_EMPTY:
    case VT_NULL: return TVariante();
    case VT_I2: return TVariante::Intero16(V_I2(&com));
    case VT_I4: return TVariante::Intero32(V_I4(&com));
    case VT_INT: return TVariante::Intero32(V_INT(&com));
    case VT_BOOL: return TVariante::Booleano(V_BOOL(&com) != VARIANT_FALSE);
    case VT_BSTR: return TVariante::Stringa(DaBstr(V_BSTR(&com)));
    case VT_DISPATCH:
        if (!V_DISPATCH(&com)) return TVariante();
        return oggetto(V_DISPATCH(&com));
    case VT_UNKNOWN: {
        if (!V_UNKNOWN(&com)) return TVariante();
        IDispatch* d = nullptr;
        if (FAILED(V_UNKNOWN(&com)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
            throw EAutomazione(QStringLiteral("Oggetto di automazione senza IDispatch"));
        struct Rilascia {
            IDispatch* d;
            ~Rilascia() { d->Release(); }
        } rilascia{d};
        return oggetto(d);
    }
    case VT_BYREF | VT_I2: return TVariante::Intero16(*V_I2REF(&com));
    case VT_BYREF | VT_I4: return TVariante::Intero32(*V_I4REF(&com));
    case VT_BYREF | VT_BOOL: return TVariante::Booleano(*V_BOOLREF(&com) != VARIANT_FALSE);
    case VT_BYREF | VT_BSTR: return TVariante::Stringa(DaBstr(*V_BSTRREF(&com)));
    default: break;
    }
    // Numbers of other kinds, dates, currency: as the server writes them.
    TVariantCom testo;
    if (SUCCEEDED(VariantChangeType(&testo.v, const_cast<VARIANT*>(&com), 0, VT_BSTR))) return TVariante::Stringa(DaBstr(V_BSTR(&testo.v)));
    throw EAutomazione(QStringLiteral("Valore di automazione di tipo %1 non gestito").arg(tipo));
}

QString TestoErroreCom(HRESULT esito, const EXCEPINFO* eccezione) {
    if (eccezione && eccezione->bstrDescription && SysStringLen(eccezione->bstrDescription) > 0)
        return DaBstr(eccezione->bstrDescription).trimmed();
    if (eccezione && eccezione->scode) esito = eccezione->scode;
    wchar_t* testo = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, DWORD(esito), 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
    QString r = QStringLiteral("errore 0x%1").arg(quint32(esito), 8, 16, QLatin1Char('0'));
    if (n && testo) r = QString::fromWCharArray(testo, int(n)).trimmed() + QStringLiteral(" (") + r + QLatin1Char(')');
    if (testo) LocalFree(testo);
    return r;
}
