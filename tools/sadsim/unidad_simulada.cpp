#include "unidad_simulada.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace qv {

namespace {

constexpr double FondoEscala[6] = {10.0, 5.0, 2.0, 1.0, 0.5, 0.2};
constexpr double CuentasPorVoltio = 25.5;
constexpr double Pi = 3.14159265358979323846;
constexpr double PasoCuentaUs = 10000.0; // the count of an undriven digital port steps every 10 ms

// Strict decimal integer: optional "-", digits only, within [minimo, maximo].
bool Entero(const QByteArray& t, long long minimo, long long maximo, long long& valor)
{
    if (t.isEmpty() || t.size() > 12)
        return false;
    int i = 0;
    bool negativo = false;
    if (t[0] == '-') {
        negativo = true;
        i = 1;
        if (t.size() == 1)
            return false;
    }
    long long v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (negativo)
        v = -v;
    if (v < minimo || v > maximo)
        return false;
    valor = v;
    return true;
}

bool Entero(const QByteArray& t, int minimo, int maximo, int& valor)
{
    long long v = 0;
    if (!Entero(t, static_cast<long long>(minimo), static_cast<long long>(maximo), v))
        return false;
    valor = static_cast<int>(v);
    return true;
}

// One lower-case letter field.
char Letra(const QByteArray& t)
{
    return t.size() == 1 ? t[0] : '\0';
}

int ACuentas(double voltios, int rango)
{
    double fondo = FondoEscala[std::clamp(rango, 0, 5)];
    double c = std::round(voltios / fondo * 2048.0);
    return static_cast<int>(std::clamp(c, -2048.0, 2047.0));
}

// What the digital inputs of a port no output drives read at unit time t.
int CuentaPrueba(double t)
{
    return static_cast<int>(std::fmod(std::floor(t / PasoCuentaUs + 1e-9), 256.0));
}

} // namespace

bool LeerFallo(const QString& texto, TFalloUnidad& fallo)
{
    const QString t = texto.trimmed().toLower();
    if (t == QLatin1String("none") || t.isEmpty())
        fallo = TFalloUnidad::Ninguno;
    else if (t == QLatin1String("silence"))
        fallo = TFalloUnidad::Silencio;
    else if (t == QLatin1String("garbage"))
        fallo = TFalloUnidad::Basura;
    else if (t == QLatin1String("cut"))
        fallo = TFalloUnidad::Corte;
    else if (t == QLatin1String("slow"))
        fallo = TFalloUnidad::Lento;
    else if (t == QLatin1String("atasco") || t == QLatin1String("stall"))
        fallo = TFalloUnidad::Atasco;
    else
        return false;
    return true;
}

bool LeerReposo(const QString& texto, TReposoSalidas& reposo, QString& error)
{
    TReposoSalidas r = reposo;
    const QStringList pares = texto.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (pares.isEmpty()) {
        error = QStringLiteral("no output levels given (a1=VOLTS, d1=0|1, ...)");
        return false;
    }
    for (const QString& par : pares) {
        const qsizetype igual = par.indexOf(QLatin1Char('='));
        const QString nombre = par.left(igual).trimmed().toLower();
        const QString valor = par.mid(igual + 1).trimmed();
        bool ok = igual > 1;
        const int n = ok ? nombre.mid(1).toInt(&ok) : 0;
        const QChar clase = nombre.isEmpty() ? QChar() : nombre.front();
        if (ok && clase == QLatin1Char('a') && n >= 1 && n <= 4) {
            const double v = valor.toDouble(&ok);
            if (ok && std::isfinite(v) && v >= -10.0 && v <= 10.0) {
                r.analogica[n - 1] = true;
                r.cuentas[n - 1] = static_cast<int>(std::clamp(std::round(v * CuentasPorVoltio), -255.0, 255.0));
                continue;
            }
        } else if (ok && clase == QLatin1Char('d') && n >= 1 && n <= 16
                   && (valor == QLatin1String("0") || valor == QLatin1String("1"))) {
            const auto bit = static_cast<std::uint8_t>(1u << ((n - 1) % 8));
            auto& nivel = r.nivel[(n - 1) / 8];
            r.mascara[(n - 1) / 8] |= bit;
            nivel = valor == QLatin1String("1") ? (nivel | bit) : (nivel & ~bit);
            continue;
        }
        error = QStringLiteral("bad output level \"%1\" (a1..a4=VOLTS in -10..10, d1..d16=0|1)").arg(par.trimmed());
        return false;
    }
    reposo = r;
    return true;
}

TUnidadSimulada::TUnidadSimulada(TOpcionesUnidad opciones)
    : op_(std::move(opciones)), azar_(op_.semilla)
{
    if (!(op_.velocidad > 0))
        op_.velocidad = 1.0;
}

bool TUnidadSimulada::FirmwareAntiguo() const
{
    return op_.version == "1.00" || op_.version == "1.10";
}

double TUnidadSimulada::TiempoUnidad(std::int64_t ahoraUs) const
{
    return static_cast<double>(ahoraUs) * op_.velocidad;
}

void TUnidadSimulada::Recibir(const QByteArray& datos, std::int64_t ahoraUs)
{
    Avanzar(ahoraUs);
    const bool antiguo = FirmwareAntiguo();
    if (antiguo) {
        // Old firmware drains its small buffer only while the line is quiet.
        if (ultimaLlegada_ >= 0 && ahoraUs - ultimaLlegada_ >= PausaAntiguoUs) {
            enRafaga_ = 0;
            if (desbordado_) {
                // It knows it lost bytes: the command they belonged to is dropped.
                desbordado_ = false;
                comando_.clear();
                descartando_ = false;
                ++rechazados_;
            }
        }
        ultimaLlegada_ = ahoraUs;
    }
    for (char c : datos) {
        if (antiguo) {
            if (enRafaga_ >= BufferAntiguo) {
                ++perdidos_;
                desbordado_ = true;
                continue;
            }
            ++enRafaga_;
        }
        ProcesarByte(c, ahoraUs);
    }
}

void TUnidadSimulada::ProcesarByte(char c, std::int64_t ahoraUs)
{
    // Flow-control characters and line ends are never part of a command.
    if (c == 0x11 || c == 0x13 || c == '\r' || c == '\n')
        return;
    if (descartando_) {
        if (c == '#')
            descartando_ = false;
        return;
    }
    if (c == '#') {
        QByteArray comando;
        comando.swap(comando_);
        Ejecutar(comando, ahoraUs);
        return;
    }
    comando_.append(c);
    if (comando_.size() > MaxComando) {
        // Larger than any capture the memory could take: drop it up to its end.
        comando_.clear();
        descartando_ = true;
        ++rechazados_;
    }
}

void TUnidadSimulada::Responder(QByteArray texto, std::int64_t ahoraUs)
{
    std::int64_t cuando = ahoraUs;
    switch (op_.fallo) {
    case TFalloUnidad::Ninguno:
        break;
    case TFalloUnidad::Silencio:
        return;
    case TFalloUnidad::Basura: {
        static const char Ruido[] = "0123456789ABCDEFGHJKxyz,.;:!?*%=+-";
        std::uniform_int_distribution<int> d(0, static_cast<int>(sizeof(Ruido)) - 2);
        QByteArray r(std::max<qsizetype>(texto.size(), 4), ' ');
        for (auto& c : r)
            c = Ruido[d(azar_)];
        texto = r;
        break;
    }
    case TFalloUnidad::Corte:
        texto = texto.left(texto.size() / 2);
        break;
    case TFalloUnidad::Lento:
        cuando = ahoraUs + op_.retrasoLentoUs;
        break;
    case TFalloUnidad::Atasco:
        // Busy with its capture once it is half taken (or with its data once it has
        // ended): the first answer it owes from then on leaves late, whole.
        if (!atascada_ && ((estado_ == 2 && 2 * tomadas_ >= prog_.n) || estado_ == 3)) {
            atascada_ = true;
            cuando = ahoraUs + op_.atascoUs;
        }
        break;
    }
    if (!texto.isEmpty())
        salida_.push_back({cuando, texto});
}

QByteArray TUnidadSimulada::TomarSalida(std::int64_t ahoraUs)
{
    Avanzar(ahoraUs);
    QByteArray r;
    while (!salida_.empty() && salida_.front().cuando <= ahoraUs) {
        r += salida_.front().texto;
        salida_.pop_front();
    }
    return r;
}

void TUnidadSimulada::Ejecutar(const QByteArray& comando, std::int64_t ahoraUs)
{
    AvanzarCircuito(TiempoUnidad(ahoraUs)); // a command may change what the outputs play
    const QList<QByteArray> campos = comando.split(',');
    const QByteArray& orden = campos.front();
    bool ok = false;
    QByteArray respuesta;
    if (orden == "1" && campos.size() == 1) {
        // Memory is reported in bytes: two per word.
        respuesta = "&" + op_.version + "," + QByteArray::number(Capacidad * 2) + "#";
        ok = true;
    } else if (orden == "2" && campos.size() == 1) {
        respuesta = "&" + QByteArray::number(estado_) + "#";
        ok = true;
    } else if (orden == "3") {
        ok = ComandoEntradas(campos);
        respuesta = "&";
    } else if (orden == "4") {
        // Old firmware's housekeeping command: nothing to do here but answer.
        respuesta = "&0#";
        ok = true;
    } else if (orden == "5") {
        ok = ComandoSalidasFijas(campos);
        respuesta = "&";
    } else if (orden == "6" || orden == "7") {
        ok = ComandoPrograma(campos);
        respuesta = "&";
    } else if (orden == "8" && campos.size() == 1) {
        for (int g = 0; g < NumSalidas; ++g)
            fijo_[g] = SalidaAhora(g, TiempoUnidad(ahoraUs));
        estado_ = 0;
        tomadas_ = 0;
        datos_.clear();
        respuesta = "&";
        ok = true;
    } else if (orden == "9" && campos.size() == 1) {
        respuesta = RespuestaDatos();
        ok = true;
    } else if (orden == "10" && campos.size() == 1) {
        respuesta = RespuestaMonitor();
        ok = true;
    } else if (orden == "12" || orden == "13") {
        ok = ComandoConmutar(campos, orden == "12");
        respuesta = "&";
    }
    if (ok) {
        Responder(respuesta, ahoraUs);
        Avanzar(ahoraUs);
    } else {
        // A command the unit cannot take gets no acknowledge at all.
        ++rechazados_;
    }
}

bool TUnidadSimulada::ComandoEntradas(const QList<QByteArray>& campos)
{
    std::array<int, 8> rango = rango_;
    int indice = -1;
    for (int i = 1; i < campos.size(); ++i) {
        const char l = Letra(campos[i]);
        if (l >= 'c' && l <= 'j') {
            indice = l - 'c';
        } else if (l >= 'k' && l <= 'n') {
            indice = 2 * (l - 'k');
        } else if (l >= '0' && l <= '5') {
            // A digit without its own letter belongs to the next input: the even
            // input of a differential pair is listed by its range alone.
            if (indice < 0 || indice > 7)
                return false;
            rango[indice++] = l - '0';
        } else {
            return false;
        }
    }
    rango_ = rango;
    return true;
}

bool TUnidadSimulada::ComandoSalidasFijas(const QList<QByteArray>& campos)
{
    if (campos.size() % 2 != 1)
        return false;
    std::array<int, NumSalidas> fijo = fijo_;
    std::array<bool, NumSalidas> nombrada{};
    bool ceros = true;
    for (int i = 1; i + 1 < campos.size(); i += 2) {
        const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(Letra(campos[i]))));
        if (l < 'u' || l > 'z')
            return false;
        const int g = l - 'u';
        int v = 0;
        if (!Entero(campos[i + 1], g < 2 ? 0 : -255, 255, v))
            return false;
        fijo[g] = v;
        nombrada[g] = true;
        ceros = ceros && v == 0;
    }
    fijo_ = fijo;
    // Every output off lets port v go; any other level given to it takes it.
    if (ceros && std::all_of(nombrada.begin(), nombrada.end(), [](bool n) { return n; }))
        conducidaV_ = false;
    else
        conducidaV_ = conducidaV_ || nombrada[1];
    return true;
}

bool TUnidadSimulada::ComandoPrograma(const QList<QByteArray>& campos)
{
    TPrograma p;
    p.disparo = campos.front() == "6";
    int i = 1;
    auto quedan = [&](int k) { return campos.size() - i >= k; };

    if (!quedan(2) || !Entero(campos[i++], 1, 65535, p.n))
        return false;
    int nEnt = 0;
    if (!Entero(campos[i++], 0, 14, nEnt) || !quedan(nEnt + 1))
        return false;
    int palabras = 0;
    for (int k = 0; k < nEnt; ++k) {
        const char l = Letra(campos[i++]);
        int g = -1;
        if (l == 'a' || l == 'b')
            g = l - 'a';
        else if (l >= 'c' && l <= 'j')
            g = 2 + (l - 'c');
        else if (l >= 'k' && l <= 'n') {
            g = 2 + 2 * (l - 'k');
            p.diferencial[l - 'k'] = true;
        } else
            return false;
        if (p.grupo[g])
            return false;
        p.grupo[g] = true;
        palabras += g < 2 ? 1 : 2;
    }
    int nSal = 0;
    if (!Entero(campos[i++], 0, NumSalidas, nSal) || !quedan(nSal))
        return false;
    std::vector<int> orden;
    for (int k = 0; k < nSal; ++k) {
        const char l = Letra(campos[i++]);
        if (l < 'u' || l > 'z')
            return false;
        const int g = l - 'u';
        if (p.salida[g])
            return false;
        p.salida[g] = true;
        orden.push_back(g);
        palabras += g < 2 ? 1 : 2;
    }
    // Checked before the samples are parsed: a program that cannot fit is refused
    // however it goes on.
    if (static_cast<long long>(palabras) * p.n > Capacidad)
        return false;
    if (!quedan(static_cast<int>(orden.size()) * p.n))
        return false;
    for (int g : orden) {
        auto& m = p.muestras[g];
        m.resize(p.n);
        const int minimo = g < 2 ? 0 : -255;
        for (int k = 0; k < p.n; ++k)
            if (!Entero(campos[i++], minimo, 255, m[k]))
                return false;
    }
    if (p.disparo) {
        if (!quedan(3))
            return false;
        const char l = Letra(campos[i++]);
        if (l == 'a' || l == 'b') {
            p.canal = l - 'a';
            if (!Entero(campos[i++], 0, 7, p.bit))
                return false;
        } else if ((l >= 'c' && l <= 'j') || (l >= 'k' && l <= 'n')) {
            p.canal = l <= 'j' ? 2 + (l - 'c') : 10 + (l - 'k');
            if (!Entero(campos[i++], -100000, 100000, p.nivel))
                return false;
        } else {
            return false;
        }
        if (!Entero(campos[i++], 0, 2, p.flanco))
            return false;
    } else {
        int retardo = 0;
        if (!quedan(1) || !Entero(campos[i++], 0, 1000000, retardo))
            return false;
        p.retardoUs = retardo * 1e6;
    }
    int unidad = 0, periodo = 0;
    if (campos.size() - i != 2 || !Entero(campos[i++], 0, 2, unidad)
        || !Entero(campos[i++], 1, 65535, periodo))
        return false;
    p.periodoUs = periodo * (unidad == 0 ? 1.0 : unidad == 1 ? 1e3 : 1e6);

    // Accepted: outputs of a capture being replaced keep their present level.
    const double t = TiempoUnidad(ahoraReal_);
    for (int g = 0; g < NumSalidas; ++g)
        fijo_[g] = SalidaAhora(g, t);
    prog_ = std::move(p);
    mascaraDig_ = {0xFF, 0xFF};
    analogicaOn_ = {true, true, true, true};
    gruposActivos_ = static_cast<int>(std::count(prog_.grupo.begin(), prog_.grupo.end(), true));
    tomadas_ = 0;
    datos_.clear();
    tProgramado_ = t;
    tEvaluado_ = t;
    estado_ = 1;
    conducidaV_ = conducidaV_ || prog_.salida[1];
    // The trigger watches from the levels held until now, so the step to the levels
    // outputs wait at before their capture is one it can see.
    hayPrevio_ = prog_.disparo;
    if (hayPrevio_)
        previo_ = ValorDisparo(t);
    const TReposoSalidas& reposo = op_.reposo;
    for (int i = 0; i < 4; ++i)
        if (reposo.analogica[i])
            fijo_[2 + i] = reposo.cuentas[i];
    for (int p = 0; p < 2; ++p)
        fijo_[p] = (fijo_[p] & ~reposo.mascara[p]) | (reposo.nivel[p] & reposo.mascara[p]);
    if (!prog_.disparo && prog_.retardoUs == 0)
        Empezar(t);
    return true;
}

bool TUnidadSimulada::ComandoConmutar(const QList<QByteArray>& campos, bool encender)
{
    int i = 1;
    int nGrupos = 0;
    if (campos.size() < 2 || !Entero(campos[i++], 0, NumSalidas, nGrupos))
        return false;
    auto mascara = mascaraDig_;
    auto analogica = analogicaOn_;
    for (int k = 0; k < nGrupos; ++k) {
        if (i >= campos.size())
            return false;
        const char l = Letra(campos[i++]);
        if (l == 'u' || l == 'v') {
            int n = 0;
            if (i >= campos.size() || !Entero(campos[i++], 0, 8, n) || campos.size() - i < n)
                return false;
            for (int b = 0; b < n; ++b) {
                int bit = 0;
                if (!Entero(campos[i++], 0, 7, bit))
                    return false;
                auto& m = mascara[l - 'u'];
                m = encender ? (m | (1u << bit)) : (m & ~(1u << bit));
            }
        } else if (l >= 'w' && l <= 'z') {
            analogica[l - 'w'] = encender;
        } else {
            return false;
        }
    }
    if (i != campos.size())
        return false;
    mascaraDig_ = mascara;
    analogicaOn_ = analogica;
    return true;
}

QByteArray TUnidadSimulada::RespuestaDatos() const
{
    if ((estado_ != 2 && estado_ != 3) || tomadas_ == 0)
        return "&0#";
    QByteArray r;
    r.reserve(static_cast<qsizetype>(datos_.size()) * 6 + 16);
    r += '&';
    r += QByteArray::number(tomadas_);
    for (std::int16_t v : datos_) {
        r += ',';
        r += QByteArray::number(v);
    }
    r += '#';
    return r;
}

QByteArray TUnidadSimulada::RespuestaMonitor() const
{
    if (estado_ != 2 || tomadas_ == 0)
        return "&0#";
    QByteArray r = "&" + QByteArray::number(tomadas_);
    const std::size_t base = static_cast<std::size_t>(tomadas_ - 1) * gruposActivos_;
    for (int j = 0; j < gruposActivos_; ++j)
        r += "," + QByteArray::number(datos_[base + j]);
    return r + "#";
}

int TUnidadSimulada::SalidaEn(int g, int k) const
{
    const int v = prog_.muestras[g][k];
    if (g < 2)
        return v & mascaraDig_[g];
    return analogicaOn_[g - 2] ? v : 0;
}

int TUnidadSimulada::SalidaAhora(int g, double t) const
{
    if (estado_ == 2 && prog_.salida[g]) {
        // A small bias keeps the sample instant itself from rounding to the one before.
        int k = static_cast<int>(std::floor((t - tInicio_) / prog_.periodoUs + 1e-6));
        k = std::clamp(k, 0, prog_.n - 1);
        return SalidaEn(g, k);
    }
    return fijo_[g];
}

int TUnidadSimulada::ValorSalida(int grupo) const
{
    if (grupo < 0 || grupo >= NumSalidas)
        return 0;
    return SalidaAhora(grupo, TiempoUnidad(ahoraReal_));
}

double TUnidadSimulada::VoltiosEntrada(int entrada, double t) const
{
    const double s = t / 1e6;
    switch (entrada) {
    case 2:
        if (circuito_) {
            AvanzarCircuito(t);
            return circuito_->Salida();
        }
        [[fallthrough]];
    case 1:
    case 3:
    case 4:
        return SalidaAhora(2 + entrada - 1, t) / CuentasPorVoltio;
    case 5:
        return 2.0 * std::sin(2.0 * Pi * s);
    case 6: {
        const double fase = std::fmod(s, 2.0) / 2.0;
        return fase < 0.5 ? -4.0 + 16.0 * fase : 4.0 - 16.0 * (fase - 0.5);
    }
    case 7:
        return std::fmod(s, 0.5) < 0.25 ? 3.0 : 0.0;
    default:
        return 1.0;
    }
}

int TUnidadSimulada::CuentasCanal(int canal, double t) const
{
    if (canal >= 10) {
        const int impar = 2 * (canal - 10) + 1;
        return ACuentas(VoltiosEntrada(impar, t) - VoltiosEntrada(impar + 1, t), rango_[impar - 1]);
    }
    const int entrada = canal - 1;
    return ACuentas(VoltiosEntrada(entrada, t), rango_[entrada - 1]);
}

bool TUnidadSimulada::Conduce(int puerto) const
{
    return puerto == 0 || conducidaV_ || op_.reposo.mascara[1] != 0;
}

int TUnidadSimulada::PalabraDigital(int grupo, double t) const
{
    return Conduce(grupo) ? SalidaAhora(grupo, t) & 0xFF : CuentaPrueba(t);
}

int TUnidadSimulada::ValorDisparo(double t) const
{
    return prog_.canal < 2 ? (PalabraDigital(prog_.canal, t) >> prog_.bit) & 1 : CuentasCanal(prog_.canal, t);
}

void TUnidadSimulada::Empezar(double tInicio)
{
    AvanzarCircuito(tInicio); // up to the start with the levels held before it
    estado_ = 2;
    tInicio_ = tInicio;
    tomadas_ = 0;
    datos_.clear();
    datos_.reserve(static_cast<std::size_t>(prog_.n) * gruposActivos_);
}

void TUnidadSimulada::TomarMuestra(int k)
{
    const double t = tInicio_ + k * prog_.periodoUs;
    for (int g = 0; g < NumGrupos; ++g) {
        if (!prog_.grupo[g])
            continue;
        int v = 0;
        if (g < 2) {
            v = PalabraDigital(g, t);
        } else {
            const int entrada = g - 1;
            const bool par = (entrada % 2 == 1) && prog_.diferencial[(entrada - 1) / 2];
            v = CuentasCanal(par ? 10 + (entrada - 1) / 2 : g, t);
        }
        datos_.push_back(static_cast<std::int16_t>(v));
    }
    ++tomadas_;
}

void TUnidadSimulada::Terminar()
{
    for (int g = 0; g < NumSalidas; ++g)
        if (prog_.salida[g])
            fijo_[g] = SalidaEn(g, prog_.n - 1);
    estado_ = 3;
}

void TUnidadSimulada::VigilarDisparo(double hasta)
{
    if (hasta < tEvaluado_)
        return;
    // Watching a fast trigger over a long stretch is thinned out so that a large
    // jump of the clock costs a bounded amount of work; the waveforms are slow.
    double paso = prog_.periodoUs;
    constexpr double MaxEvaluaciones = 20000.0;
    if ((hasta - tEvaluado_) / paso > MaxEvaluaciones)
        paso = (hasta - tEvaluado_) / MaxEvaluaciones;
    const bool digital = prog_.canal < 2;
    while (tEvaluado_ <= hasta) {
        const double t = tEvaluado_;
        const int v = ValorDisparo(t);
        if (hayPrevio_) {
            bool sube, baja;
            if (digital) {
                sube = previo_ == 0 && v == 1;
                baja = previo_ == 1 && v == 0;
            } else {
                sube = previo_ < prog_.nivel && v >= prog_.nivel;
                baja = previo_ > prog_.nivel && v <= prog_.nivel;
            }
            const bool dispara = prog_.flanco == 1 ? sube : prog_.flanco == 0 ? baja : (sube || baja);
            if (dispara) {
                Empezar(t);
                return;
            }
        }
        previo_ = v;
        hayPrevio_ = true;
        tEvaluado_ += paso;
    }
}

void TUnidadSimulada::Avanzar(std::int64_t ahoraUs)
{
    if (ahoraUs < ahoraReal_)
        ahoraUs = ahoraReal_;
    ahoraReal_ = ahoraUs;
    const double t = TiempoUnidad(ahoraUs);
    if (estado_ == 1) {
        if (prog_.disparo)
            VigilarDisparo(t);
        else if (t >= tProgramado_ + prog_.retardoUs)
            Empezar(tProgramado_ + prog_.retardoUs);
    }
    if (estado_ == 2) {
        while (tomadas_ < prog_.n && tInicio_ + tomadas_ * prog_.periodoUs <= t)
            TomarMuestra(tomadas_);
        if (tomadas_ >= prog_.n)
            Terminar();
    }
}

// ---- the circuit between analog output 1 and analog input 2 ----

void TUnidadSimulada::PonerCircuito(std::unique_ptr<TCircuito> circuito)
{
    circuito_ = std::move(circuito);
    if (circuito_) {
        circuito_->PonerUnidadTiempo(1e-6);
        AvanzarCircuito(TiempoUnidad(ahoraReal_));
    }
}

void TUnidadSimulada::AvanzarCircuito(double t) const
{
    if (!circuito_)
        return;
    constexpr int w = 2; // output group of analog output 1
    const auto valor = [this](double ti) { return SalidaAhora(w, ti) / CuentasPorVoltio; };
    // During a capture the output changes at every sample instant; otherwise only
    // through a command, before which the circuit is brought up to date.
    const auto cambio = [this](double ti) {
        if (estado_ != 2 || !prog_.salida[w])
            return std::numeric_limits<double>::infinity();
        const double k = std::floor((ti - tInicio_) / prog_.periodoUs + 1e-6);
        return k + 1 >= prog_.n ? std::numeric_limits<double>::infinity() : tInicio_ + (k + 1) * prog_.periodoUs;
    };
    circuito_->Avanzar(t, valor, cambio);
}

} // namespace qv
