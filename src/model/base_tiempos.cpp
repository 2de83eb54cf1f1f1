#include "model/base_tiempos.h"

#include "lang/textos.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <cmath>
#include <limits>

namespace qv {

namespace {

struct TCuenta {
    TGruposActivos g;
    int palabras = 0;
};

TCuenta Contar(const TConfigES& c)
{
    auto alguno = [](auto&& activo, int desde, int hasta) {
        for (int i = desde; i <= hasta; ++i)
            if (activo(i))
                return true;
        return false;
    };
    const bool entA = alguno([&](int i) { return c.EntDig(i).Activo; }, 1, 8);
    const bool entB = alguno([&](int i) { return c.EntDig(i).Activo; }, 9, 16);
    const bool salW = alguno([&](int i) { return c.SalDig(i).Activo; }, 1, 8);
    const bool salX = alguno([&](int i) { return c.SalDig(i).Activo; }, 9, 16);
    int entAna = 0, salAna = 0;
    for (int i = 1; i <= TConfigES::NumEntAna; ++i)
        entAna += c.EntAna(i).Activo ? 1 : 0;
    for (int i = 1; i <= TConfigES::NumSalAna; ++i)
        salAna += c.SalAna(i).Activo ? 1 : 0;
    const int bytes = int(entA) + int(entB) + int(salW) + int(salX);
    const bool salidas = salW || salX || salAna > 0;
    TCuenta r;
    r.g.grupos = bytes + entAna + salAna;
    r.g.soloEntAna = entAna > 0 && !salidas;
    r.g.soloEntDig = (entA || entB) && !salidas;
    r.palabras = bytes + 2 * entAna + 2 * salAna;
    return r;
}

// Groups of inputs of one kind only (the flags alone would accept a mix of kinds).
bool SoloAna(const TGruposActivos& g) { return g.soloEntAna && !g.soloEntDig; }
bool SoloDig(const TGruposActivos& g) { return g.soloEntDig && !g.soloEntAna; }

double FactorMsPeriodo(int unidad)
{
    switch (unidad) {
    case Unidad::Micro: return 1e-3;
    case Unidad::Mili: return 1;
    case Unidad::Segundo: return 1e3;
    case Unidad::Minuto: return 6e4;
    default: return 1e3;
    }
}

double FactorMsAnalisis(int unidad)
{
    switch (unidad) {
    case Unidad::Micro: return 1e-3;
    case Unidad::Mili: return 1;
    case Unidad::Segundo: return 1e3;
    case Unidad::Minuto: return 6e4;
    case Unidad::Hora: return 3.6e6;
    default: return 1;
    }
}

// Samples for an analysis time and a period (both ms): the whole quotient (one
// more when its fraction is above 0.999998), plus the sample at time 0. Bounded so
// that absurd ratios cannot overflow the count.
std::int32_t MuestrasPara(double analisisMs, double periodoMs)
{
    const double r = analisisMs / periodoMs;
    if (!(r >= 0))
        return 0;
    const double tope = double(std::numeric_limits<std::int32_t>::max() - 2);
    if (r >= tope)
        return std::int32_t(tope) + 1;
    double n = std::trunc(r);
    if (r - n > 0.999998)
        n += 1;
    return n != 0 ? std::int32_t(n) + 1 : 0;
}

std::optional<double> ValorCaja(const QString& texto)
{
    if (texto.trimmed().isEmpty())
        return std::nullopt;
    return LeerReal(texto);
}

} // namespace

TGruposActivos GruposActivos(const TConfigES& config) { return Contar(config).g; }

int PalabrasPorMuestra(const TConfigES& config) { return Contar(config).palabras; }

int ComprobarCaptura(const TConfigES& config, int textoSinGrupos)
{
    if (config.NumMuestras <= 0 || !(config.Periodo > 0) || !(config.TiempoAnalisis > 0))
        return 143;
    if (GruposActivos(config).grupos == 0)
        return textoSinGrupos;
    if (!PeriodoValido(config))
        return 166;
    if (!CabeEnMemoria(config) || config.NumMuestras > MaxMuestras)
        return 134;
    return 0;
}

int PeriodoMinimoMicro(const TConfigES& config)
{
    const TGruposActivos g = GruposActivos(config);
    if (g.grupos == 1 && SoloAna(g))
        return 5;
    if (g.grupos == 1 && SoloDig(g))
        return 3;
    if (g.grupos == 2 && SoloAna(g))
        return 16;
    if (g.grupos == 2 && SoloDig(g))
        return 6;
    return 7 * g.grupos + 10;
}

double PeriodoMinimo(const TConfigES& config) { return PeriodoMinimoMicro(config) / 1000.0; }

bool PeriodoValido(const TConfigES& config)
{
    if (config.Rapida)
        return true;
    const double micro = std::round(config.Periodo * FactorMsPeriodo(config.UnidadPeriodo) * 1000);
    return micro >= PeriodoMinimoMicro(config);
}

bool CabeEnMemoria(const TConfigES& config)
{
    return std::int64_t(PalabrasPorMuestra(config)) * config.NumMuestras <= Capacidad;
}

double PeriodoMs(const TConfigES& config) { return config.Periodo * FactorMsPeriodo(config.UnidadPeriodo); }

double AnalisisMs(const TConfigES& config)
{
    return config.TiempoAnalisis * FactorMsAnalisis(config.UnidadAnalisis);
}

void MostrarTiempos(TPanelTiempos& p, const TConfigES& config)
{
    p.unidadPeriodo = config.UnidadPeriodo;
    p.unidadAnalisis = config.UnidadAnalisis;
    p.tMues = FormatoGeneral(config.Periodo);
    p.tAna = FormatoGeneral(config.TiempoAnalisis);
    p.muestras = QString::number(config.NumMuestras);
    p.periodoMs = PeriodoMs(config);
    p.analisisMs = AnalisisMs(config);
}

void RecalcularMuestras(TPanelTiempos& p, TConfigES& config, TTextos& textos)
{
    p.aviso.clear();
    config.UnidadPeriodo = std::uint8_t(p.unidadPeriodo);
    config.UnidadAnalisis = std::uint8_t(p.unidadAnalisis);

    std::optional<double> periodo = ValorCaja(p.tMues);
    if (periodo && *periodo > 65535) {
        periodo = 65535;
        p.tMues = QStringLiteral("65535");
    }
    if (periodo && *periodo != 0) {
        config.Periodo = *periodo;
        p.periodoMs = PeriodoMs(config);
    } else {
        config.NumMuestras = 0;
        p.muestras = QStringLiteral("0");
    }
    const std::optional<double> analisis = ValorCaja(p.tAna);
    if (analisis && *analisis != 0) {
        config.TiempoAnalisis = *analisis;
        p.analisisMs = AnalisisMs(config);
    } else {
        config.NumMuestras = 0;
        p.muestras = QStringLiteral("0");
    }
    if (!periodo || *periodo == 0 || !analisis || *analisis == 0 || p.periodoMs == 0)
        return;

    const int w = PalabrasPorMuestra(config);
    if (w > 0) {
        const double maximo = std::trunc(double(Capacidad - w) / w);
        if (p.analisisMs / p.periodoMs > maximo) {
            p.aviso = textos.BuscarTexto(261) + textos.BuscarTexto(263);
            MostrarTiempos(p, config);
        }
    }
    if (!PeriodoValido(config))
        p.aviso = textos.BuscarTexto(261) + textos.BuscarTexto(262);

    config.NumMuestras = MuestrasPara(p.analisisMs, p.periodoMs);
    p.muestras = QString::number(config.NumMuestras);
}

void ModoRapido(TPanelTiempos& p, TConfigES& config, TVentanaRapida ventana)
{
    const TGruposActivos g = GruposActivos(config);
    if (g.grupos == 0) {
        // The capture dialogs ignore the button; the configuration window springs it
        // back and clears the time base.
        if (ventana == TVentanaRapida::Configuracion) {
            p.rapidaPulsada = false;
            config.Periodo = config.TiempoAnalisis = 0;
            config.NumMuestras = 0;
            config.Rapida = false;
            MostrarTiempos(p, config);
            p.muestreoHabilitado = true;
        }
        return;
    }
    if (!p.rapidaPulsada) {
        if (ventana == TVentanaRapida::Trigger) {
            if (g.grupos == 1) {
                config.Periodo = 50;
                config.UnidadPeriodo = Unidad::Micro;
                config.TiempoAnalisis = 50;
                config.UnidadAnalisis = Unidad::Mili;
                config.NumMuestras = 1000;
                MostrarTiempos(p, config);
            }
        } else {
            MostrarTiempos(p, config);
        }
        config.Rapida = false;
        p.muestreoHabilitado = true;
        return;
    }

    p.aviso.clear();
    p.muestreoHabilitado = false;
    config.Rapida = true;

    double c = PeriodoMinimo(config);
    if (ventana == TVentanaRapida::Trigger && g.grupos == 1) {
        if (SoloAna(g))
            c = 0.006;
        else if (SoloDig(g))
            c = 0.004;
    }

    if (c < 1) {
        config.Periodo = std::round(c * 1000);
        config.UnidadPeriodo = Unidad::Micro;
    } else if (c < 1000) {
        config.Periodo = std::round(c);
        config.UnidadPeriodo = Unidad::Mili;
    } else {
        config.Periodo = std::round(c / 1000);
        config.UnidadPeriodo = Unidad::Segundo;
    }

    const int w = PalabrasPorMuestra(config);
    const double n = std::trunc(double(Capacidad - w) / w);
    const double h = c * n;
    double g_ms;
    if (h < 1000) {
        config.TiempoAnalisis = std::trunc(h);
        config.UnidadAnalisis = Unidad::Mili;
        g_ms = config.TiempoAnalisis;
    } else {
        const double s = h / 1000;
        if (ventana == TVentanaRapida::Configuracion && std::fabs(s - std::trunc(s)) >= 0.01) {
            config.TiempoAnalisis = std::trunc(h);
            config.UnidadAnalisis = Unidad::Mili;
            g_ms = config.TiempoAnalisis;
        } else {
            config.TiempoAnalisis = std::trunc(s);
            config.UnidadAnalisis = Unidad::Segundo;
            g_ms = config.TiempoAnalisis * 1000;
        }
    }

    const double q = std::trunc(g_ms / c);
    config.NumMuestras = q != 0 ? std::int32_t(q) + 1 : 0;
    if (ventana == TVentanaRapida::Retardo) {
        while (config.NumMuestras > 0 && !CabeEnMemoria(config))
            --config.NumMuestras;
    } else if (!CabeEnMemoria(config)) {
        --config.NumMuestras;
    }
    MostrarTiempos(p, config);
}

} // namespace qv
