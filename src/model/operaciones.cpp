#include "model/operaciones.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/calculo.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/fft.h"
#include "model/formatos.h"
#include "model/lector_campos.h"
#include "model/senales.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

const char* Logico(bool b) { return b ? "true" : "false"; }

QByteArray Operando(bool constante, float c, int canal)
{
    if (!constante)
        return QByteArray::number(canal);
    QByteArray texto = FormatoGeneral4(double(c)).toLatin1();
    // The largest floats round up to 3.403E38, which no float holds and no reader
    // would take back: those few are written as the 4-digit value below instead.
    if (const auto v = LeerReal(QByteArrayView(texto)); v && !std::isfinite(float(*v)))
        texto = FormatoGeneral4(std::copysign(3.402e38, double(c))).toLatin1();
    return texto;
}

template <class L>
bool Borrar(L& lista, const QString& nombre)
{
    auto it = std::find_if(lista.begin(), lista.end(),
                           [&](const TOperacion& o) { return o.NombreResultado == nombre; });
    if (it == lista.end())
        return false;
    lista.erase(it);
    return true;
}

// Count lines of the operations part: a count no list could reach is malformed.
qint64 Cuenta(TLectorCampos& l)
{
    const qint64 n = l.LeerCampoEntero();
    if (n < 0 || n > 1000000)
        throw EErrorFormato(QStringLiteral("Numero de operaciones no valido: %1").arg(n));
    return n;
}

} // namespace

bool TOperaciones::ExisteResultado(const QString& nombre) const
{
    auto tiene = [&](const TOperacion& o) { return o.NombreResultado == nombre; };
    return std::any_of(ListaOpAna.begin(), ListaOpAna.end(), tiene)
           || std::any_of(ListaOpDig.begin(), ListaOpDig.end(), tiene);
}

bool TOperaciones::BorrarOpAna(const QString& nombre) { return Borrar(ListaOpAna, nombre); }
bool TOperaciones::BorrarOpDig(const QString& nombre) { return Borrar(ListaOpDig, nombre); }

QByteArray RegistroOperacion(const TOperacion& op)
{
    QByteArray r = op.NombreResultado.toLatin1() + ' ' + op.Operador.toLatin1() + ' ';
    // Only analog records carry the filter values: the reader of digital ones skips none.
    if (op.EsAnalogica() && op.Operador == QLatin1String("Filtro"))
        r += FormatoGeneral(op.FrecBaja).toLatin1() + ' ' + FormatoGeneral(op.FrecAlta).toLatin1() + ' ';
    r += Logico(op.EsConstante1);
    r += ' ' + Operando(op.EsConstante1, op.Constante1, op.Operando1) + ' ';
    r += Logico(op.EsConstante2);
    r += ' ' + Operando(op.EsConstante2, op.Constante2, op.Operando2) + ' ';
    r += QByteArray::number(op.TipoFiltro) + ' ' + op.UnidadResultado.toLatin1() + '$';
    return r;
}

TOperacion LeerRegistroOperacion(TLectorCampos& l, bool analogica)
{
    const QString nombre = l.LeerCampoTexto();
    const QString operador = l.LeerCampoTexto();
    double frecBaja = 0, frecAlta = 0;
    const bool filtro = analogica && operador == QLatin1String("Filtro");
    if (filtro) {
        frecBaja = l.LeerCampoReal();
        frecAlta = l.LeerCampoReal();
    }
    bool c1 = l.LeerCampo() == "true";
    const QString op1 = l.LeerCampoTexto();
    bool c2 = l.LeerCampo() == "true";
    const QString op2 = l.LeerCampoTexto();
    int tipo = -1;
    if (analogica) {
        const qint64 t = l.LeerCampoEntero();
        if (t < 0 || t > 255)
            throw EErrorFormato(QStringLiteral("Tipo de filtro no valido: %1").arg(t));
        tipo = int(t);
    } else {
        l.LeerCampo();
        c1 = c2 = false;
    }
    const QString unidad = QString::fromLatin1(l.LeerHasta('$'));
    if (nombre.isEmpty() || operador.isEmpty())
        throw EErrorFormato(QStringLiteral("Registro de operacion incompleto"));
    TOperacion op(op1, tipo, c2, c1, frecAlta, frecBaja, analogica ? QStringLiteral("Ana") : QStringLiteral("Dig"),
                  unidad, nombre, operador, op2);
    // A constant beyond single precision would be written back as "INF", which no reader takes.
    if (!std::isfinite(op.Constante1) || !std::isfinite(op.Constante2))
        throw EErrorFormato(QStringLiteral("Constante fuera de rango"));
    return op;
}

QByteArray TOperaciones::Escribir() const
{
    QByteArray s = QByteArray::number(qsizetype(ListaOpAna.size())) + "\r\n";
    for (const auto& op : ListaOpAna)
        s += RegistroOperacion(op) + "\r\n";
    s += QByteArray::number(qsizetype(ListaOpDig.size())) + "\r\n";
    for (const auto& op : ListaOpDig)
        s += RegistroOperacion(op) + "\r\n";
    return s;
}

void TOperaciones::Leer(TLectorCampos& l)
{
    const qint64 nAna = Cuenta(l);
    l.SaltarResto();
    for (qint64 i = 0; i < nAna; ++i) {
        ListaOpAna.push_back(LeerRegistroOperacion(l, true));
        l.SaltarResto();
    }
    const qint64 nDig = Cuenta(l);
    l.SaltarResto();
    for (qint64 i = 0; i < nDig; ++i) {
        ListaOpDig.push_back(LeerRegistroOperacion(l, false));
        l.SaltarResto();
    }
}

// --- recomputation

namespace {

bool UnOperando(const TOperacion& op)
{
    return op.Operador == QLatin1String("Integral") || op.Operador == QLatin1String("Derivada")
           || op.Operador == QLatin1String("Filtro");
}

bool FaltanOperandosAna(const TOperacion& op, const TCjtSenales& s, const TConfigES& c)
{
    auto hay = [&](int canal) { return s.BuscarAna(c.NombreCanalAna(canal)) != nullptr; };
    if (op.EsConstante1 && op.EsConstante2)
        return true;
    if (op.EsConstante1)
        return !hay(op.Operando2);
    if (op.EsConstante2)
        return !hay(op.Operando1);
    return !hay(op.Operando1) || (!UnOperando(op) && !hay(op.Operando2));
}

bool FaltanOperandosDig(const TOperacion& op, const TCjtSenales& s, const TConfigES& c)
{
    auto hay = [&](int canal) { return s.BuscarDig(c.NombreCanalDig(canal)) != nullptr; };
    return !hay(op.Operando1) || (op.Operador != QLatin1String("Not") && !hay(op.Operando2));
}

// The result of one analog operation; nullptr when an operand vanished or the kernel
// gave nothing: the recomputation stops there.
std::unique_ptr<TSenalAna> CalcularAna(const TOperacion& op, TCjtSenales& s, const TConfigES& c, TFFT& fft,
                                       TCalculo& calculo, TTextos& textos)
{
    const TSenalAna* a = op.EsConstante1 ? nullptr : s.BuscarAna(c.NombreCanalAna(op.Operando1));
    const TSenalAna* b = op.EsConstante2 ? nullptr : s.BuscarAna(c.NombreCanalAna(op.Operando2));
    const QString& o = op.Operador;
    if (o == QLatin1String("Derivada") || o == QLatin1String("Integral") || o == QLatin1String("Filtro")) {
        if (!a)
            return nullptr;
        if (o == QLatin1String("Derivada"))
            return calculo.Derivada(*a, &op);
        if (o == QLatin1String("Integral"))
            return calculo.Integral(*a, &op);
        auto r = std::make_unique<TSenalAna>(textos, QStringLiteral("Resultado"), true, &op, nullptr, 0,
                                             a->Periodo(), std::uint16_t(a->NumMuestras()));
        for (int i = 0; i < a->NumMuestras(); ++i)
            r->PonerMuestra(i, a->LeerMuestra(i));
        fft.FiltrarFFT(*r, op.TipoFiltro, op.FrecBaja, op.FrecAlta, a->Duracion() / a->Periodo());
        return r;
    }
    if (op.EsConstante1)
        return b ? calculo.OperarConstante(*b, op.Constante1, true, o, &op) : nullptr;
    if (op.EsConstante2)
        return a ? calculo.OperarConstante(*a, op.Constante2, false, o, &op) : nullptr;
    if (!a || !b)
        return nullptr;
    return calculo.Operar(*a, *b, o, &op);
}

std::unique_ptr<TSenalDig> CalcularDig(const TOperacion& op, TCjtSenales& s, const TConfigES& c,
                                       TCalculo& calculo)
{
    const TSenalDig* a = s.BuscarDig(c.NombreCanalDig(op.Operando1));
    if (!a)
        return nullptr;
    if (op.Operador == QLatin1String("Not"))
        return calculo.Not(*a, &op);
    const TSenalDig* b = s.BuscarDig(c.NombreCanalDig(op.Operando2));
    if (!b)
        return nullptr;
    return calculo.OperarDig(*a, *b, op.Operador, &op);
}

} // namespace

void TOperaciones::Recalcular(TCjtSenales& senales, const TConfigES& config, TFFT& fft,
                              TInteraccion& interaccion, TTextos& textos) const
{
    if (!Activas)
        return;
    try {
        // A copy: adding results may ask the user, and nothing here changes the list.
        TOperaciones copia = *this;
        std::erase_if(copia.ListaOpAna,
                      [&](const TOperacion& op) { return FaltanOperandosAna(op, senales, config); });
        std::erase_if(copia.ListaOpDig,
                      [&](const TOperacion& op) { return FaltanOperandosDig(op, senales, config); });
        TCalculo calculo(textos, interaccion);
        for (const auto& op : copia.ListaOpAna) {
            auto r = CalcularAna(op, senales, config, fft, calculo, textos);
            if (!r)
                return;
            r->PonerNombre(op.NombreResultado);
            senales.AnadirAna(std::move(r));
        }
        for (const auto& op : copia.ListaOpDig) {
            auto r = CalcularDig(op, senales, config, calculo);
            if (!r)
                return;
            r->PonerNombre(op.NombreResultado);
            senales.AnadirDig(std::move(r));
        }
    } catch (const std::exception&) {
        interaccion.MostrarError(textos.BuscarTexto(183), Botones::Aceptar);
    }
}

} // namespace qv
