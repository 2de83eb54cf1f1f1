#include "model/decodificacion.h"

#include "lang/textos.h"
#include "model/exportar.h"
#include "model/formatos.h"
#include "model/lector_campos.h"
#include "model/senales.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace qv {

namespace {

QString Buscar(const std::vector<TAjusteDecod>& lista, const QString& id)
{
    for (const TAjusteDecod& a : lista)
        if (a.Id == id)
            return a.Valor;
    return {};
}

// One line of the file: CR and LF of a value would end it.
QByteArray UnaLinea(const QString& texto)
{
    QByteArray b = texto.toLatin1();
    b.replace('\r', ' ');
    b.replace('\n', ' ');
    return b;
}

QByteArray Campo(const QString& texto) { return CitarCsv(texto.toUtf8()); }

} // namespace

// ---- the decoding ------------------------------------------------------------------------

QString TDecodificacion::SenalDe(const QString& canal) const { return Buscar(Canales, canal); }

QString TDecodificacion::Opcion(const QString& id) const { return Buscar(Opciones, id); }

QStringList TDecodificacion::Senales() const
{
    QStringList r;
    for (const TAjusteDecod& c : Canales)
        if (!c.Valor.isEmpty() && !r.contains(c.Valor))
            r << c.Valor;
    return r;
}

QString TDecodificacion::Descripcion() const
{
    QStringList canales;
    for (const TAjusteDecod& c : Canales)
        canales << c.Id + QLatin1Char('=') + c.Valor;
    QString r = Decodificador;
    for (const TCapaDecod& a : Apilados)
        r += QLatin1Char('/') + a.Decodificador;
    return r + QStringLiteral(" (") + canales.join(QStringLiteral(", ")) + QLatin1Char(')');
}

const TOpcionDecodificador* TInfoDecodificador::Opcion(const QString& id) const
{
    for (const TOpcionDecodificador& o : Opciones)
        if (o.Id == id)
            return &o;
    return nullptr;
}

const TCanalDecodificador* TInfoDecodificador::Canal(const QString& id) const
{
    for (const TCanalDecodificador& c : Canales)
        if (c.Id == id)
            return &c;
    return nullptr;
}

const TInfoDecodificador* BuscarDecodificador(const TCatalogoDecod& catalogo, const QString& id)
{
    for (const TInfoDecodificador& i : catalogo)
        if (i.Id == id)
            return &i;
    return nullptr;
}

std::vector<const TInfoDecodificador*> Apilables(const TCatalogoDecod& catalogo, const TInfoDecodificador& base)
{
    std::vector<const TInfoDecodificador*> r;
    for (const TInfoDecodificador& i : catalogo)
        for (const QString& e : i.Entradas)
            if (e != QLatin1String("logic") && base.Salidas.contains(e)) {
                r.push_back(&i);
                break;
            }
    std::sort(r.begin(), r.end(), [](const TInfoDecodificador* a, const TInfoDecodificador* b) {
        return a->Nombre.compare(b->Nombre, Qt::CaseInsensitive) < 0;
    });
    return r;
}

bool ValorValido(const TOpcionDecodificador& o, const QString& valor)
{
    const QString v = valor.trimmed();
    double numero = 0;
    if (o.Tipo != TTipoOpcion::Texto) {
        std::optional<double> leido;
        if (o.Tipo == TTipoOpcion::Entero) {
            if (const auto e = LeerEntero(v))
                leido = double(*e);
        } else {
            leido = LeerReal(v);
        }
        if (!leido || !std::isfinite(*leido))
            return false;
        numero = *leido;
    }
    if (o.Valores.isEmpty())
        return true;
    for (const QString& permitido : o.Valores) {
        if (o.Tipo == TTipoOpcion::Texto) {
            if (permitido == valor)
                return true;
        } else if (const auto p = LeerReal(permitido); p && *p == numero) {
            return true;
        }
    }
    return false;
}

QString TextoFallo(const TFalloDecod& f, TTextos& textos)
{
    // One pass: an argument that holds "%2" (a file name) stays as it is.
    const QString t = textos.BuscarTexto(f.Clave);
    QString r;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const int k = i + 1 < t.size() ? t[i + 1].digitValue() : -1;
        if (t[i] == QLatin1Char('%') && k >= 1 && k <= int(f.Argumentos.size())) {
            r += f.Argumentos[k - 1];
            ++i;
        } else {
            r += t[i];
        }
    }
    return r;
}

// ---- the samples ---------------------------------------------------------------------------

TFalloDecod PrepararEntrada(const TDecodificacion& d, const TCjtSenales& set, TEntradaDecod& entrada)
{
    entrada = {};
    std::vector<const TSenalDig*> senales;
    for (const TAjusteDecod& c : d.Canales) {
        if (c.Valor.isEmpty())
            continue;
        const TSenalDig* s = set.BuscarDig(c.Valor);
        if (!s)
            return {clave_decod::kTextoSinSenal, {c.Valor}};
        auto it = std::find(senales.begin(), senales.end(), s);
        if (it == senales.end()) {
            senales.push_back(s);
            entrada.Senales << s->Nombre();
            it = senales.end() - 1;
        }
        entrada.Canales.emplace_back(c.Id, int(it - senales.begin()));
    }
    if (int(senales.size()) > MaxCanalesDecod)
        return {clave_decod::kTextoDemasiadosCanales, {QString::number(MaxCanalesDecod)}};
    if (senales.empty())
        return {};
    // Periods compared to the microsecond, as the windows that show them together.
    const auto micro = [](double p) { return std::llround(p * 1e6); };
    entrada.Periodo = senales.front()->Periodo();
    int n = senales.front()->NumMuestras();
    for (const TSenalDig* s : senales) {
        if (micro(s->Periodo()) != micro(entrada.Periodo))
            return {clave_decod::kTextoPeriodosDistintos, {}};
        n = std::min(n, s->NumMuestras());
    }
    entrada.Muestras.assign(std::size_t(n), 0);
    for (std::size_t k = 0; k < senales.size(); ++k) {
        const std::uint8_t bit = std::uint8_t(1u << k);
        const auto& m = senales[k]->Muestras();
        for (int i = 0; i < n; ++i)
            if (m[std::size_t(i)] & 1)
                entrada.Muestras[std::size_t(i)] |= bit;
    }
    return {};
}

double FrecuenciaNecesaria(const TDecodificacion& d, const TInfoDecodificador& info)
{
    const TOpcionDecodificador* o = info.Opcion(QStringLiteral("baudrate"));
    if (!o)
        return 0;
    QString v = d.Opcion(o->Id);
    if (v.isEmpty())
        v = o->Defecto;
    const auto baudios = LeerReal(v);
    return baudios && *baudios > 0 ? *baudios * MuestrasPorBit : 0;
}

// ---- results -------------------------------------------------------------------------------

QString TResultadoDecod::IdFila(int fila) const
{
    if (fila < 0 || fila >= int(Filas.size()))
        return {};
    const TFilaDecod& f = Filas[std::size_t(fila)];
    return f.Apilada ? f.Decodificador + QLatin1Char(':') + f.Id : f.Id;
}

QString TResultadoDecod::Clase(const TAnotacionDecod& a) const
{
    if (a.Fila < 0 || a.Fila >= int(Filas.size()))
        return {};
    const int capa = Filas[std::size_t(a.Fila)].Capa;
    return capa >= 0 && capa < int(Clases.size()) ? Clases[std::size_t(capa)].value(a.Clase) : QString();
}

QByteArray CsvAnotaciones(const TResultadoDecod& r)
{
    QByteArray s = "start_s,end_s,row,text\r\n";
    s.reserve(qsizetype(r.Anotaciones.size()) * 40 + s.size());
    for (const TAnotacionDecod& a : r.Anotaciones) {
        s += FormatoGeneral(double(a.Desde) * r.Periodo).toLatin1();
        s += ',';
        s += FormatoGeneral(double(a.Hasta) * r.Periodo).toLatin1();
        s += ',';
        s += Campo(r.IdFila(a.Fila));
        s += ',';
        s += Campo(a.Textos.value(0));
        s += "\r\n";
    }
    return s;
}

// ---- the file block --------------------------------------------------------------------------

// After the comment and the notes:
//   Decodificaciones:
//   <count>
//   Decodificacion <decoder>$
//   Canal <channel>$<signal>
//   Opcion <option>$<value>
//   Apilado <decoder>$            (its options follow)
//   FinDecodificacion$
// Ids come before "$", values after it to the line end (so they may hold blanks). No line is
// a bare keyword of the signal readers ("ComienzaSeñal", "Ana", "Dig").
namespace {
const QByteArray CabeceraDecod("Decodificaciones:");
const char* const Fin = "\r\n";

void Ajuste(QByteArray& s, const char* palabra, const TAjusteDecod& a)
{
    s += palabra;
    s += ' ';
    s += UnaLinea(a.Id);
    s += '$';
    s += UnaLinea(a.Valor);
    s += Fin;
}
} // namespace

void EscribirDecodificaciones(const std::vector<TDecodificacion>& lista, QByteArray& s)
{
    if (lista.empty())
        return;
    s += CabeceraDecod;
    s += Fin;
    s += QByteArray::number(qsizetype(lista.size()));
    s += Fin;
    for (const TDecodificacion& d : lista) {
        s += "Decodificacion " + UnaLinea(d.Decodificador) + '$' + Fin;
        for (const TAjusteDecod& c : d.Canales)
            Ajuste(s, "Canal", c);
        for (const TAjusteDecod& o : d.Opciones)
            Ajuste(s, "Opcion", o);
        for (const TCapaDecod& a : d.Apilados) {
            s += "Apilado " + UnaLinea(a.Decodificador) + '$' + Fin;
            for (const TAjusteDecod& o : a.Opciones)
                Ajuste(s, "Opcion", o);
        }
        s += "FinDecodificacion$";
        s += Fin;
    }
}

std::vector<TDecodificacion> LeerDecodificaciones(const QByteArray& datos, qsizetype desde)
{
    std::vector<TDecodificacion> r;
    TLectorCampos l(datos);
    l.PonerPosicion(std::clamp<qsizetype>(desde, 0, datos.size()));
    while (!l.Fin() && l.LeerLinea() != CabeceraDecod) {
    }
    if (l.Fin())
        return r;
    const auto n = LeerEnteroInicio(l.LeerLinea());
    if (!n || *n < 0)
        return r;
    // Splits "Palabra id$valor".
    const auto partir = [](const QByteArray& linea, QByteArray& palabra, QString& id, QString& valor) {
        const qsizetype blanco = linea.indexOf(' ');
        const qsizetype dolar = linea.indexOf('$');
        if (blanco <= 0 || dolar < blanco)
            return false;
        palabra = linea.left(blanco);
        id = QString::fromLatin1(linea.mid(blanco + 1, dolar - blanco - 1)).trimmed();
        valor = QString::fromLatin1(linea.mid(dolar + 1));
        return !id.isEmpty();
    };
    for (qint64 i = 0; i < *n && !l.Fin(); ++i) {
        QByteArray palabra;
        QString id, valor;
        // Lines up to the start of the next decoding are skipped after a damaged one.
        while (!l.Fin()) {
            const QByteArray linea = l.LeerLinea();
            if (partir(linea, palabra, id, valor) && palabra == "Decodificacion")
                break;
            palabra.clear();
        }
        if (palabra != "Decodificacion")
            break;
        TDecodificacion d;
        d.Decodificador = id;
        bool entera = false;
        while (!l.Fin()) {
            const qsizetype antes = l.Posicion();
            const QByteArray linea = l.LeerLinea();
            if (linea.trimmed() == "FinDecodificacion$") {
                entera = true;
                break;
            }
            if (!partir(linea, palabra, id, valor))
                break;
            if (palabra == "Decodificacion") {
                l.PonerPosicion(antes); // the end line is missing: this one is left out
                break;
            }
            if (palabra == "Canal" && d.Apilados.empty())
                d.Canales.push_back({id, valor});
            else if (palabra == "Opcion")
                (d.Apilados.empty() ? d.Opciones : d.Apilados.back().Opciones).push_back({id, valor});
            else if (palabra == "Apilado")
                d.Apilados.push_back({id, {}});
            else
                break;
        }
        if (entera)
            r.push_back(std::move(d));
    }
    return r;
}

} // namespace qv
