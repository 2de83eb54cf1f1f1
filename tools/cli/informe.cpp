#include "informe.h"

#include "exportar_csv.h"

#include "lang/textos.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <QStringList>

namespace qv {

namespace {

QString Float(float x)
{
    return QString::fromLatin1(TextoFloat(x));
}

QString Canales(const QStringList& lista)
{
    return lista.isEmpty() ? QStringLiteral("none") : lista.join(QStringLiteral(", "));
}

QString Origen(const TSenalAna& s, const TConfigES& config, TTextos& textos)
{
    switch (s.Origen()) {
    case OrigenSenal::Generador:
        return QStringLiteral("generator of output %1 (%2)").arg(s.Canal).arg(s.Generador()->Escribir(textos));
    case OrigenSenal::Operacion:
        return QStringLiteral("operation %1").arg(s.Operacion()->Formula(config));
    case OrigenSenal::Calculada:
        return QStringLiteral("calculated");
    default:
        return QStringLiteral("captured on channel %1 (full scale %2 V, factor %3, unit %4)")
            .arg(s.Canal)
            .arg(Float(s.FondoEscala), Float(s.Factor), s.Unidad);
    }
}

QString Origen(const TSenalDig& s, const TConfigES& config, TTextos& textos)
{
    switch (s.Origen()) {
    case OrigenSenal::Generador:
        return QStringLiteral("generator of output %1 (%2)").arg(s.Canal).arg(s.Generador()->Escribir(textos));
    case OrigenSenal::Operacion:
        return QStringLiteral("operation %1").arg(s.Operacion()->Formula(config));
    case OrigenSenal::Calculada:
        return QStringLiteral("calculated");
    default:
        return QStringLiteral("captured on channel %1").arg(s.Canal);
    }
}

} // namespace

QString AbreviaturaUnidad(int codigo)
{
    static const char* const nombres[] = {"us", "ms", "s", "min", "h"};
    return QString::fromLatin1(nombres[std::clamp(codigo, 0, 4)]);
}

QString InformeFichero(const QString& ruta, const TConfigES& config, const TOperaciones& operaciones,
                       const TCjtSenales& senales, TTextos& textos)
{
    QStringList l;
    l << QStringLiteral("file: %1").arg(ruta);
    l << QStringLiteral("content: %1").arg(senales.Vacio() ? QStringLiteral("configuration")
                                                           : QStringLiteral("signals"));
    l << QStringLiteral("time base: period %1 %2, analysis time %3 %4, %5 samples, delay %6 s%7")
             .arg(FormatoGeneral(config.Periodo), AbreviaturaUnidad(config.UnidadPeriodo),
                  FormatoGeneral(config.TiempoAnalisis), AbreviaturaUnidad(config.UnidadAnalisis))
             .arg(config.NumMuestras)
             .arg(FormatoGeneral(config.Retardo), config.Rapida ? QStringLiteral(", fastest") : QString());

    QStringList ed, ea, sd, sa;
    for (int i = 1; i <= TConfigES::NumEntDig; ++i)
        if (config.EntDig(i).Activo)
            ed << QStringLiteral("%1 (%2)").arg(config.EntDig(i).Nombre).arg(i);
    for (int i = 1; i <= TConfigES::NumEntAna; ++i) {
        const TEntAna& c = config.EntAna(i);
        if (c.Activo)
            ea << QStringLiteral("%1 (%2, %3%4, factor %5, %6)")
                      .arg(c.Nombre)
                      .arg(i)
                      .arg(TokenRango(c.Rango), c.Diferencial ? QStringLiteral(", differential") : QString(),
                           Float(c.Factor), c.Unidad);
    }
    for (int i = 1; i <= TConfigES::NumSalDig; ++i) {
        const TSalDig& c = config.SalDig(i);
        if (c.Activo)
            sd << QStringLiteral("%1 (%2, %3)")
                      .arg(c.Nombre)
                      .arg(i)
                      .arg(c.Generador ? c.Generador->Escribir(textos) : QStringLiteral("no generator"));
    }
    for (int i = 1; i <= TConfigES::NumSalAna; ++i) {
        const TSalAna& c = config.SalAna(i);
        if (c.Activo)
            sa << QStringLiteral("%1 (%2, %3)")
                      .arg(c.Nombre)
                      .arg(i)
                      .arg(c.Generador ? c.Generador->Escribir(textos) : QStringLiteral("no generator"));
    }
    l << QStringLiteral("digital inputs: %1").arg(Canales(ed));
    l << QStringLiteral("analog inputs: %1").arg(Canales(ea));
    l << QStringLiteral("digital outputs: %1").arg(Canales(sd));
    l << QStringLiteral("analog outputs: %1").arg(Canales(sa));

    l << QStringLiteral("operations: %1 analog, %2 digital")
             .arg(operaciones.ListaOpAna.size())
             .arg(operaciones.ListaOpDig.size());
    for (const auto* lista : {&operaciones.ListaOpAna, &operaciones.ListaOpDig})
        for (const TOperacion& op : *lista)
            l << QStringLiteral("operation %1 = %2").arg(op.NombreResultado, op.Formula(config));

    l << QStringLiteral("signals: %1 analog, %2 digital").arg(senales.NumAna()).arg(senales.NumDig());
    for (int i = 0; i < senales.NumAna(); ++i) {
        const TSenalAna& s = *senales.Ana(i);
        const auto e = s.Estadisticas();
        l << QStringLiteral("signal %1: analog, %2 samples, period %3 s, %4; max %5, min %6, mean %7, area %8")
                 .arg(s.Nombre())
                 .arg(s.NumMuestras())
                 .arg(Float(float(s.Periodo())), Origen(s, config, textos))
                 .arg(Float(s.NumMuestras() ? e.maximo : 0), Float(s.NumMuestras() ? e.minimo : 0),
                      Float(e.media), Float(s.Area()));
    }
    for (int i = 0; i < senales.NumDig(); ++i) {
        const TSenalDig& s = *senales.Dig(i);
        int unos = 0;
        for (std::uint8_t m : s.Muestras())
            unos += m ? 1 : 0;
        l << QStringLiteral("signal %1: digital, %2 samples, period %3 s, %4; ones %5, high pulses %6, low pulses %7")
                 .arg(s.Nombre())
                 .arg(s.NumMuestras())
                 .arg(Float(float(s.Periodo())), Origen(s, config, textos))
                 .arg(unos)
                 .arg(s.NumPulsosAlto())
                 .arg(s.NumPulsosBajo());
    }
    l << QStringLiteral("comment: %1 lines").arg(senales.Comentario.size());
    for (const QString& c : senales.Comentario)
        l << QStringLiteral("  %1").arg(c);
    return l.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace qv
