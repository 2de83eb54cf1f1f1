#include "model/senales.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/config_es.h"
#include "model/generadores.h"
#include "model/operacion.h"

#include <cmath>

namespace qv {

// --- signals

TSenal::TSenal(const QString& nombre, bool calculada, const TOperacion* operacion, bool tieneGenerador,
               int canal, double periodo, std::uint16_t numMuestras, bool digital)
    : Canal(canal), nombre_(nombre), periodo_(periodo), numMuestras_(numMuestras), esDigital_(digital),
      calculada_(calculada)
{
    if (tieneGenerador) {
        calculada_ = false;
    } else if (operacion) {
        operacion_ = std::make_unique<TOperacion>(*operacion);
        calculada_ = false;
    }
}

TSenal::~TSenal() = default;

double TSenal::Duracion() const { return numMuestras_ * periodo_ - periodo_; }

namespace {
int OrigenDe(bool generador, const TOperacion* operacion, bool calculada)
{
    if (generador)
        return OrigenSenal::Generador;
    if (operacion)
        return OrigenSenal::Operacion;
    return calculada ? OrigenSenal::Calculada : OrigenSenal::Captada;
}
} // namespace

TSenalAna::TSenalAna(TTextos& textos, const QString& nombre, bool calculada, const TOperacion* operacion,
                     const TGenAnalogico* generador, int canal, double periodo, std::uint16_t numMuestras)
    : TSenalAna(textos.BuscarTexto(199), nombre, calculada, operacion, generador, canal, periodo, numMuestras)
{
}

TSenalAna::TSenalAna(const QString& unidad, const QString& nombre, bool calculada, const TOperacion* operacion,
                     const TGenAnalogico* generador, int canal, double periodo, std::uint16_t numMuestras)
    : TSenal(nombre, calculada, generador ? nullptr : operacion, generador != nullptr, canal, periodo, numMuestras,
             false),
      Unidad(unidad), muestras_(numMuestras, 0.0f)
{
    if (generador)
        generador_ = generador->CopiaParaSenal();
}

TSenalAna::~TSenalAna() = default;

int TSenalAna::Origen() const { return OrigenDe(generador_ != nullptr, operacion_.get(), calculada_); }

void TSenalAna::PonerMuestra(int i, float x)
{
    muestras_[std::size_t(i)] = x;
    if (!(x >= Minimo))
        Minimo = x;
    if (x > Maximo)
        Maximo = x;
}

void TSenalAna::PonerDatosSenal(const QString& unidad, float fondoEscala, float factor)
{
    Unidad = unidad;
    FondoEscala = fondoEscala;
    Factor = factor;
}

TSenalAna::TEstadisticas TSenalAna::Estadisticas() const
{
    float suma = 0;
    for (float x : muestras_)
        suma += x;
    const float media = muestras_.empty() ? 0.0f : suma / float(muestras_.size());
    return {Maximo, Minimo, media};
}

float TSenalAna::Area() const
{
    const std::size_t n = muestras_.size();
    if (n == 0)
        return 0;
    float interior = 0;
    for (std::size_t i = 1; i + 1 < n; ++i)
        interior += muestras_[i];
    const float suma = muestras_[0] + 2 * interior + muestras_[n - 1];
    return float(suma * periodo_ / 2);
}

TSenalDig::TSenalDig(const QString& nombre, bool calculada, const TOperacion* operacion,
                     const TGenDigital* generador, int canal, double periodo, std::uint16_t numMuestras)
    : TSenal(nombre, calculada, generador ? nullptr : operacion, generador != nullptr, canal, periodo, numMuestras,
             true),
      muestras_(numMuestras, 0)
{
    if (generador)
        generador_ = generador->CopiaParaSenal();
}

TSenalDig::~TSenalDig() = default;

int TSenalDig::Origen() const { return OrigenDe(generador_ != nullptr, operacion_.get(), calculada_); }

namespace {
int Pulsos(const std::vector<std::uint8_t>& m, std::uint8_t nivel)
{
    int n = 0;
    for (std::size_t i = 0; i + 1 < m.size(); ++i)
        if (m[i] == nivel && m[i + 1] != nivel)
            ++n;
    return n;
}
} // namespace

int TSenalDig::NumPulsosAlto() const { return Pulsos(muestras_, 1); }

int TSenalDig::NumPulsosBajo() const { return Pulsos(muestras_, 0); }

// --- the set

TCjtSenales::TCjtSenales(TTextos& textos, TInteraccion& interaccion) : textos_(textos), interaccion_(interaccion) {}

TCjtSenales::~TCjtSenales() { Vaciar(); }

void TCjtSenales::Vaciar()
{
    ana_.clear();
    dig_.clear();
    cursorAna_ = cursorDig_ = 0;
    Comentario.clear();
    Anotaciones.clear();
    Ajustes.clear();
    Decodificaciones.clear();
}

bool TCjtSenales::AnadirAna(std::unique_ptr<TSenalAna> senal)
{
    if (!senal)
        return false;
    QString nombre = senal->Nombre();
    if (!ComprobarNombre(nombre))
        return false;
    senal->PonerNombre(nombre);
    ana_.insert(ana_.begin(), std::move(senal));
    // The cursor stays on the signal it was on, as a node cursor would.
    ++cursorAna_;
    return true;
}

bool TCjtSenales::AnadirDig(std::unique_ptr<TSenalDig> senal)
{
    if (!senal)
        return false;
    QString nombre = senal->Nombre();
    if (!ComprobarNombre(nombre))
        return false;
    senal->PonerNombre(nombre);
    dig_.insert(dig_.begin(), std::move(senal));
    ++cursorDig_;
    return true;
}

void TCjtSenales::AnadirDe(TCjtSenales& otro)
{
    auto ana = std::move(otro.ana_);
    auto dig = std::move(otro.dig_);
    otro.Vaciar();
    for (auto i = ana.rbegin(); i != ana.rend(); ++i)
        AnadirAna(std::move(*i));
    for (auto i = dig.rbegin(); i != dig.rend(); ++i)
        AnadirDig(std::move(*i));
}

bool TCjtSenales::ComprobarNombre(QString& nombre)
{
    if (nombradoAuto_) {
        const QString c = QString::number(NumCaptura);
        if (nombre.size() + c.size() <= 8)
            nombre += c;
        else
            nombre = nombre.left(std::max<qsizetype>(0, 8 - c.size())) + c;
    }
    // A seam that cannot ask answers Ninguna: twice in a row ends the question as
    // "No incluir la señal"; the cap bounds any other endless script.
    int ningunas = 0;
    for (int vueltas = 0; Existe(nombre); ++vueltas) {
        if (vueltas >= 1000)
            return false;
        const QString pregunta =
            textos_.BuscarTexto(232) + QLatin1Char(' ') + nombre + QLatin1Char(' ') + textos_.BuscarTexto(233);
        const int r = interaccion_.MostrarPregunta(pregunta, Botones::Conflicto);
        if (r == Respuesta::Ninguna) {
            if (++ningunas >= 2)
                return false;
            continue;
        }
        ningunas = 0;
        if (r == Respuesta::Sobreescribir) {
            BorrarAna(nombre);
            BorrarDig(nombre);
            return true;
        }
        if (r == Respuesta::Omitir)
            return false;
        if (r == Respuesta::CambiarNombre) {
            const QString nuevo = interaccion_.PedirNombreNuevo(nombre);
            // A cancelled rename dialog answers "Omitir": ask again, keeping the name.
            if (nuevo != QLatin1String("Omitir"))
                nombre = nuevo;
        }
    }
    return true;
}

bool TCjtSenales::Existe(const QString& nombre)
{
    for (std::size_t i = 0; i < ana_.size(); ++i)
        if (ana_[i]->Nombre() == nombre) {
            cursorAna_ = i;
            return true;
        }
    for (std::size_t i = 0; i < dig_.size(); ++i)
        if (dig_[i]->Nombre() == nombre) {
            cursorDig_ = i;
            return true;
        }
    return false;
}

namespace {
template <class L>
int Indice(const L& lista, const QString& nombre)
{
    for (std::size_t i = 0; i < lista.size(); ++i)
        if (lista[i]->Nombre() == nombre)
            return int(i);
    return -1;
}
} // namespace

TSenalAna* TCjtSenales::BuscarAna(const QString& nombre) const
{
    const int i = Indice(ana_, nombre);
    return i < 0 ? nullptr : ana_[std::size_t(i)].get();
}

TSenalDig* TCjtSenales::BuscarDig(const QString& nombre) const
{
    const int i = Indice(dig_, nombre);
    return i < 0 ? nullptr : dig_[std::size_t(i)].get();
}

int TCjtSenales::PosicionAna(const QString& nombre) const { return Indice(ana_, nombre) + 1; }

int TCjtSenales::PosicionDig(const QString& nombre) const { return Indice(dig_, nombre) + 1; }

bool TCjtSenales::BorrarAna(const QString& nombre)
{
    const int i = Indice(ana_, nombre);
    if (i < 0)
        return false;
    ana_.erase(ana_.begin() + i);
    // Keep the cursor on the same following signal.
    if (cursorAna_ > std::size_t(i))
        --cursorAna_;
    return true;
}

bool TCjtSenales::BorrarDig(const QString& nombre)
{
    const int i = Indice(dig_, nombre);
    if (i < 0)
        return false;
    dig_.erase(dig_.begin() + i);
    if (cursorDig_ > std::size_t(i))
        --cursorDig_;
    return true;
}

bool TCjtSenales::RenombrarAna(const QString& viejo, const QString& nuevo)
{
    TSenalAna* s = BuscarAna(viejo);
    if (!s)
        return false;
    s->PonerNombre(nuevo);
    // The notes of an XY plot follow their X signal.
    for (TAnotacion& a : Anotaciones)
        if (!a.Digital && a.EjeX == viejo)
            a.EjeX = nuevo;
    for (TRegistroAjuste& g : Ajustes)
        if (g.Senal == viejo)
            g.Senal = nuevo;
    return true;
}

bool TCjtSenales::RenombrarDig(const QString& viejo, const QString& nuevo)
{
    TSenalDig* s = BuscarDig(viejo);
    if (!s)
        return false;
    s->PonerNombre(nuevo);
    // A decoding follows its signals.
    for (TDecodificacion& d : Decodificaciones)
        for (TAjusteDecod& c : d.Canales)
            if (c.Valor == viejo)
                c.Valor = nuevo;
    return true;
}

void TCjtSenales::NombresAna(QStringList& lista) const
{
    for (const auto& s : ana_)
        lista << s->Nombre();
}

void TCjtSenales::NombresDig(QStringList& lista) const
{
    for (const auto& s : dig_)
        lista << s->Nombre();
}

QStringList TCjtSenales::NombresAna() const
{
    QStringList l;
    NombresAna(l);
    return l;
}

QStringList TCjtSenales::NombresDig() const
{
    QStringList l;
    NombresDig(l);
    return l;
}

TSenalAna* TCjtSenales::SiguienteAna()
{
    if (cursorAna_ >= ana_.size())
        return nullptr;
    return ana_[cursorAna_++].get();
}

TSenalDig* TCjtSenales::SiguienteDig()
{
    if (cursorDig_ >= dig_.size())
        return nullptr;
    return dig_[cursorDig_++].get();
}

TSenalAna* TCjtSenales::ActualAna() const { return cursorAna_ < ana_.size() ? ana_[cursorAna_].get() : nullptr; }

bool TCjtSenales::CompatibleCon(const TConfigES& config) const
{
    // An empty set has nothing to lose: it fits any time base.
    const double periodo = config.PeriodoSegundos();
    if (!ana_.empty()) {
        const TSenalAna& s = *ana_.front();
        return s.NumMuestras() == config.NumMuestras && std::fabs(s.Periodo() - periodo) <= 1e-8;
    }
    if (!dig_.empty()) {
        const TSenalDig& s = *dig_.front();
        return s.NumMuestras() == config.NumMuestras && s.Periodo() == periodo;
    }
    return true;
}

} // namespace qv
