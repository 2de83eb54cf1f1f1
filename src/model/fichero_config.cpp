#include "model/fichero_config.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/lector_campos.h"
#include "model/operaciones.h"

#include <cmath>
#include <limits>

namespace qv {

namespace {

const char* Logico(bool b) { return b ? "true" : "false"; }

QByteArray Comunes(const TEntSal& c)
{
    return c.Nombre.toLatin1() + ' ' + Logico(c.Activo) + ' ' + QByteArray::number(c.Numero);
}

void LeerComunes(TLectorCampos& l, TEntSal& c)
{
    if (l.Fin())
        throw EErrorFormato(QStringLiteral("Fin de fichero inesperado"));
    c.Nombre = l.LeerCampoTexto();
    c.Activo = l.LeerCampo().left(10) == "true";
    const qint64 n = EnteroOError(l.LeerCampo(' ', '$').left(10));
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        throw EErrorFormato(QStringLiteral("Numero de canal no valido"));
    c.Numero = int(n);
}

// The unit word of a time value: texts 194, 195, 193, 196 (and 197) in that order;
// a word of another language leaves the unit as it is.
void LeerUnidad(TTextos& textos, const QString& palabra, std::uint8_t& unidad, bool conHoras)
{
    static constexpr int claves[] = {194, 195, 193, 196, 197};
    static constexpr std::uint8_t codigos[] = {1, 2, 0, 3, 4};
    for (int k = 0; k < (conHoras ? 5 : 4); ++k)
        if (palabra == textos.BuscarTexto(claves[k])) {
            unidad = codigos[k];
            return;
        }
}

// Tested after the conversion: the largest floats are written with 15 digits that
// round just above them, and must read back.
float Simple(double v)
{
    const float f = float(v);
    if (!std::isfinite(f))
        throw EErrorFormato(QStringLiteral("Valor fuera del rango de precision simple"));
    return f;
}

} // namespace

void ComprobarGenerador(const TGenerador& g)
{
    bool finito = std::isfinite(g.Retardo);
    for (const TParametroGenerador& p : g.Parametros())
        finito = finito && std::isfinite(p.valor);
    if (!finito)
        throw EErrorFormato(QStringLiteral("Valor fuera del rango de precision simple en un generador"));
}

QByteArray RegistroCanal(const TEntDig& c) { return Comunes(c) + '$'; }

QByteArray RegistroCanal(const TEntAna& c)
{
    return Comunes(c) + ' ' + (c.Diferencial ? "Diferencial" : "Normal") + ' ' + TokenRango(c.Rango).toLatin1()
           + ' ' + FormatoGeneral(double(c.Factor)).toLatin1() + ' ' + c.Unidad.toLatin1() + '$';
}

QByteArray RegistroCanal(const TSalDig& c, TTextos& textos)
{
    return Comunes(c) + ' ' + (c.Generador ? c.Generador->Escribir(textos).toLatin1() : QByteArray("nil")) + '$';
}

QByteArray RegistroCanal(const TSalAna& c, TTextos& textos)
{
    return Comunes(c) + ' ' + (c.Generador ? c.Generador->Escribir(textos).toLatin1() : QByteArray("nil")) + '$';
}

void LeerCanal(TLectorCampos& l, TEntDig& c)
{
    LeerComunes(l, c);
    l.SaltarResto();
}

void LeerCanal(TLectorCampos& l, TEntAna& c)
{
    LeerComunes(l, c);
    c.Diferencial = l.LeerCampo() != "Normal";
    const QByteArray rango = l.LeerCampo();
    static const char* const tokens[] = {"10V", "5V", "2V", "1V", "05V", "02V"};
    for (int r = 0; r < 6; ++r)
        if (rango == tokens[r])
            c.Rango = std::uint8_t(r);
    c.Factor = Simple(l.LeerCampoReal());
    c.Unidad = l.LeerCampoTexto(' ', '$');
    l.SaltarResto();
}

namespace {

// An output's record: the common fields, then its generator ("nil" for none), whose
// table is loaded; an output whose table cannot be loaded is left inactive.
template <class C, class Leer>
void LeerSalida(TLectorCampos& l, C& c, int salida, const TContextoTablas& contexto, int largo, int claveError, Leer leer)
{
    LeerComunes(l, c);
    c.Generador.reset();
    const QByteArray tipo = l.LeerCampo(' ', '$').left(largo);
    if (tipo != "nil") {
        auto gen = leer(contexto.textos, tipo, l);
        if (!gen)
            throw EErrorModelo(contexto.textos.BuscarTexto(claveError), claveError);
        ComprobarGenerador(*gen);
        if (!gen->CargarTabla(salida, contexto)) {
            gen.reset();
            c.Activo = false;
        }
        c.Generador = std::move(gen);
    }
    l.SaltarResto();
}

} // namespace

void LeerCanal(TLectorCampos& l, TSalDig& c, int salida, const TContextoTablas& contexto)
{
    LeerSalida(l, c, salida, contexto, 14, 123, LeerGenDigital);
}

void LeerCanal(TLectorCampos& l, TSalAna& c, int salida, const TContextoTablas& contexto)
{
    LeerSalida(l, c, salida, contexto, 20, 122, LeerGenAnalogico);
}

// --- the file

TFicheroConfig::TFicheroConfig(TTextos& textos, TInteraccion& interaccion, QString carpetaPrograma)
    : textos_(textos), interaccion_(interaccion), carpeta_(std::move(carpetaPrograma))
{
}

QByteArray TFicheroConfig::Texto(const TConfigES& config, const TOperaciones& operaciones)
{
    const QByteArray fin = "\r\n";
    QByteArray s = (config.Rapida ? "TRUE" : "FALSE") + fin;
    s += FormatoGeneral(config.Retardo).toLatin1() + ' ' + FormatoGeneral(config.Periodo).toLatin1() + ' '
         + PalabraUnidad(textos_, config.UnidadPeriodo).toLatin1() + ' '
         + FormatoGeneral(config.TiempoAnalisis).toLatin1() + ' '
         + PalabraUnidad(textos_, config.UnidadAnalisis).toLatin1() + ' ' + QByteArray::number(config.NumMuestras)
         + '$' + fin;
    s += ' ' + fin;
    for (int i = 1; i <= TConfigES::NumEntDig; ++i)
        s += RegistroCanal(config.EntDig(i)) + fin;
    s += ' ' + fin;
    for (int i = 1; i <= TConfigES::NumEntAna; ++i)
        s += RegistroCanal(config.EntAna(i)) + fin;
    s += ' ' + fin;
    for (int i = 1; i <= TConfigES::NumSalDig; ++i)
        s += RegistroCanal(config.SalDig(i), textos_) + fin;
    s += ' ' + fin;
    for (int i = 1; i <= TConfigES::NumSalAna; ++i)
        s += RegistroCanal(config.SalAna(i), textos_) + fin;
    s += fin;
    s += operaciones.Escribir();
    s += "Fin$" + fin;
    return s;
}

void TFicheroConfig::EscribirConfiguracion(const QString& ruta, const TConfigES& config,
                                           const TOperaciones& operaciones)
{
    QString error;
    if (!EscribirSeguro(ruta, Texto(config, operaciones), &error))
        throw EErrorModelo(QStringLiteral("No se puede escribir %1: %2").arg(ruta, error));
}

namespace {
QByteArray LeerOError(const QString& ruta)
{
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos))
        throw EErrorModelo(QStringLiteral("No se puede leer %1").arg(ruta));
    return datos;
}
} // namespace

bool TFicheroConfig::LeerConfiguracion(const QString& ruta, TConfigES& config, TOperaciones& operaciones)
{
    return LeerConfiguracionDatos(LeerOError(ruta), config, operaciones);
}

bool TFicheroConfig::LeerConfiguracionDatos(const QByteArray& datos, TConfigES& config, TOperaciones& operaciones)
{
    TLectorCampos l(datos);
    config.Rapida = l.LeerLinea() == "TRUE";
    return Leer(l, config, &operaciones);
}

std::unique_ptr<TConfigES> TFicheroConfig::LeerSoloConfiguracion(const QString& ruta)
{
    return LeerSoloConfiguracionDatos(LeerOError(ruta));
}

std::unique_ptr<TConfigES> TFicheroConfig::LeerSoloConfiguracionDatos(const QByteArray& datos)
{
    auto config = std::make_unique<TConfigES>();
    TLectorCampos l(datos);
    l.SaltarLinea();
    if (!Leer(l, *config, nullptr))
        return nullptr;
    return config;
}

bool TFicheroConfig::Leer(TLectorCampos& l, TConfigES& config, TOperaciones* operaciones)
{
    interaccion_.CursorOcupado(true);
    const TContextoTablas contexto{textos_, interaccion_, carpeta_};
    int etapa = 149;
    try {
        config.Retardo = l.LeerCampoReal();
        config.Periodo = l.LeerCampoReal();
        LeerUnidad(textos_, l.LeerCampoTexto(), config.UnidadPeriodo, false);
        config.TiempoAnalisis = l.LeerCampoReal();
        LeerUnidad(textos_, l.LeerCampoTexto(), config.UnidadAnalisis, true);
        const qint64 n = l.LeerCampoEntero('$', ' ');
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
            throw EErrorFormato(QStringLiteral("Numero de muestras no valido"));
        config.NumMuestras = std::int32_t(n);
        l.SaltarResto();

        etapa = 150;
        for (int i = 1; i <= TConfigES::NumEntDig; ++i)
            LeerCanal(l, config.EntDig(i));
        etapa = 152;
        for (int i = 1; i <= TConfigES::NumEntAna; ++i)
            LeerCanal(l, config.EntAna(i));
        etapa = 153;
        for (int i = 1; i <= TConfigES::NumSalDig; ++i)
            LeerCanal(l, config.SalDig(i), i, contexto);
        etapa = 154;
        for (int i = 1; i <= TConfigES::NumSalAna; ++i)
            LeerCanal(l, config.SalAna(i), i, contexto);
        if (operaciones) {
            etapa = 155;
            operaciones->Leer(l);
        }
    } catch (const std::exception&) {
        interaccion_.CursorOcupado(false);
        interaccion_.MostrarAviso(textos_.BuscarTexto(etapa), Botones::Aceptar);
        return false;
    }
    interaccion_.CursorOcupado(false);
    // A waveform written elsewhere may leave the output's range: the unit would clip it,
    // so the user hears of it now rather than never.
    for (int i = 1; i <= TConfigES::NumSalAna; ++i) {
        const TSalAna& s = config.SalAna(i);
        if (s.Activo && s.Generador && !DentroDeSalida(s.Generador->Picos())) {
            interaccion_.MostrarAviso(textos_.BuscarTexto(326) + QStringLiteral(" (") + s.Nombre + QStringLiteral(") ")
                                          + textos_.BuscarTexto(325),
                                      Botones::Aceptar);
            break;
        }
    }
    return true;
}

} // namespace qv
