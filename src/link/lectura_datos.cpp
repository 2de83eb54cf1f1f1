#include "link/lectura_datos.h"

#include "link/com_capvis.h"
#include "link/reloj.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <climits>

namespace qv {

namespace {

bool EsBlanco(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A decimal int with optional sign and surrounding blanks, as the unit writes it;
// anything else in the field makes it no number.
bool Entero(const char* p, const char* fin, int& valor)
{
    while (p < fin && EsBlanco(*p))
        ++p;
    bool negativo = false;
    if (p < fin && (*p == '-' || *p == '+'))
        negativo = *p++ == '-';
    const char* cifras = p;
    qint64 v = 0;
    for (; p < fin && static_cast<unsigned>(*p - '0') < 10u; ++p) {
        v = v * 10 + (*p - '0');
        if (v > qint64(INT_MAX) + 1)
            return false;
    }
    if (p == cifras)
        return false;
    while (p < fin && EsBlanco(*p))
        ++p;
    if (p != fin)
        return false;
    v = negativo ? -v : v;
    if (v > INT_MAX)
        return false;
    valor = static_cast<int>(v);
    return true;
}

} // namespace

TLecturaDatos::TLecturaDatos(TComCapvis& com, const TConfigES& config, bool terminada)
    : Com(com), Config(config), Terminada(terminada)
{
}

TLecturaDatos::~TLecturaDatos() = default;

TLecturaDatos::TResultado TLecturaDatos::Resultado() const
{
    switch (Estado) {
    case TEstado::Hecha:
        return TResultado::Hecha;
    case TEstado::SinEnvio:
        return TResultado::SinEnvio;
    case TEstado::Cancelada:
        return TResultado::Cancelada;
    default:
        return TResultado::Sigue;
    }
}

TLecturaDatos::TResultado TLecturaDatos::Paso()
{
    switch (Estado) {
    case TEstado::Pedir:
        Pedir();
        break;
    case TEstado::Cabecera:
    case TEstado::Campos:
        Recibir();
        break;
    case TEstado::Drenar:
        Drenar();
        break;
    default:
        break;
    }
    return Resultado();
}

int TLecturaDatos::EsperaSugerida() const
{
    switch (Estado) {
    case TEstado::Cabecera:
    case TEstado::Campos:
        return SinPausa ? 0 : PausaSinDatos;
    case TEstado::Drenar:
        return TComCapvis::PausaDrenaje; // each step takes all that has come
    default:
        return 0;
    }
}

void TLecturaDatos::Cancelar()
{
    switch (Estado) {
    case TEstado::Pedir:
        Estado = TEstado::Cancelada;
        break;
    case TEstado::Cabecera:
    case TEstado::Campos:
        // The unit cannot be stopped mid-reply: the protocol object throws the rest
        // away, in the background or before the next command, so that it is not taken
        // for that command's answer; the reader is done at once.
        Romper(true);
        Estado = TEstado::Cancelada;
        break;
    case TEstado::Drenar:
        Estado = TEstado::Cancelada;
        break;
    default:
        break;
    }
}

bool TLecturaDatos::Silencio() const
{
    return Vacios >= TComCapvis::Intentos && Com.Reloj.Tick() - UltimoDato >= TComCapvis::Intentos * 10;
}

void TLecturaDatos::Pedir()
{
    Com.Drenar();
    Datos_ = false;
    Muestras_ = 0;
    Recibidos_ = 0;
    Esperados_ = 0;
    ++Intento_;
    if (!Com.EnviarTexto(QByteArrayLiteral("9#"))) {
        Estado = TEstado::SinEnvio;
        return;
    }
    Estado = TEstado::Cabecera;
    SinPausa = true; // a quick unit may have answered already
    Vacios = 0;
    UltimoDato = Com.Reloj.Tick();
}

bool TLecturaDatos::Trozo(QByteArray& rec, bool& perdido)
{
    bool error = false;
    try {
        Com.Recibir(rec);
    } catch (const EComPort&) {
        error = true;
        rec.clear();
    }
    SinPausa = !rec.isEmpty();
    if (SinPausa) {
        Vacios = 0;
        UltimoDato = Com.Reloj.Tick();
    } else {
        ++Vacios;
    }
    // Nothing more can come over a port that has closed, nor from a relay that said so.
    perdido = error && (Com.NadaVendra() || !(Com.Puerto() && Com.Puerto()->Conectado()));
    return SinPausa;
}

void TLecturaDatos::Recibir()
{
    QByteArray rec;
    bool perdido = false;
    if (Trozo(rec, perdido)) {
        Com.AnadirRecibido(rec);
        Analizar();
    } else if (perdido || Silencio()) {
        Romper(false);
    }
}

void TLecturaDatos::Drenar()
{
    if (Com.PasoDrenaje())
        FinIntento();
}

void TLecturaDatos::Romper(bool hastaFin)
{
    for (auto& s : Ana)
        s.reset();
    for (auto& p : Palabras)
        p = {};
    Datos_ = false;
    Estado = TEstado::Drenar;
    Com.DejarPorDrenar(hastaFin);
}

void TLecturaDatos::FinIntento()
{
    Com.VaciarRecepcion();
    SinPausa = false;
    if (Intento_ >= NumIntentos)
        Estado = TEstado::Hecha; // without data
    else
        Estado = TEstado::Pedir;
}

void TLecturaDatos::Analizar()
{
    const char* d = Com.Recepcion.constData();
    const qsizetype n = Com.Recepcion.size();
    qsizetype& pos = Com.PosRecepcion;
    while (Estado == TEstado::Cabecera || Estado == TEstado::Campos) {
        qsizetype s = pos;
        while (s < n && d[s] != ',' && d[s] != '#')
            ++s;
        if (s >= n) {
            // A field waits for the rest of its digits; endless text is no field.
            if (n - pos > MaxCampo)
                Romper(true);
            return;
        }
        const char* campo = d + pos;
        const char separador = d[s];
        pos = s + 1;
        if (Estado == TEstado::Cabecera) {
            Cabecera(campo, d + s - campo, separador);
            continue;
        }
        // After a broken field the reply goes on unless that field ended it.
        int v = 0;
        if (!Entero(campo, d + s, v)) {
            Romper(separador != '#');
            return;
        }
        const int g = Grupos[Grupo];
        if (g < 2) {
            if (v < 0 || v > 255) {
                Romper(separador != '#');
                return;
            }
            Palabras[g][static_cast<std::size_t>(Muestra)] = static_cast<std::uint8_t>(v);
        } else {
            Ana[g - 2]->PonerMuestra(Muestra, static_cast<float>(v * Escala[g - 2] * Factor[g - 2]));
        }
        ++Recibidos_;
        if (++Grupo == Grupos.size()) {
            Grupo = 0;
            ++Muestra;
        }
        if (Recibidos_ == Esperados_) {
            // A reply that goes on past the expected fields does not have the layout
            // of the programmed capture; its values would land in the wrong signals.
            if (separador == '#')
                Completar();
            else
                Romper(true);
            return;
        }
        if (separador == '#') {
            Romper(false); // the reply ended short
            return;
        }
    }
}

void TLecturaDatos::Cabecera(const char* campo, qsizetype largo, char separador)
{
    int total = 0;
    if (largo < 1 || campo[0] != '&' || !Entero(campo + 1, campo + largo, total) || total < 0 ||
        total > MaxMuestras) {
        Romper(separador != '#');
        return;
    }
    const int programadas = Com.Descriptor.Programadas > 0 ? Com.Descriptor.Programadas : Config.NumMuestras;
    if (total > 0 && programadas > 0 && (Terminada ? total != programadas : total > programadas)) {
        Romper(separador != '#');
        return;
    }
    Muestras_ = total;
    Com.MuestrasLeidas = total;
    const auto& activo = Com.Descriptor.GrupoActivo;
    Grupos.clear();
    for (int g = 0; g < 10; ++g) {
        if (activo[std::size_t(g)])
            Grupos.push_back(g);
    }
    if (Grupos.empty() || total == 0) {
        Datos_ = true;
        Estado = TEstado::Hecha;
        return;
    }
    if (separador == '#') {
        Romper(false);
        return;
    }
    const double periodo = Config.PeriodoSegundos();
    const auto muestras = static_cast<std::uint16_t>(total);
    for (int i = 1; i <= 8; ++i) {
        if (!activo[std::size_t(1 + i)])
            continue;
        const TEntAna& e = Config.EntAna(i);
        auto s = std::make_unique<TSenalAna>(Com.Textos, e.Nombre, false, nullptr, nullptr, i, periodo, muestras);
        s->PonerDatosSenal(e.Unidad, FondoEscalaRango(e.Rango), e.Factor);
        Ana[std::size_t(i - 1)] = std::move(s);
        Escala[std::size_t(i - 1)] = ResolucionRango(e.Rango);
        Factor[std::size_t(i - 1)] = e.Factor;
    }
    for (int g = 0; g < 2; ++g) {
        if (activo[std::size_t(g)])
            Palabras[std::size_t(g)].assign(muestras, 0);
    }
    Esperados_ = qint64(total) * qint64(Grupos.size());
    Recibidos_ = 0;
    Grupo = 0;
    Muestra = 0;
    Estado = TEstado::Campos;
}

void TLecturaDatos::Completar()
{
    const auto& activo = Com.Descriptor.GrupoActivo;
    const double periodo = Config.PeriodoSegundos();
    const auto muestras = static_cast<std::uint16_t>(Muestras_);
    for (int i = 16; i >= 1; --i) {
        const std::size_t g = i <= 8 ? 0 : 1;
        if (!Com.Descriptor.EntradaDigital[std::size_t(i)] || !activo[g])
            continue;
        const int bit = (i - 1) % 8;
        auto s = std::make_unique<TSenalDig>(Config.EntDig(i).Nombre, false, nullptr, nullptr, i, periodo, muestras);
        const std::vector<std::uint8_t>& p = Palabras[g];
        for (int k = 0; k < Muestras_; ++k)
            s->PonerMuestra(k, std::uint8_t((p[std::size_t(k)] >> bit) & 1u));
        Dig.push_back(std::move(s));
    }
    for (auto& p : Palabras)
        p = {};
    // The scale of the input converted last stays, as the analog trigger reads it.
    for (int i = 8; i >= 1; --i) {
        if (Ana[std::size_t(i - 1)]) {
            Com.EscalaEntrada = Escala[std::size_t(i - 1)];
            break;
        }
    }
    Datos_ = true;
    Estado = TEstado::Hecha;
}

void TLecturaDatos::Entregar(TCjtSenales& senales)
{
    // Only a complete reply reaches the set.
    if (!Datos_)
        return;
    for (auto& s : Dig)
        senales.AnadirDig(std::move(s));
    Dig.clear();
    for (int i = 8; i >= 1; --i) {
        if (Ana[std::size_t(i - 1)])
            senales.AnadirAna(std::move(Ana[std::size_t(i - 1)]));
    }
}

} // namespace qv
