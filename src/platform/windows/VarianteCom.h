#pragma once
// The automation seam's values as COM variants and back: empty, 16- and 32-bit
// integers, booleans, strings (BSTR), two-dimensional arrays of variants counted
// from 1, and objects (IDispatch).
#include "platform/Automazione.h"

#include <functional>

#include <oaidl.h>

// A VARIANT that clears itself (frees its string, array or object).
class TVariantCom {
public:
    TVariantCom() { VariantInit(&v); }
    ~TVariantCom() { VariantClear(&v); }
    TVariantCom(const TVariantCom&) = delete;
    TVariantCom& operator=(const TVariantCom&) = delete;
    VARIANT v;
};

// A new BSTR with the text; the caller frees it.
BSTR NuovaBstr(const QString& testo);
QString DaBstr(BSTR b);

// Fills an empty VARIANT with the value. An object is handed over by the given
// function, which returns its IDispatch with a reference added for the variant.
void VarianteInCom(const TVariante& valore, VARIANT& com, const std::function<IDispatch*(IOggettoAutomazione&)>& oggetto);

// The value a VARIANT holds (through references too); an object through the
// given function. Raises for kinds the seam has no place for.
TVariante VarianteDaCom(const VARIANT& com, const std::function<TVariante(IDispatch*)>& oggetto);

// The text of a failed call: the server's own description when it gave one.
QString TestoErroreCom(HRESULT esito, const EXCEPINFO* eccezione = nullptr);
