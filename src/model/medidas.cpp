#include "model/medidas.h"

#include "lang/textos.h"
#include "model/espectro.h"
#include "model/formatos.h"
#include "model/senales.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// Times of the crossings in one direction; only the first, the last and their count
// matter for the mean period.
struct TCruces {
    double primero = 0;
    double ultimo = 0;
    int cuantos = 0;
    void Anotar(double t)
    {
        if (cuantos++ == 0)
            primero = t;
        ultimo = t;
    }
};

// Frequency and period from the crossings of both directions: at least one whole
// period in one of them, the mean period over every period seen.
void PonerFrecuencia(TValoresMedida& v, const TCruces& subidas, const TCruces& bajadas, double periodo)
{
    if (std::max(subidas.cuantos, bajadas.cuantos) < 2)
        return;
    double tramo = 0;
    int periodos = 0;
    for (const TCruces* c : {&subidas, &bajadas})
        if (c->cuantos >= 2) {
            tramo += c->ultimo - c->primero;
            periodos += c->cuantos - 1;
        }
    const double p = tramo / periodos * periodo;
    if (!(p > 0))
        return;
    v[TMedida::Periodo] = p;
    v[TMedida::Frecuencia] = 1 / p;
}

// Fractional sample index where the line from (i-1, a) to (i, b) reaches `nivel`.
double Interpolar(int i, float a, float b, double nivel)
{
    return i - 1 + (nivel - a) / (double(b) - a);
}

// Mid-level crossings with hysteresis and the 10-90 % edges, in one pass.
void MedirFlancos(const float* x, int n, double minimo, double maximo, double periodo, TValoresMedida& v)
{
    const double pp = maximo - minimo;
    const double medio = minimo + pp / 2;
    const double bandaBaja = medio - pp * NivelesMedida::Histeresis;
    const double bandaAlta = medio + pp * NivelesMedida::Histeresis;
    const double l10 = minimo + pp * NivelesMedida::Bajo;
    const double l90 = minimo + pp * NivelesMedida::Alto;

    TCruces subidas, bajadas;
    int estado = 0;   // -1 below the band, +1 above it, 0 not known yet
    int ultimoBajo = -1; // last sample at or below mid while low
    int ultimoAlto = -1; // last sample at or above mid while high

    // An edge is timed from the last crossing of its first level to the crossing of
    // its second one; it needs the signal beyond the first level before it starts.
    bool armadaSubida = false, armadaBajada = false;
    double t10 = -1, t90 = -1;
    double sumaSubidas = 0, sumaBajadas = 0;
    int numSubidas = 0, numBajadas = 0;

    for (int i = 0; i < n; ++i) {
        const float xi = x[i];
        if (estado <= 0 && xi > bandaAlta) {
            if (estado < 0)
                subidas.Anotar(Interpolar(ultimoBajo + 1, x[ultimoBajo], x[ultimoBajo + 1], medio));
            estado = 1;
            ultimoAlto = i;
        } else if (estado >= 0 && xi < bandaBaja) {
            if (estado > 0)
                bajadas.Anotar(Interpolar(ultimoAlto + 1, x[ultimoAlto], x[ultimoAlto + 1], medio));
            estado = -1;
            ultimoBajo = i;
        } else if (estado < 0 && xi <= medio) {
            ultimoBajo = i;
        } else if (estado > 0 && xi >= medio) {
            ultimoAlto = i;
        }

        if (xi <= l10) {
            armadaSubida = true;
            t10 = -1;
        } else if (armadaSubida && x[i - 1] <= l10) {
            t10 = Interpolar(i, x[i - 1], xi, l10);
        }
        if (armadaSubida && t10 >= 0 && xi >= l90) {
            sumaSubidas += Interpolar(i, x[i - 1], xi, l90) - t10;
            ++numSubidas;
            armadaSubida = false;
        }
        if (xi >= l90) {
            armadaBajada = true;
            t90 = -1;
        } else if (armadaBajada && x[i - 1] >= l90) {
            t90 = Interpolar(i, x[i - 1], xi, l90);
        }
        if (armadaBajada && t90 >= 0 && xi <= l10) {
            sumaBajadas += Interpolar(i, x[i - 1], xi, l10) - t90;
            ++numBajadas;
            armadaBajada = false;
        }
    }
    PonerFrecuencia(v, subidas, bajadas, periodo);
    if (numSubidas > 0)
        v[TMedida::Subida] = sumaSubidas / numSubidas * periodo;
    if (numBajadas > 0)
        v[TMedida::Bajada] = sumaBajadas / numBajadas * periodo;
}

// hasta = -1 would mean the last sample.
constexpr TTramo TramoVacio{1, 0};

// An output's last sample is the rest level the unit returns it to at the end of a
// capture, not a value of its waveform: its measurements leave it out.
TTramo SinReposo(const TSenal& s, TTramo t)
{
    if (s.Origen() == OrigenSenal::Generador && t.hasta == s.NumMuestras() - 1 && t.hasta > t.desde)
        --t.hasta;
    return t;
}

// The smallest step a signal's values can tell apart: the converter's count of its range
// when it has one, and never finer than single precision at the signal's largest value.
double Resolucion(const TSenalAna& s, const TValoresMedida& v)
{
    const double escala = std::max(std::abs(v[TMedida::Minimo].value_or(0)), std::abs(v[TMedida::Maximo].value_or(0)));
    const double conversor = s.FondoEscala > 0 ? 2.0 * s.FondoEscala * std::abs(s.Factor) / 4096 : 0;
    return std::max(conversor, escala * 1e-6);
}

} // namespace

TTramo AcotarTramo(TTramo t, int n)
{
    if (t.hasta < 0 || t.hasta >= n)
        t.hasta = n - 1;
    t.desde = std::max(t.desde, 0);
    return t;
}

TTramo TramoDeTiempos(double periodo, int numMuestras, double desde, double hasta)
{
    if (!(periodo > 0) || numMuestras <= 0 || !(desde <= hasta))
        return TramoVacio;
    // A sample exactly at a limit belongs to the span, whatever the rounding of the division.
    constexpr double holgura = 1e-9;
    const double primero = std::ceil(desde / periodo - holgura);
    const double ultimo = std::floor(hasta / periodo + holgura);
    TTramo t;
    t.desde = int(std::clamp(primero, 0.0, double(numMuestras)));
    t.hasta = int(std::clamp(ultimo, -1.0, double(numMuestras - 1)));
    if (t.hasta < t.desde)
        return TramoVacio;
    return t;
}

TValoresMedida MedirAna(const float* x, int n, double periodo)
{
    TValoresMedida v;
    if (n <= 0)
        return v;
    float minimo = x[0], maximo = x[0];
    double suma = 0, cuadrados = 0;
    for (int i = 0; i < n; ++i) {
        const float xi = x[i];
        minimo = std::min(minimo, xi);
        maximo = std::max(maximo, xi);
        suma += xi;
        cuadrados += double(xi) * xi;
    }
    const double media = suma / n;
    // Around the mean in a second pass: the difference of the two sums loses every digit
    // of a small ripple on a large level.
    double desvio = 0;
    for (int i = 0; i < n; ++i) {
        const double d = x[i] - media;
        desvio += d * d;
    }
    v[TMedida::Minimo] = minimo;
    v[TMedida::Maximo] = maximo;
    v[TMedida::Media] = media;
    v[TMedida::RMS] = std::sqrt(cuadrados / n);
    v[TMedida::PicoPico] = double(maximo) - minimo;
    v[TMedida::Desviacion] = std::sqrt(desvio / n);
    if (periodo > 0 && maximo > minimo)
        MedirFlancos(x, n, minimo, maximo, periodo, v);
    return v;
}

TValoresMedida MedirDig(const std::uint8_t* x, int n, double periodo)
{
    TValoresMedida v;
    if (n <= 0)
        return v;
    TCruces subidas, bajadas;
    int altos = x[0] ? 1 : 0;
    for (int i = 1; i < n; ++i) {
        const bool alto = x[i] != 0;
        altos += alto;
        if (alto != (x[i - 1] != 0))
            (alto ? subidas : bajadas).Anotar(i);
    }
    v[TMedida::Ciclo] = 100.0 * altos / n;
    v[TMedida::Flancos] = subidas.cuantos + bajadas.cuantos;
    if (periodo > 0)
        PonerFrecuencia(v, subidas, bajadas, periodo);
    return v;
}

TValoresMedida MedirAna(const TSenalAna& s, TTramo tramo)
{
    tramo = AcotarTramo(tramo, s.NumMuestras());
    if (tramo.hasta < tramo.desde)
        return {};
    return MedirAna(s.Muestras().data() + tramo.desde, tramo.hasta - tramo.desde + 1, s.Periodo());
}

TValoresMedida MedirDig(const TSenalDig& s, TTramo tramo)
{
    tramo = AcotarTramo(tramo, s.NumMuestras());
    if (tramo.hasta < tramo.desde)
        return {};
    return MedirDig(s.Muestras().data() + tramo.desde, tramo.hasta - tramo.desde + 1, s.Periodo());
}

std::vector<TMedida> ColumnasAna()
{
    return {TMedida::Minimo,     TMedida::Maximo,     TMedida::Media,   TMedida::RMS,
            TMedida::PicoPico,   TMedida::Desviacion, TMedida::Frecuencia, TMedida::Periodo,
            TMedida::Subida,     TMedida::Bajada,     TMedida::FrecDominante};
}

std::vector<TMedida> ColumnasDig()
{
    return {TMedida::Frecuencia, TMedida::Periodo, TMedida::Ciclo, TMedida::Flancos};
}

std::vector<TMedida> ColumnasTodas()
{
    std::vector<TMedida> c;
    for (std::size_t i = 0; i < NumMedidas; ++i)
        c.push_back(TMedida(i));
    return c;
}

QString NombreMedida(TMedida m, TTextos& textos)
{
    switch (m) {
    case TMedida::Minimo: return textos.BuscarTexto(412);
    case TMedida::Maximo: return textos.BuscarTexto(413);
    case TMedida::Media: return textos.BuscarTexto(414);
    case TMedida::RMS: return textos.BuscarTexto(415);
    case TMedida::PicoPico: return textos.BuscarTexto(416);
    case TMedida::Desviacion: return textos.BuscarTexto(417);
    case TMedida::Frecuencia: return textos.BuscarTexto(418);
    case TMedida::Periodo: return textos.BuscarTexto(419);
    case TMedida::Subida: return textos.BuscarTexto(420);
    case TMedida::Bajada: return textos.BuscarTexto(421);
    case TMedida::Ciclo: return textos.BuscarTexto(422);
    case TMedida::Flancos: return textos.BuscarTexto(423);
    case TMedida::FrecDominante: return textos.BuscarTexto(424);
    case TMedida::Num: break;
    }
    return {};
}

QStringList TTablaMedidas::Cabecera(TTextos& textos) const
{
    QStringList c{textos.BuscarTexto(410), textos.BuscarTexto(411)};
    for (TMedida m : columnas)
        c << NombreMedida(m, textos);
    return c;
}

QString TTablaMedidas::Celda(const TFilaMedidas& fila, std::size_t columna, int digitos) const
{
    const auto& valor = fila.valores[columnas.at(columna)];
    return valor ? FormatoGeneral(*valor, digitos) : QString();
}

QString TTablaMedidas::Texto(TTextos& textos, int digitos) const
{
    std::vector<QStringList> lineas{Cabecera(textos)};
    for (const TFilaMedidas& f : filas) {
        QStringList l{f.senal, f.unidad};
        for (std::size_t c = 0; c < columnas.size(); ++c)
            l << Celda(f, c, digitos);
        lineas.push_back(l);
    }
    std::vector<qsizetype> ancho(columnas.size() + 2, 0);
    for (const QStringList& l : lineas)
        for (qsizetype c = 0; c < l.size(); ++c)
            ancho[c] = std::max(ancho[c], l[c].size());
    QString t;
    for (const QStringList& l : lineas) {
        QString linea;
        // Names and units to the left, numbers to the right, so that digits line up.
        for (qsizetype c = 0; c < l.size(); ++c) {
            if (c > 0)
                linea += QLatin1String("  ");
            linea += c < 2 ? l[c].leftJustified(ancho[c]) : l[c].rightJustified(ancho[c]);
        }
        while (linea.endsWith(QLatin1Char(' ')))
            linea.chop(1);
        t += linea + QLatin1Char('\n');
    }
    return t;
}

TTablaMedidas TablaMedidas(const TCjtSenales& senales, const QStringList& nombres, const std::vector<TMedida>& columnas,
                           double desde, double hasta, TAnalizadorEspectro* espectro)
{
    TTablaMedidas tabla;
    tabla.columnas = columnas;
    const QStringList lista = nombres.isEmpty() ? senales.NombresAna() + senales.NombresDig() : nombres;
    const bool dominante =
        espectro && std::find(columnas.begin(), columnas.end(), TMedida::FrecDominante) != columnas.end();
    for (const QString& nombre : lista) {
        TFilaMedidas fila;
        fila.senal = nombre;
        if (const TSenalAna* a = senales.BuscarAna(nombre)) {
            fila.unidad = a->Unidad;
            const TTramo t = SinReposo(*a, TramoDeTiempos(a->Periodo(), a->NumMuestras(), desde, hasta));
            fila.muestras = std::max(t.hasta - t.desde + 1, 0);
            fila.valores = MedirAna(*a, t);
            // The mean of a symmetric wave is 0, not what rounding leaves of its sum.
            if (auto& media = fila.valores[TMedida::Media]; media && std::abs(*media) < Resolucion(*a, fila.valores) / 2)
                media = 0.0;
            if (dominante && fila.muestras > 0)
                fila.valores[TMedida::FrecDominante] =
                    FrecuenciaDominante(*espectro, a->Muestras().data() + t.desde, t.hasta - t.desde + 1, a->Periodo());
        } else if (const TSenalDig* d = senales.BuscarDig(nombre)) {
            fila.digital = true;
            const TTramo t = SinReposo(*d, TramoDeTiempos(d->Periodo(), d->NumMuestras(), desde, hasta));
            fila.muestras = std::max(t.hasta - t.desde + 1, 0);
            fila.valores = MedirDig(*d, t);
        } else {
            continue;
        }
        tabla.filas.push_back(std::move(fila));
    }
    return tabla;
}

} // namespace qv
