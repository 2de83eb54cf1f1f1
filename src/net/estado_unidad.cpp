#include "net/estado_unidad.h"

#include "lang/textos.h"
#include "link/servicio_sad.h"

namespace qv {

namespace {
constexpr int kTextoProgramada = 128;
constexpr int kTextoEnCurso = 129;
constexpr int kTextoConDatos = 216;
constexpr int kTextoNada = 217;
constexpr int kTextoOcupadoPor = 269;
constexpr int kTextoEstado = 270;
constexpr int kTextoVersion = 271;
constexpr int kTextoMemoria = 272;
constexpr int kTextoPCSAD = 48008;    // "   PC - SAD: "
constexpr int kTextoSinEstado = 48009; // "No se ha podido leer su estado"
constexpr int kTextoBytes = 48010;    // " bytes"
} // namespace

int TextoEstadoUnidad(int estado)
{
    switch (estado) {
    case 0: return kTextoNada;
    case 1: return kTextoProgramada;
    case 2: return kTextoEnCurso;
    case 3: return kTextoConDatos;
    default: return 0;
    }
}

QString LineaEstado(bool leido, int estado, TTextos& textos)
{
    const int clave = leido ? TextoEstadoUnidad(estado) : 0;
    return textos.BuscarTexto(kTextoEstado) + textos.BuscarTexto(clave > 0 ? clave : kTextoSinEstado);
}

QString LineaOcupadoPor(const TInfoSAD& enlace, TTextos& textos)
{
    return textos.BuscarTexto(kTextoOcupadoPor) + enlace.PCPropietario;
}

QString LineaVersion(const TInfoSAD& enlace, TTextos& textos)
{
    return textos.BuscarTexto(kTextoVersion) + enlace.Version;
}

QString LineaMemoria(const TInfoSAD& enlace, TTextos& textos)
{
    return textos.BuscarTexto(kTextoMemoria) + QString::number(enlace.Memoria) + textos.BuscarTexto(kTextoBytes);
}

QString LineaServidor(const TInfoSAD& enlace, TTextos& textos)
{
    return textos.BuscarTexto(kTextoPCSAD) + enlace.Servidor;
}

} // namespace qv
