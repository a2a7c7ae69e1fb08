// Office automation through COM. An object is created from its programmatic
// identifier and driven through IDispatch: every member is looked up by name at
// each call (GetIDsOfNames) and invoked with the dispatch flags of what is done
// with it: a read, a write, a write of an object reference, a method call.
#include "platform/AutomazioneSistema.h"
#include "platform/windows/VarianteCom.h"

#include <objbase.h>

#include <vector>

namespace {

// An interface pointer that releases itself.
class TDispatch {
public:
    explicit TDispatch(IDispatch* d = nullptr) : m_d(d) {} // takes over a reference
    TDispatch(const TDispatch& o) : m_d(o.m_d) {
        if (m_d) m_d->AddRef();
    }
    TDispatch& operator=(const TDispatch&) = delete;
    ~TDispatch() {
        if (m_d) m_d->Release();
    }
    IDispatch* get() const { return m_d; }

private:
    IDispatch* m_d;
};

class TOggettoCom : public IOggettoAutomazione {
public:
    TOggettoCom(TDispatch d, QString percorso) : m_d(std::move(d)), m_percorso(std::move(percorso)) {}

    TVariante Leggi(const QString& proprieta, const QList<TVariante>& indici) override {
        QList<TArgomento> argomenti;
        for (const TVariante& v : indici) argomenti.append({QString(), v});
        return Invoca(proprieta, DISPATCH_PROPERTYGET, argomenti, nullptr, QLatin1Char('['), QLatin1Char(']'));
    }

    void Imposta(const QString& proprieta, const TVariante& valore, const QList<TVariante>& indici) override {
        QList<TArgomento> argomenti;
        for (const TVariante& v : indici) argomenti.append({QString(), v});
        // An object is written as a reference, anything else as a value.
        const WORD modo = valore.TipoValore() == TVariante::Tipo::Oggetto ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
        Invoca(proprieta, modo, argomenti, &valore, QLatin1Char('['), QLatin1Char(']'));
    }

    TVariante Chiama(const QString& metodo, const QList<TArgomento>& argomenti) override {
        // The result may be used, as a late-bound caller's would.
        return Invoca(metodo, DISPATCH_METHOD | DISPATCH_PROPERTYGET, argomenti, nullptr, QLatin1Char('('),
                      QLatin1Char(')'));
    }

    QString Percorso() const override { return m_percorso; }
    IDispatch* Dispatch() const { return m_d.get(); }

private:
    TVariante Invoca(const QString& membro, WORD modo, const QList<TArgomento>& argomenti, const TVariante* valore,
                     QChar apri, QChar chiudi);

    TDispatch m_d;
    QString m_percorso;
};

QString Elenco(const QList<TArgomento>& argomenti) {
    QStringList parti;
    for (const TArgomento& a : argomenti)
        parti << (a.Nome.isEmpty() ? a.Valore.Descrizione() : a.Nome + QStringLiteral(":=") + a.Valore.Descrizione());
    return parti.join(QStringLiteral(", "));
}

IDispatch* DispatchDi(IOggettoAutomazione& o) {
    auto* com = dynamic_cast<TOggettoCom*>(&o);
    if (!com) throw EAutomazione(QStringLiteral("L'oggetto %1 non appartiene a questa applicazione").arg(o.Percorso()));
    com->Dispatch()->AddRef();
    return com->Dispatch();
}

TVariante TOggettoCom::Invoca(const QString& membro, WORD modo, const QList<TArgomento>& argomenti,
                              const TVariante* valore, QChar apri, QChar chiudi) {
    const QString chiamata = m_percorso + QLatin1Char('.') + membro;
    // The member first, then the names of the named arguments.
    std::vector<BSTR> nomi;
    struct Libera {
        std::vector<BSTR>& n;
        ~Libera() {
            for (BSTR b : n) SysFreeString(b);
        }
    } libera{nomi};
    nomi.push_back(NuovaBstr(membro));
    qsizetype posizionali = 0;
    for (const TArgomento& a : argomenti) {
        if (a.Nome.isEmpty()) {
            if (nomi.size() > 1) throw EAutomazione(QStringLiteral("%1: argomento senza nome dopo uno con nome").arg(chiamata));
            ++posizionali;
        } else {
            nomi.push_back(NuovaBstr(a.Nome));
        }
    }
    std::vector<DISPID> id(nomi.size(), DISPID_UNKNOWN);
    HRESULT esito = m_d.get()->GetIDsOfNames(IID_NULL, nomi.data(), UINT(nomi.size()), LOCALE_USER_DEFAULT, id.data());
    if (FAILED(esito))
        throw EAutomazione(QStringLiteral("%1: membro o argomento sconosciuto (%2)").arg(chiamata, TestoErroreCom(esito)));

    // Arguments go in reverse order; the named ones (and the value written,
    // named DISPID_PROPERTYPUT) come first.
    const qsizetype conValore = valore ? 1 : 0;
    std::vector<TVariantCom> variant(size_t(argomenti.size() + conValore));
    std::vector<DISPID> nominati;
    size_t k = 0;
    if (valore) {
        VarianteInCom(*valore, variant[k++].v, DispatchDi);
        nominati.push_back(DISPID_PROPERTYPUT);
    }
    for (qsizetype i = argomenti.size() - 1; i >= posizionali; --i) {
        VarianteInCom(argomenti[i].Valore, variant[k++].v, DispatchDi);
        nominati.push_back(id[size_t(i - posizionali + 1)]);
    }
    for (qsizetype i = posizionali - 1; i >= 0; --i) VarianteInCom(argomenti[i].Valore, variant[k++].v, DispatchDi);

    // An array goes by reference, as the office programs take a block of values.
    std::vector<VARIANT> args(variant.size());
    for (size_t i = 0; i < variant.size(); ++i) {
        if (V_VT(&variant[i].v) & VT_ARRAY) {
            VariantInit(&args[i]);
            V_VT(&args[i]) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&args[i]) = &variant[i].v;
        } else {
            args[i] = variant[i].v; // a shallow copy: variant[i] stays the owner
        }
    }
    DISPPARAMS parametri{args.data(), nominati.data(), UINT(args.size()), UINT(nominati.size())};
    TVariantCom risultato;
    EXCEPINFO eccezione{};
    UINT argomentoErrato = 0;
    esito = m_d.get()->Invoke(id[0], IID_NULL, LOCALE_USER_DEFAULT, modo, &parametri, valore ? nullptr : &risultato.v,
                              &eccezione, &argomentoErrato);
    if (esito == DISP_E_EXCEPTION && eccezione.pfnDeferredFillIn) eccezione.pfnDeferredFillIn(&eccezione);
    const QString errore = FAILED(esito) ? TestoErroreCom(esito, esito == DISP_E_EXCEPTION ? &eccezione : nullptr) : QString();
    SysFreeString(eccezione.bstrSource);
    SysFreeString(eccezione.bstrDescription);
    SysFreeString(eccezione.bstrHelpFile);
    if (FAILED(esito)) throw EAutomazione(QStringLiteral("%1: %2").arg(chiamata, errore));
    if (valore) return TVariante();

    QString figlio = m_percorso + QLatin1Char('.') + membro;
    if (apri == QLatin1Char('(') || !argomenti.isEmpty()) figlio += apri + Elenco(argomenti) + chiudi;
    return VarianteDaCom(risultato.v, [&](IDispatch* d) {
        d->AddRef();
        return TVariante::Oggetto(std::make_shared<TOggettoCom>(TDispatch(d), figlio));
    });
}

class TAutomazioneCom : public IAutomazione {
public:
    explicit TAutomazioneCom(IAutomazione& motore) : m_motore(motore) {
        // Once, on the user-interface thread that builds this; the desktop may have done it already.
        const HRESULT esito = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_inizializzato = SUCCEEDED(esito);
    }
    ~TAutomazioneCom() override {
        if (m_inizializzato) CoUninitialize();
    }

    std::shared_ptr<IOggettoAutomazione> Crea(const QString& idProgramma) override {
        const std::wstring id = idProgramma.toStdWString();
        CLSID classe;
        HRESULT esito = CLSIDFromProgID(id.c_str(), &classe);
        // No program registers it (no Office, or another office suite): the engine writes the document.
        if (esito == CO_E_CLASSSTRING || esito == REGDB_E_CLASSNOTREG || esito == REGDB_E_READREGDB)
            return m_motore.Crea(idProgramma);
        if (FAILED(esito))
            throw EAutomazione(QStringLiteral("Impossibile trovare %1: %2").arg(idProgramma, TestoErroreCom(esito)));
        IDispatch* d = nullptr;
        esito = CoCreateInstance(classe, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&d));
        if (FAILED(esito) || !d)
            throw EAutomazione(QStringLiteral("Impossibile avviare %1: %2").arg(idProgramma, TestoErroreCom(esito)));
        return std::make_shared<TOggettoCom>(TDispatch(d), idProgramma);
    }

    QStringList PrendiAvvisi() override { return m_motore.PrendiAvvisi(); }

private:
    IAutomazione& m_motore;
    bool m_inizializzato = false;
};

} // namespace

std::unique_ptr<IAutomazione> AutomazioneDelSistema(IAutomazione& motore) {
    return std::make_unique<TAutomazioneCom>(motore);
}
