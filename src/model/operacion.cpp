#include "model/operacion.h"

#include "model/config_es.h"
#include "model/errores.h"
#include "model/formatos.h"

namespace qv {

namespace {

float ConstanteDe(const QString& texto)
{
    if (auto v = LeerReal(texto))
        return float(*v);
    throw EErrorFormato(QStringLiteral("Constante no valida: \"%1\"").arg(texto));
}

int CanalDe(const QString& texto)
{
    auto v = LeerEntero(texto);
    if (!v || *v < 0 || *v > 255)
        throw EErrorFormato(QStringLiteral("Canal no valido: \"%1\"").arg(texto));
    return int(*v);
}

} // namespace

TOperacion::TOperacion(const QString& operando1, int tipoFiltro, bool esConstante2, bool esConstante1,
                       double frecAlta, double frecBaja, const QString& tipoSenal,
                       const QString& unidadResultado, const QString& nombreResultado,
                       const QString& operador, const QString& operando2)
    : Operador(operador), TipoSenal(tipoSenal), NombreResultado(nombreResultado),
      UnidadResultado(unidadResultado), EsConstante1(esConstante1), EsConstante2(esConstante2)
{
    if (EsConstante1)
        Constante1 = ConstanteDe(operando1);
    else
        Operando1 = CanalDe(operando1);
    if (EsConstante2)
        Constante2 = ConstanteDe(operando2);
    else
        Operando2 = CanalDe(operando2);
    if (TipoSenal == QLatin1String("Ana") && Operador == QLatin1String("Filtro")) {
        TipoFiltro = std::uint8_t(tipoFiltro);
        FrecBaja = frecBaja;
        FrecAlta = frecAlta;
    }
}

QString TOperacion::TextoOperando1() const
{
    return EsConstante1 ? FormatoGeneral(Constante1) : QString::number(Operando1);
}

QString TOperacion::TextoOperando2() const
{
    return EsConstante2 ? FormatoGeneral(Constante2) : QString::number(Operando2);
}

QString TOperacion::Formula(const TConfigES& config) const
{
    const bool ana = EsAnalogica();
    auto texto = [&](bool constante, float c, int canal) {
        if (constante)
            return FormatoGeneral4(c);
        return ana ? config.NombreCanalAna(canal) : config.NombreCanalDig(canal);
    };
    const QString a = texto(EsConstante1, Constante1, Operando1);
    const QString b = texto(EsConstante2, Constante2, Operando2);
    const QString& o = Operador;
    if (o == QLatin1String("+") || o == QLatin1String("-") || o == QLatin1String("*") || o == QLatin1String("/"))
        return QStringLiteral("(%1 %2 %3)").arg(a, o, b);
    if (o == QLatin1String("Derivada"))
        return QStringLiteral("d/(%1)dt").arg(a);
    if (o == QLatin1String("Integral"))
        return QStringLiteral("f(%1)dx").arg(a);
    if (o == QLatin1String("Filtro"))
        return QStringLiteral("Filtro(%1)").arg(a);
    if (o == QLatin1String("Not"))
        return QStringLiteral("NOT(%1)").arg(a);
    // Or, And, Xor, Nand, Nor, Xnor: the operator in capitals between the operands.
    return QStringLiteral("(%1 %2 %3)").arg(a, o.toUpper(), b);
}

} // namespace qv
