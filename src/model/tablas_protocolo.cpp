#include "model/tablas_protocolo.h"

#include <algorithm>
#include <cmath>

namespace qv {

std::vector<std::uint8_t> TablaUart(const QByteArray& datos, const TTramaUart& trama, double periodo, int reposo)
{
    std::vector<std::uint8_t> r;
    if (!(periodo > 0) || !(trama.Baudios > 0))
        return r;
    const int bitsDatos = std::clamp(trama.BitsDatos, 5, 9);
    const int parada = std::clamp(trama.BitsParada, 1, 2);
    const bool paridad = trama.Paridad == 'o' || trama.Paridad == 'e';
    // The bits on the line, one per bit time.
    std::vector<std::uint8_t> bits(std::size_t(std::max(0, reposo)), 1);
    for (const char c : datos) {
        const unsigned byte = static_cast<unsigned char>(c);
        bits.push_back(0);
        int unos = 0;
        for (int b = 0; b < bitsDatos; ++b) {
            const std::uint8_t v = (byte >> b) & 1u;
            unos += v;
            bits.push_back(v);
        }
        if (paridad)
            bits.push_back(std::uint8_t(trama.Paridad == 'e' ? unos % 2 : 1 - unos % 2));
        bits.insert(bits.end(), std::size_t(parada), 1);
    }
    bits.insert(bits.end(), std::size_t(std::max(0, reposo)), 1);
    // Each sample takes the bit its instant falls in; the small bias keeps an instant
    // that lands on an edge from rounding to the bit before.
    const double muestrasPorBit = 1.0 / (trama.Baudios * periodo);
    const auto n = std::size_t(std::ceil(double(bits.size()) * muestrasPorBit - 1e-9));
    r.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto bit = std::min(bits.size() - 1, std::size_t(std::floor(double(i) / muestrasPorBit + 1e-9)));
        r[i] = bits[bit];
    }
    return r;
}

TTablasI2C TablaI2CEscritura(int direccion, const QByteArray& datos, double frecuenciaReloj, double periodo)
{
    TTablasI2C t;
    if (!(periodo > 0) || !(frecuenciaReloj > 0))
        return t;
    const int cuarto = std::max(1, int(std::lround(1.0 / (4 * frecuenciaReloj * periodo))));
    const auto poner = [&](int scl, int sda, int cuartos) {
        t.Scl.insert(t.Scl.end(), std::size_t(cuarto * cuartos), std::uint8_t(scl));
        t.Sda.insert(t.Sda.end(), std::size_t(cuarto * cuartos), std::uint8_t(sda));
    };
    const auto bit = [&](int v) {
        poner(0, v, 1);
        poner(1, v, 2);
        poner(0, v, 1);
    };
    const auto byte = [&](unsigned b) {
        for (int k = 7; k >= 0; --k)
            bit(int((b >> k) & 1u));
        bit(0); // acknowledge
    };
    poner(1, 1, 8);
    poner(1, 0, 2); // START: SDA falls while SCL is high
    poner(0, 0, 1);
    byte(unsigned((direccion & 0x7F) << 1));
    for (const char c : datos)
        byte(static_cast<unsigned char>(c));
    poner(0, 0, 1);
    poner(1, 0, 2);
    poner(1, 1, 8); // STOP: SDA rises while SCL is high
    return t;
}

QByteArray TextoTablaDigital(const std::vector<std::uint8_t>& valores)
{
    QByteArray s = QByteArray::number(qsizetype(valores.size())) + "\r\n";
    s.reserve(s.size() + qsizetype(valores.size()) * 3);
    for (std::uint8_t v : valores)
        s += v ? "1\r\n" : "0\r\n";
    return s;
}

int MuestrasDeTiempos(double periodoMs, double analisisMs)
{
    if (!(periodoMs > 0) || !(analisisMs > 0))
        return 0;
    const double r = analisisMs / periodoMs;
    int n = int(std::trunc(r));
    if (r - n > 0.999998)
        ++n;
    return n != 0 ? n + 1 : 0;
}

void CompletarTabla(std::vector<std::uint8_t>& valores, int n)
{
    if (!valores.empty() && int(valores.size()) < n)
        valores.resize(std::size_t(n), valores.back());
}

TConfigES ConfiguracionTablas(TTextos& textos, const std::vector<TSalidaTabla>& salidas, int periodoUs, int muestras)
{
    TConfigES c;
    c.UnidadPeriodo = Unidad::Micro;
    c.Periodo = std::max(1, periodoUs);
    c.UnidadAnalisis = Unidad::Mili;
    c.TiempoAnalisis = std::max(1.0, std::ceil(double(muestras) * c.Periodo / 1000.0));
    c.NumMuestras = MuestrasDeTiempos(c.Periodo / 1000.0, c.TiempoAnalisis);
    for (const TSalidaTabla& s : salidas) {
        if (s.Numero < 1 || s.Numero > TConfigES::NumSalDig)
            continue;
        TSalDig& salida = c.SalDig(s.Numero);
        salida.Activo = true;
        if (!s.NombreSalida.isEmpty())
            salida.Nombre = s.NombreSalida;
        salida.Generador = std::make_unique<TGenTablaDig>(textos, s.Fichero, PalabraUnidad(textos, Unidad::Micro), 0.0f);
        TEntDig& entrada = c.EntDig(s.Numero);
        entrada.Activo = true;
        if (!s.NombreEntrada.isEmpty())
            entrada.Nombre = s.NombreEntrada;
    }
    return c;
}

} // namespace qv
