// A recording COM server for the checks under Wine, standing in for Microsoft
// Excel and Microsoft Word: an in-process server whose objects answer every
// member (reads and calls with a new object, writes with nothing) and write each
// call down as the tests' recording automation double does ("Leggi
// Excel.Application.Workbooks[I32 1]" ...). The file is named by
// TEGOLARIO_REGISTRO_COM; each line is the dispatch flags, a tab and the call.
// Lines that start with "#" add what a call table does not show: the values of an
// array, and the moment the last object is released.
#include "doubles/FintaAutomazione.h"
#include "platform/windows/VarianteCom.h"

#include <QFile>

#include <objbase.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace {

// {6C1E5B3A-2F4D-4E8B-9A71-3D5C0E7F1A01} for Excel.Application, ...02 for Word.Application.
constexpr CLSID ClasseExcel = {0x6c1e5b3a, 0x2f4d, 0x4e8b, {0x9a, 0x71, 0x3d, 0x5c, 0x0e, 0x7f, 0x1a, 0x01}};
constexpr CLSID ClasseWord = {0x6c1e5b3a, 0x2f4d, 0x4e8b, {0x9a, 0x71, 0x3d, 0x5c, 0x0e, 0x7f, 0x1a, 0x02}};
// What the server's own objects answer to, so that an argument can be named by its path.
constexpr IID InterfacciaRegistrata = {0x6c1e5b3a, 0x2f4d, 0x4e8b, {0x9a, 0x71, 0x3d, 0x5c, 0x0e, 0x7f, 0x1a, 0x10}};

std::atomic<long> g_vivi{0}, g_blocchi{0};
std::mutex g_mutex;
std::vector<QString> g_nomi; // the DISPID of a name is its place + 1, as first sent

// One line a call: a backslash, a carriage return and a line feed in it are written
// as \\, \r and \n.
void Scrivi(QString riga) {
    riga.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    riga.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    riga.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    const QByteArray nome = qgetenv("TEGOLARIO_REGISTRO_COM");
    QFile f(nome.isEmpty() ? QStringLiteral("registro-com.txt") : QString::fromLocal8Bit(nome));
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write((riga + QLatin1Char('\n')).toUtf8());
}

DISPID Id(const QString& nome) {
    std::lock_guard blocco(g_mutex);
    for (size_t i = 0; i < g_nomi.size(); ++i)
        if (g_nomi[i] == nome) return DISPID(i + 1);
    g_nomi.push_back(nome);
    return DISPID(g_nomi.size());
}

QString Nome(DISPID id) {
    std::lock_guard blocco(g_mutex);
    return id >= 1 && size_t(id) <= g_nomi.size() ? g_nomi[size_t(id - 1)] : QStringLiteral("?%1").arg(id);
}

// An argument that is one of the server's objects, for its description.
class Descritto : public IOggettoAutomazione {
public:
    explicit Descritto(QString percorso) : m_percorso(std::move(percorso)) {}
    TVariante Leggi(const QString&, const QList<TVariante>&) override { return {}; }
    void Imposta(const QString&, const TVariante&, const QList<TVariante>&) override {}
    TVariante Chiama(const QString&, const QList<TArgomento>&) override { return {}; }
    QString Percorso() const override { return m_percorso; }

private:
    QString m_percorso;
};

// IUnknown for the server's own objects: counted references, and the interfaces each answers to.
template <class Interfaccia>
class Contato : public Interfaccia {
public:
    virtual ~Contato() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** p) override {
        if (!p) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || Risponde(iid)) {
            *p = static_cast<Interfaccia*>(this);
            this->AddRef();
            return S_OK;
        }
        *p = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++m_riferimenti); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long n = --m_riferimenti;
        if (n == 0) delete this;
        return ULONG(n);
    }

protected:
    virtual bool Risponde(REFIID iid) const = 0;

private:
    std::atomic<long> m_riferimenti{1};
};

class Oggetto : public Contato<IDispatch> {
public:
    explicit Oggetto(QString percorso) : m_percorso(std::move(percorso)) { ++g_vivi; }
    virtual ~Oggetto() {
        if (--g_vivi == 0) Scrivi(QStringLiteral("#Nessun oggetto vivo"));
    }
    const QString& Percorso() const { return m_percorso; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* nomi, UINT n, LCID, DISPID* id) override {
        for (UINT i = 0; i < n; ++i)
            id[i] = Id(QString::fromUtf16(reinterpret_cast<const char16_t*>(nomi[i])));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID membro, REFIID, LCID, WORD modo, DISPPARAMS* p, VARIANT* risultato,
                                     EXCEPINFO*, UINT*) override;

private:
    bool Risponde(REFIID iid) const override {
        return IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, InterfacciaRegistrata);
    }
    QString m_percorso;
};

// "METHOD|PROPERTYGET", "PROPERTYPUTREF" ...
QString Flag(WORD modo) {
    QStringList f;
    if (modo & DISPATCH_METHOD) f << QStringLiteral("METHOD");
    if (modo & DISPATCH_PROPERTYGET) f << QStringLiteral("PROPERTYGET");
    if (modo & DISPATCH_PROPERTYPUT) f << QStringLiteral("PROPERTYPUT");
    if (modo & DISPATCH_PROPERTYPUTREF) f << QStringLiteral("PROPERTYPUTREF");
    return f.join(QLatin1Char('|'));
}

TVariante Valore(const VARIANT& v) {
    return VarianteDaCom(v, [](IDispatch* d) {
        void* nostro = nullptr;
        QString percorso = QStringLiteral("?");
        if (SUCCEEDED(d->QueryInterface(InterfacciaRegistrata, &nostro))) {
            percorso = static_cast<Oggetto*>(static_cast<IDispatch*>(nostro))->Percorso();
            static_cast<IDispatch*>(nostro)->Release();
        }
        return TVariante::Oggetto(std::make_shared<Descritto>(percorso));
    });
}

HRESULT Oggetto::Invoke(DISPID membro, REFIID, LCID, WORD modo, DISPPARAMS* p, VARIANT* risultato, EXCEPINFO*,
                        UINT*) {
    try {
        TChiamataRegistrata c;
        c.Tipo = modo & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF) ? TChiamataRegistrata::Genere::Imposta
                 : modo & DISPATCH_METHOD                                 ? TChiamataRegistrata::Genere::Chiama
                                                                          : TChiamataRegistrata::Genere::Leggi;
        c.Oggetto = m_percorso;
        c.Membro = Nome(membro);
        // The arguments come last first; the named ones at the front.
        for (UINT i = p ? p->cArgs : 0; i-- > 0;) {
            TArgomento a;
            const DISPID nome = i < p->cNamedArgs ? p->rgdispidNamedArgs[i] : DISPID_UNKNOWN;
            if (nome == DISPID_PROPERTYPUT) {
                c.Valore = Valore(p->rgvarg[i]);
                continue;
            }
            if (i < p->cNamedArgs) a.Nome = Nome(nome);
            a.Valore = Valore(p->rgvarg[i]);
            c.Argomenti.append(a);
        }
        Scrivi(Flag(modo) + QLatin1Char('\t') + c.Testo());
        if (c.Valore.TipoValore() == TVariante::Tipo::Matrice) {
            QStringList celle;
            const TMatrice& m = c.Valore.ComeMatrice();
            for (int r = 1; r <= m.Righe(); ++r)
                for (int k = 1; k <= m.Colonne(); ++k) celle << m.At(r, k).Descrizione();
            Scrivi(QStringLiteral("#Matrice ") + celle.join(QLatin1Char('\t')));
        }
        if (risultato && c.Tipo != TChiamataRegistrata::Genere::Imposta) {
            QString figlio = m_percorso + QLatin1Char('.') + c.Membro;
            QStringList argomenti;
            for (const TArgomento& a : c.Argomenti)
                argomenti << (a.Nome.isEmpty() ? QString() : a.Nome + QStringLiteral(":=")) + a.Valore.Descrizione();
            if (c.Tipo == TChiamataRegistrata::Genere::Chiama)
                figlio += QLatin1Char('(') + argomenti.join(QStringLiteral(", ")) + QLatin1Char(')');
            else if (!argomenti.isEmpty())
                figlio += QLatin1Char('[') + argomenti.join(QStringLiteral(", ")) + QLatin1Char(']');
            VariantInit(risultato);
            V_VT(risultato) = VT_DISPATCH;
            V_DISPATCH(risultato) = new Oggetto(figlio);
        }
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

class Fabbrica : public Contato<IClassFactory> {
public:
    explicit Fabbrica(QString applicazione) : m_applicazione(std::move(applicazione)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* esterno, REFIID iid, void** p) override {
        if (esterno) return CLASS_E_NOAGGREGATION;
        Scrivi(QStringLiteral("CreateInstance\tCrea ") + m_applicazione);
        auto* o = new Oggetto(m_applicazione);
        const HRESULT esito = o->QueryInterface(iid, p);
        o->Release();
        return esito;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL blocca) override {
        blocca ? ++g_blocchi : --g_blocchi;
        return S_OK;
    }

private:
    bool Risponde(REFIID iid) const override { return IsEqualIID(iid, IID_IClassFactory); }
    QString m_applicazione;
};

} // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classe, REFIID iid, void** p) {
    if (!p) return E_POINTER;
    *p = nullptr;
    const QString nome = IsEqualCLSID(classe, ClasseExcel) ? QStringLiteral("Excel.Application")
                         : IsEqualCLSID(classe, ClasseWord) ? QStringLiteral("Word.Application")
                                                            : QString();
    if (nome.isEmpty()) return CLASS_E_CLASSNOTAVAILABLE;
    auto* f = new Fabbrica(nome);
    const HRESULT esito = f->QueryInterface(iid, p);
    f->Release();
    return esito;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_vivi == 0 && g_blocchi == 0 ? S_OK : S_FALSE; }
