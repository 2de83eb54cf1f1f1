#include "link/com_capvis.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "link/lectura_datos.h"
#include "link/reloj.h"
#include "model/errores.h"
#include "model/generadores.h"
#include "model/senales.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {

namespace {

// An assembly step that could not be gathered or sent.
struct EEnvioCaptura {};

QByteArray Numero(qint64 v)
{
    return QByteArray::number(v);
}

// Samples of one digital output group (outputs desde..desde+7) as 8-bit words; the
// last one is 0.
void ValoresDig(const TConfigES& config, int desde, int n, double periodo, QByteArray& salida)
{
    std::vector<std::uint8_t> palabra(static_cast<std::size_t>(n), 0);
    for (int bit = 0; bit < 8; ++bit) {
        const TSalDig& s = config.SalDig(desde + bit);
        if (!s.Activo || !s.Generador)
            continue;
        // A fresh copy: a table answers from its first value on. The last word stays 0,
        // as an analog output's last value does: whatever the outputs drive (a relay, a
        // lamp, a motor) is off when the capture ends.
        std::unique_ptr<TGenDigital> g = s.Generador->Copiar();
        for (int k = 0; k + 1 < n; ++k) {
            if (g->Valor(k * periodo) != 0)
                palabra[k] |= std::uint8_t(1u << bit);
        }
    }
    for (int k = 0; k < n; ++k) {
        salida += Numero(palabra[k]);
        salida += ',';
    }
}

// Samples of one analog output in converter counts, clamped; the last one is 0 so
// the output returns to 0 V when the capture ends.
void ValoresAna(const TSalAna& s, int n, double periodo, QByteArray& salida)
{
    std::unique_ptr<TGenAnalogico> g = s.Generador ? s.Generador->Copiar() : nullptr;
    for (int k = 0; k < n; ++k) {
        qint64 c = 0;
        if (g && k < n - 1) {
            const double v = g->Codigo(k * periodo);
            if (!std::isfinite(v))
                throw EErrorCalculo(QStringLiteral("output value"));
            c = std::llround(std::clamp(v, -255.0, 255.0));
        }
        salida += Numero(c);
        salida += ',';
    }
}

// Largest period, delay and sample count the capture command carries: the period box
// and the delay dialog stop at 65535, and the unit keeps at most 65535 samples.
constexpr double MaxNumeroTiempo = 65535;

// Whether the time base has the whole numbers the command is made of. A value beyond
// them (a hand-made configuration file) would reach the unit wrapped or undefined.
bool TiemposEnviables(const TConfigES& config, bool trigger)
{
    const double periodo = std::round(config.Periodo);
    if (!std::isfinite(periodo) || periodo < 1 || periodo > MaxNumeroTiempo)
        return false;
    if (!trigger && !(std::round(config.Retardo) <= MaxNumeroTiempo))
        return false;
    return config.NumMuestras <= MaxMuestras;
}

} // namespace

void TComCapvis::Aviso142()
{
    // A link that is gone, or a send the user stopped, is no missing acknowledge: the
    // caller says what happened.
    if (!Interrumpido_ && ClaveFallo(142) == 142)
        Interaccion.MostrarAviso(Textos.BuscarTexto(142), Botones::Aceptar);
}

bool TComCapvis::ConfigurarEntradas(const QString& lista)
{
    if (lista.isEmpty())
        return true; // nothing to tell the unit
    try {
        return Ack("3" + lista.toLatin1() + "#");
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::ProgramarTrigger(const TConfigES& config, const TTrigger& trigger)
{
    return ProgramarCaptura(config, &trigger);
}

bool TComCapvis::ProgramarRetardo(const TConfigES& config)
{
    return ProgramarCaptura(config, nullptr);
}

bool TComCapvis::ProgramarCaptura(const TConfigES& config, const TTrigger* trigger)
{
    // Whatever comes of it, the unit may no longer hold the capture that was read.
    CapturaLeida = false;
    try {
        const bool repetir = !trigger && RepetirCaptura && !CapturaGuardada.isEmpty();
        if (!repetir && !TiemposEnviables(config, trigger))
            return false;
        const QString lista = config.RangosEntAna();
        if (!lista.isEmpty() && !ConfigurarEntradas(lista))
            return false;
        bool ok;
        if (repetir) {
            // Continuous monitoring replays the first command byte for byte.
            const QByteArray guardada = CapturaGuardada;
            ok = Ack(guardada);
            if (!ok)
                Aviso142();
        } else {
            ok = EnviarCaptura(config, trigger);
        }
        ActualizarGrupos(config);
        return ok;
    } catch (const std::runtime_error&) { // a port failure, or a waveform point without a value
        BufEnvio.clear();
        return false;
    }
}

bool TComCapvis::EnviarCaptura(const TConfigES& config, const TTrigger* trigger)
{
    if (VentanaProgreso)
        VentanaProgreso->Esperando();
    BufEnvio.clear();
    try {
        auto pieza = [this](const QByteArray& t) {
            if (!EnviarTexto(t))
                throw EEnvioCaptura{};
        };
        const int n = std::max(0, config.NumMuestras);
        const double periodo = config.PeriodoSegundos();

        pieza((trigger ? "6," : "7,") + Numero(n) + ",");

        const TLetras entDig = config.LetrasEntDig();
        const TLetras entAna = config.LetrasEntAna();
        pieza(Numero(entDig.cuenta + entAna.cuenta) + "," + entDig.texto.toLatin1() + entAna.texto.toLatin1());

        const TLetras salDig = config.LetrasSalDig();
        const TLetras salAna = config.LetrasSalAna();
        pieza(Numero(salDig.cuenta + salAna.cuenta) + "," + salDig.texto.toLatin1() + salAna.texto.toLatin1());

        QByteArray valores;
        valores.reserve(static_cast<qsizetype>(n) * 5);
        for (int grupo = 0; grupo < 2; ++grupo) {
            bool activo = false;
            for (int i = 1; i <= 8; ++i)
                activo = activo || config.SalDig(grupo * 8 + i).Activo;
            if (!activo)
                continue;
            valores.clear();
            ValoresDig(config, grupo * 8 + 1, n, periodo, valores);
            pieza(valores);
        }
        for (int i = 1; i <= TConfigES::NumSalAna; ++i) {
            if (!config.SalAna(i).Activo)
                continue;
            valores.clear();
            ValoresAna(config.SalAna(i), n, periodo, valores);
            pieza(valores);
        }

        if (trigger) {
            QByteArray t(1, trigger->Canal);
            t += ',';
            t += Numero(trigger->Tipo == 0 ? qint64(trigger->Nivel) : qint64(trigger->Bit)) + ",";
            t += trigger->Flanco == 0 ? "1," : trigger->Flanco == 1 ? "0," : "2,";
            pieza(t);
        } else {
            pieza(Numero(std::llround(std::max(0.0, config.Retardo))) + ",");
        }
        pieza(Numero(config.UnidadPeriodo) + "," + Numero(std::llround(config.Periodo)));

        if (VentanaProgreso)
            VentanaProgreso->Enviando();
        QByteArray r;
        if (!EnviarComando(QByteArrayLiteral("#"), r, false)) {
            BufEnvio.clear();
            Aviso142();
            return false;
        }
        if (VentanaProgreso) {
            if (trigger)
                VentanaProgreso->Hecho();
            else
                VentanaProgreso->Enviando();
        }
        return true;
    } catch (const EEnvioCaptura&) {
        BufEnvio.clear();
        Aviso142();
        return false;
    }
}

void TComCapvis::ActualizarGrupos(const TConfigES& config)
{
    Descriptor.Programadas = config.NumMuestras;
    bool a = false, b = false;
    for (int i = 1; i <= 16; ++i) {
        const bool act = config.EntDig(i).Activo;
        Descriptor.EntradaDigital[i] = act ? 1 : 0;
        if (i <= 8)
            a = a || act;
        else
            b = b || act;
    }
    Descriptor.GrupoActivo[0] = a ? 1 : 0;
    Descriptor.GrupoActivo[1] = b ? 1 : 0;
    for (int i = 1; i <= 8; ++i)
        Descriptor.GrupoActivo[1 + i] = config.EntAna(i).Activo ? 1 : 0;
}

void TComCapvis::SetRepetirCaptura(bool on)
{
    CapturaGuardada.clear();
    RepetirCaptura = on;
}

bool TComCapvis::LeerDatos(bool& datos, int& n, TCjtSenales& senales, const TConfigES& config, bool terminada)
{
    datos = false;
    n = 0;
    TLecturaDatos lectura(*this, config, terminada);
    TLecturaDatos::TResultado r;
    while ((r = lectura.Paso()) == TLecturaDatos::TResultado::Sigue) {
        const int espera = lectura.EsperaSugerida();
        if (espera > 0)
            Reloj.Dormir(espera);
    }
    if (r == TLecturaDatos::TResultado::SinEnvio)
        return false;
    datos = lectura.Datos();
    n = datos ? lectura.Muestras() : 0;
    lectura.Entregar(senales);
    return true;
}

bool TComCapvis::LeerMonitor()
{
    try {
        QByteArray r;
        if (!EnviarComando(QByteArrayLiteral("10#"), r, true) || r.isEmpty())
            return false;
        if (r == "0") {
            Descriptor.Progreso = 0;
            return true;
        }
        const auto& grupos = Descriptor.GrupoActivo;
        const int activos = static_cast<int>(std::count_if(grupos.begin(), grupos.end(), [](std::uint8_t g) { return g != 0; }));
        bool ok = false;
        if (activos == 0) {
            const int k = r.toInt(&ok);
            if (!ok)
                return false;
            if (k >= Descriptor.Progreso && k <= 65535)
                Descriptor.Progreso = static_cast<std::uint16_t>(k);
            return true;
        }
        const QList<QByteArray> campos = r.split(',');
        if (campos.size() - 1 != activos)
            return true; // not the layout of this capture
        const int k = campos.at(0).toInt(&ok);
        if (!ok)
            return false;
        if (k <= Descriptor.Progreso || k > 65535)
            return true;
        std::array<std::int32_t, 10> valores = UltimoValor;
        int c = 1;
        for (int g = 0; g < 10; ++g) {
            if (!grupos[g])
                continue;
            valores[g] = campos.at(c++).toInt(&ok);
            // A digital group is one byte; anything else is not the unit's word.
            if (!ok || (g < 2 && (valores[g] < 0 || valores[g] > 255)))
                return false;
        }
        Descriptor.Progreso = static_cast<std::uint16_t>(k);
        UltimoValor = valores;
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::ActivarSalidas(const QString& cuerpo)
{
    try {
        return Ack("12," + cuerpo.toLatin1() + "#");
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::DesactivarSalidas(const QString& cuerpo)
{
    try {
        return Ack("13," + cuerpo.toLatin1() + "#");
    } catch (const EComPort&) {
        return false;
    }
}

} // namespace qv
