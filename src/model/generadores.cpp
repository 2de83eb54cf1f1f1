#include "model/generadores.h"
#include "model/escritura_segura.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/formatos.h"
#include "model/lector_campos.h"
#include "model/senales.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qv {

namespace {

// Nearest integer, halves to the even neighbour, whatever the FPU rounding mode.
// A float times 25.5 is exact in double, so double is enough for the codes.
double RedondeoPar(double x)
{
    const double abajo = std::floor(x);
    const double resto = x - abajo;
    if (resto > 0.5)
        return abajo + 1;
    if (resto < 0.5)
        return abajo;
    const double mitad = abajo * 0.5;
    return std::floor(mitad) == mitad ? abajo : abajo + 1;
}

// A code beyond single precision (a level above about 1.3E37 V) stays beyond the
// output range instead of becoming infinity, which no caller could clamp.
float CodigoFloat(double codigo)
{
    constexpr double tope = std::numeric_limits<float>::max();
    return float(std::clamp(codigo, -tope, tope));
}

float Finito(long double v, const char* tipo)
{
    const float f = float(v);
    if (!std::isfinite(f))
        throw EErrorCalculo(QStringLiteral("Valor no definido del generador %1").arg(QLatin1String(tipo)));
    return f;
}

QString Real(float v) { return FormatoGeneral(double(v)); }

TPicos Entre(std::initializer_list<double> niveles)
{
    TPicos p{*niveles.begin(), *niveles.begin()};
    for (const double v : niveles) {
        p.minimo = std::min(p.minimo, v);
        p.maximo = std::max(p.maximo, v);
    }
    return p;
}

// A value beyond single precision would become infinity and be written back as
// text no reader accepts: refuse it as malformed.
float AFloat(double v)
{
    const float f = float(v);
    if (!std::isfinite(f))
        throw EErrorFormato(QStringLiteral("Valor fuera de rango"));
    return f;
}

float CampoFloat(TLectorCampos& l, char sep1 = ' ', char sep2 = ' ')
{
    return AFloat(l.LeerCampoReal(sep1, sep2));
}

// Absolute paths and paths with a drive are kept; the rest hang from the program folder.
QString RutaTabla(const QString& fichero, const QString& carpeta)
{
    if (fichero.contains(QLatin1Char(':')) || QDir::isAbsolutePath(fichero) || carpeta.isEmpty())
        return fichero;
    return QDir(carpeta).filePath(fichero);
}

} // namespace

int CodigoUnidad(TTextos& textos, const QString& palabra, int maximo)
{
    for (int k = 0; k <= maximo; ++k)
        if (palabra == textos.BuscarTexto(193 + k))
            return k;
    return 0;
}

QString PalabraUnidad(TTextos& textos, int codigo)
{
    return textos.BuscarTexto(193 + std::clamp(codigo, 0, 4));
}

double ASegundos(double valor, int codigo)
{
    switch (codigo) {
    case Unidad::Mili: return valor / 1e3;
    case Unidad::Segundo: return valor;
    default:
        // Codes the dialogs never produce: the nearest defined unit.
        return codigo <= Unidad::Micro ? valor / 1e6 : valor * 60;
    }
}

void TGenerador::PonerUnidades(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro)
{
    UnidadRetardo = std::uint8_t(CodigoUnidad(textos, unidadRetardo, Unidad::Segundo));
    UnidadParametro = std::uint8_t(CodigoUnidad(textos, unidadParametro, Unidad::Minuto));
}

float TGenAnalogico::Codigo(double t)
{
    return CodigoFloat(RedondeoPar(double(Valor(t)) * CuentasPorVoltio));
}

double TPicos::Mayor() const { return std::abs(minimo) > std::abs(maximo) ? minimo : maximo; }

// Not a number is no level the unit can play either.
bool DentroDeSalida(double voltios) { return std::abs(voltios) <= VoltiosSalida; }

bool DentroDeSalida(const TPicos& picos) { return DentroDeSalida(picos.minimo) && DentroDeSalida(picos.maximo); }

// --- sine

TGenSeno::TGenSeno(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
                   float retardo, float fase, float frecuencia, float offset, float amplitud)
    : Amplitud(amplitud), Offset(offset), Frecuencia(frecuencia), Fase(fase)
{
    PonerUnidades(textos, unidadRetardo, unidadParametro);
    Retardo = retardo;
}

QString TGenSeno::Escribir(TTextos& textos) const
{
    return QStringList{QStringLiteral("Seno"), PalabraUnidad(textos, UnidadParametro), Real(Amplitud),
                       Real(Offset), Real(Frecuencia), Real(Fase), Real(Retardo),
                       PalabraUnidad(textos, UnidadRetardo)}
        .join(QLatin1Char(' '));
}

std::unique_ptr<TGenAnalogico> TGenSeno::Copiar() const { return std::make_unique<TGenSeno>(*this); }

float TGenSeno::Valor(double t)
{
    if (t < Retardo)
        return Offset;
    // The phase runs from the start of the capture, not from the delay. Double
    // precision is ample for a single-precision result and far quicker than sinl.
    const double arg = 2 * std::numbers::pi * double(Frecuencia) * t + double(Fase);
    return Finito(double(Amplitud) * std::sin(arg) + double(Offset), "Seno");
}

// Any frequency sweeps the whole swing in a long enough capture; a frequency of 0
// holds the level of its phase.
TPicos TGenSeno::Picos() const
{
    const double offset = Offset;
    if (Frecuencia == 0)
        return Entre({offset, offset + double(Amplitud) * std::sin(double(Fase))});
    const double a = std::abs(double(Amplitud));
    return Entre({offset - a, offset + a});
}

// --- ramp

TGenRampa::TGenRampa(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
                     float tiempoRampa, float retardo, float offset, float amplitud)
    : Amplitud(amplitud), Offset(offset), TiempoRampa(tiempoRampa)
{
    PonerUnidades(textos, unidadRetardo, unidadParametro);
    Retardo = retardo;
}

QString TGenRampa::Escribir(TTextos& textos) const
{
    return QStringList{QStringLiteral("Rampa"), PalabraUnidad(textos, UnidadParametro), Real(Amplitud),
                       Real(Offset), Real(Retardo), PalabraUnidad(textos, UnidadRetardo), Real(TiempoRampa)}
        .join(QLatin1Char(' '));
}

std::unique_ptr<TGenAnalogico> TGenRampa::Copiar() const { return std::make_unique<TGenRampa>(*this); }

float TGenRampa::Valor(double t)
{
    const double retardo = Retardo;
    const double T = ASegundos(TiempoRampa, UnidadParametro);
    if (t < retardo)
        return Offset;
    if (t <= retardo + T) {
        // A ramp of time 0 has no value at its start (0/0); say so instead of a NaN.
        if (T == 0)
            throw EErrorCalculo(QStringLiteral("Rampa de tiempo 0"));
        const long double fr = (static_cast<long double>(t) - retardo) / T;
        return Finito(Offset + (static_cast<long double>(Amplitud) - Offset) * fr, "Rampa");
    }
    return Amplitud;
}

TPicos TGenRampa::Picos() const { return Entre({Offset, Amplitud}); }

// --- step

TGenEscalon::TGenEscalon(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
                         float retardo, float amplitud, float offset)
    : Amplitud(amplitud), Offset(offset)
{
    PonerUnidades(textos, unidadRetardo, unidadParametro);
    Retardo = retardo;
}

QString TGenEscalon::Escribir(TTextos& textos) const
{
    return QStringList{QStringLiteral("Escalon"), PalabraUnidad(textos, UnidadParametro), Real(Offset),
                       Real(Amplitud), Real(Retardo), PalabraUnidad(textos, UnidadRetardo)}
        .join(QLatin1Char(' '));
}

std::unique_ptr<TGenAnalogico> TGenEscalon::Copiar() const { return std::make_unique<TGenEscalon>(*this); }

float TGenEscalon::Valor(double t) { return Finito(t >= Retardo ? Amplitud : Offset, "Escalon"); }

TPicos TGenEscalon::Picos() const { return Entre({Offset, Amplitud}); }

// --- analog table

TGenTablaAna::TGenTablaAna(TTextos& textos, const QString& fichero, const QString& unidadRetardo, float retardo)
    : Fichero(fichero)
{
    PonerUnidades(textos, unidadRetardo, QString());
    Retardo = retardo;
}

QString TGenTablaAna::Escribir(TTextos& textos) const
{
    return QStringLiteral("TablaAnalogica %1 %2 %3")
        .arg(Real(Retardo), PalabraUnidad(textos, UnidadRetardo), Fichero);
}

std::unique_ptr<TGenAnalogico> TGenTablaAna::Copiar() const
{
    auto c = std::make_unique<TGenTablaAna>(*this);
    c->Posicion = 0;
    return c;
}

std::unique_ptr<TGenTablaAna> TGenTablaAna::CopiaLigera() const
{
    auto c = std::make_unique<TGenTablaAna>(*this);
    c->Valores.clear();
    c->Posicion = 0;
    return c;
}

namespace {
template <class V>
auto Siguiente(std::vector<V>& valores, int& posicion)
{
    if (posicion < 0 || std::size_t(posicion) >= valores.size())
        posicion = 0;
    const V v = valores[std::size_t(posicion)];
    posicion = (std::size_t(posicion) + 1 >= valores.size()) ? 0 : posicion + 1;
    return v;
}
} // namespace

float TGenTablaAna::Valor(double t)
{
    if (!(t > Retardo) || Valores.empty())
        return 0;
    return Finito(Siguiente(Valores, Posicion), "Tabla");
}

float TGenTablaAna::Codigo(double t) { return CodigoTabla(t); }

TPicos TGenTablaAna::Picos() const
{
    TPicos p; // the output rests at 0 before the delay
    for (const float v : Valores) {
        p.minimo = std::min(p.minimo, double(v));
        p.maximo = std::max(p.maximo, double(v));
    }
    return p;
}

float TGenTablaAna::CodigoTabla(double t)
{
    if (t < Retardo || Valores.empty())
        return 0;
    const float v = Finito(Siguiente(Valores, Posicion), "Tabla");
    return CodigoFloat(RedondeoPar(double(v) * CuentasPorVoltio));
}

namespace {

// Shared by both table kinds: resolves the file name, shows `error` when the file
// cannot be read, and reads the count line and one value per line with `leer`,
// which answers false for a value it stores but does not accept. Answers whether
// every value was read and accepted.
template <typename T, typename Leer>
bool CargarValores(QString& fichero, const TContextoTablas& contexto, const QString& error,
                   std::vector<T>& valores, int& posicion, int& numValores, Leer leer)
{
    fichero = RutaTabla(fichero, contexto.carpetaPrograma);
    QByteArray datos;
    if (!LeerFicheroEntero(fichero, datos)) {
        contexto.interaccion.MostrarError(error, Botones::Aceptar);
        return false;
    }
    valores.clear();
    posicion = 0;
    bool ok = true;
    try {
        TLectorCampos l(datos);
        const qint64 n = l.LeerLineaEntero();
        valores.reserve(std::size_t(std::clamp<qint64>(n, 0, 65536)));
        for (qint64 i = 0; i < n; ++i)
            ok = leer(l, valores) && ok;
    } catch (const EErrorModelo&) {
        ok = false;
    }
    numValores = int(valores.size());
    return ok;
}

} // namespace

bool TGenTablaAna::CargarTabla(int salida, const TContextoTablas& contexto)
{
    const QString error = contexto.textos.BuscarTexto(184) + QString::number(salida) + QLatin1Char(' ')
                          + contexto.textos.BuscarTexto(185);
    return CargarValores(Fichero, contexto, error, Valores, Posicion, NumValores,
                         [](TLectorCampos& l, std::vector<float>& v) {
                             v.push_back(AFloat(l.LeerLineaReal()));
                             return true;
                         });
}

// --- pulse train

TGenTren::TGenTren(TTextos& textos, const QString& unidadRetardo, const QString& unidadParametro,
                   float tiempoOff, float tiempoOn, float retardo)
    : TiempoOn(tiempoOn), TiempoOff(tiempoOff)
{
    PonerUnidades(textos, unidadRetardo, unidadParametro);
    Retardo = retardo;
}

QString TGenTren::Escribir(TTextos& textos) const
{
    return QStringList{QStringLiteral("Tren"), PalabraUnidad(textos, UnidadParametro), Real(Retardo),
                       PalabraUnidad(textos, UnidadRetardo), Real(TiempoOn), Real(TiempoOff)}
        .join(QLatin1Char(' '));
}

std::unique_ptr<TGenDigital> TGenTren::Copiar() const { return std::make_unique<TGenTren>(*this); }

std::uint8_t TGenTren::Valor(double t)
{
    if (t < Retardo)
        return 0;
    double d = t - double(Retardo);
    const double periodo = ASegundos(double(TiempoOn) + double(TiempoOff), UnidadParametro);
    // A train without period (or a negative one) stays high: the reduction below
    // would never end.
    if (!(periodo > 0))
        return 1;
    // Sample instants (k x sampling period) often fall exactly on the train's edges;
    // binary rounding of t and of the reduction must not decide on which side of an
    // edge they land, or the pulses come out one sample longer or shorter at random.
    const double tolerancia = periodo * 1e-9 + std::fabs(t) * 1e-15;
    if (d > periodo + tolerancia) {
        // Reduce by whole periods; an exact multiple stands for the end of a period.
        d = std::fmod(d, periodo);
        if (d <= tolerancia || periodo - d <= tolerancia)
            d = periodo;
    }
    return d <= ASegundos(TiempoOn, UnidadParametro) + tolerancia ? 1 : 0;
}

// --- single pulse

TGenPulso::TGenPulso(TTextos& textos, std::uint8_t nivel, const QString& unidadParametro,
                     const QString& unidadRetardo, float retardo)
    : Nivel(nivel)
{
    PonerUnidades(textos, unidadRetardo, unidadParametro);
    Retardo = retardo;
}

QString TGenPulso::Escribir(TTextos& textos) const
{
    return QStringList{QStringLiteral("Pulso"), PalabraUnidad(textos, UnidadParametro),
                       Nivel == 1 ? QStringLiteral("bajo") : QStringLiteral("alto"), Real(Retardo),
                       PalabraUnidad(textos, UnidadRetardo)}
        .join(QLatin1Char(' '));
}

std::unique_ptr<TGenDigital> TGenPulso::Copiar() const { return std::make_unique<TGenPulso>(*this); }

std::uint8_t TGenPulso::Valor(double t)
{
    const bool despues = t > Retardo;
    if (Nivel == 1)
        return despues ? 0 : 1;
    return despues ? 1 : 0;
}

// --- digital table

TGenTablaDig::TGenTablaDig(TTextos& textos, const QString& fichero, const QString& unidadRetardo, float retardo)
    : Fichero(fichero)
{
    PonerUnidades(textos, unidadRetardo, QString());
    Retardo = retardo;
}

QString TGenTablaDig::Escribir(TTextos& textos) const
{
    return QStringLiteral("TablaDigital %1 %2 %3").arg(Real(Retardo), PalabraUnidad(textos, UnidadRetardo), Fichero);
}

std::unique_ptr<TGenDigital> TGenTablaDig::Copiar() const
{
    auto c = std::make_unique<TGenTablaDig>(*this);
    c->Posicion = 0;
    return c;
}

std::unique_ptr<TGenTablaDig> TGenTablaDig::CopiaLigera() const
{
    auto c = std::make_unique<TGenTablaDig>(*this);
    c->Valores.clear();
    c->Posicion = 0;
    return c;
}

std::uint8_t TGenTablaDig::Valor(double t) { return ValorTabla(t); }

std::uint8_t TGenTablaDig::ValorTabla(double t)
{
    if (t < Retardo || Valores.empty())
        return 0;
    return Siguiente(Valores, Posicion);
}

bool TGenTablaDig::CargarTabla(int salida, const TContextoTablas& contexto)
{
    const QString error = contexto.textos.BuscarTexto(186) + QLatin1Char(' ') + QString::number(salida)
                          + QLatin1Char(' ') + contexto.textos.BuscarTexto(187);
    // A value other than 0 or 1 fails the load, but its low byte is kept and loading goes on.
    return CargarValores(Fichero, contexto, error, Valores, Posicion, NumValores,
                         [](TLectorCampos& l, std::vector<std::uint8_t>& v) {
                             const qint64 x = l.LeerLineaEntero();
                             v.push_back(std::uint8_t(x & 0xFF));
                             return x == 0 || x == 1;
                         });
}

// --- copies and records

bool EsTipoAnalogico(const QByteArray& tipo)
{
    return tipo == "Seno" || tipo == "Rampa" || tipo == "Escalon" || tipo == "TablaAnalogica";
}

bool EsTipoDigital(const QByteArray& tipo) { return tipo == "Pulso" || tipo == "Tren" || tipo == "TablaDigital"; }

std::unique_ptr<TGenAnalogico> LeerGenAnalogico(TTextos& textos, const QByteArray& tipo, TLectorCampos& l)
{
    if (tipo == "Seno") {
        const QString u = l.LeerCampoTexto();
        const float a = CampoFloat(l), o = CampoFloat(l), f = CampoFloat(l), fase = CampoFloat(l);
        const float r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto(' ', '$');
        return std::make_unique<TGenSeno>(textos, ur, u, r, fase, f, o, a);
    }
    if (tipo == "Rampa") {
        const QString u = l.LeerCampoTexto();
        const float a = CampoFloat(l), o = CampoFloat(l), r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto();
        const float tr = CampoFloat(l, ' ', '$');
        return std::make_unique<TGenRampa>(textos, ur, u, tr, r, o, a);
    }
    if (tipo == "Escalon") {
        const QString u = l.LeerCampoTexto();
        const float o = CampoFloat(l), a = CampoFloat(l), r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto(' ', '$');
        return std::make_unique<TGenEscalon>(textos, ur, u, r, a, o);
    }
    if (tipo == "TablaAnalogica") {
        const float r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto();
        const QString fichero = QString::fromLatin1(l.LeerHasta('$'));
        return std::make_unique<TGenTablaAna>(textos, fichero, ur, r);
    }
    return nullptr;
}

std::unique_ptr<TGenDigital> LeerGenDigital(TTextos& textos, const QByteArray& tipo, TLectorCampos& l)
{
    if (tipo == "Tren") {
        const QString u = l.LeerCampoTexto();
        const float r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto();
        const float on = CampoFloat(l);
        const float off = CampoFloat(l, ' ', '$');
        return std::make_unique<TGenTren>(textos, ur, u, off, on, r);
    }
    if (tipo == "Pulso") {
        const QString u = l.LeerCampoTexto();
        const std::uint8_t nivel = l.LeerCampo() == "bajo" ? 1 : 0;
        const float r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto(' ', '$');
        return std::make_unique<TGenPulso>(textos, nivel, u, ur, r);
    }
    if (tipo == "TablaDigital") {
        const float r = CampoFloat(l);
        const QString ur = l.LeerCampoTexto();
        const QString fichero = QString::fromLatin1(l.LeerHasta('$'));
        return std::make_unique<TGenTablaDig>(textos, fichero, ur, r);
    }
    return nullptr;
}

// --- signals of the outputs

void SenalesDeSalidas(int n, TCjtSenales& senales, const TConfigES& config, TTextos& textos)
{
    n = std::clamp(n, 0, MaxMuestras);
    const double P = config.PeriodoSegundos();
    const float limite = float(CodigoMaximo / CuentasPorVoltio);
    for (int s = TConfigES::NumSalAna; s >= 1; --s) {
        const TSalAna& salida = config.SalAna(s);
        if (!salida.Activo || !salida.Generador)
            continue;
        auto senal = std::make_unique<TSenalAna>(textos, salida.Nombre, false, nullptr, salida.Generador.get(), s,
                                                 P, std::uint16_t(n));
        // A fresh copy: the table cursor starts at 0 and the configuration is untouched.
        auto gen = salida.Generador->Copiar();
        if (gen->EsTabla()) {
            for (int k = 1; k <= n; ++k)
                senal->PonerMuestra(k - 1, gen->Valor(k * P));
        } else {
            for (int k = 1; k < n; ++k) {
                const float v = gen->Valor((k - 1) * P);
                const double c = RedondeoPar(double(v) * CuentasPorVoltio);
                senal->PonerMuestra(k - 1, c > CodigoMaximo ? limite : c < -CodigoMaximo ? -limite : v);
            }
            if (n > 0)
                senal->PonerMuestra(n - 1, 0);
        }
        senales.AnadirAna(std::move(senal));
    }
    for (int s = TConfigES::NumSalDig; s >= 1; --s) {
        const TSalDig& salida = config.SalDig(s);
        if (!salida.Activo || !salida.Generador)
            continue;
        auto senal = std::make_unique<TSenalDig>(salida.Nombre, false, nullptr, salida.Generador.get(), s, P,
                                                 std::uint16_t(n));
        auto gen = salida.Generador->Copiar();
        if (gen->EsTabla()) {
            for (int i = 0; i < n; ++i)
                senal->PonerMuestra(i, gen->Valor((i + 1) * P));
        } else {
            for (int i = 0; i + 1 < n; ++i)
                senal->PonerMuestra(i, gen->Valor(i * P));
            if (n > 0)
                senal->PonerMuestra(n - 1, 0);
        }
        senales.AnadirDig(std::move(senal));
    }
}

} // namespace qv
