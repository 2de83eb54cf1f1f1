// Number readers and writers and the record field reader, on arbitrary bytes: the
// readers agree with each other, every text a writer makes reads back, and the field
// reader always moves forward within the data.
#include "fuzz_comun.h"
#include "model/errores.h"
#include "model/formatos.h"
#include "model/lector_campos.h"

#include <QList>

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace qv;
using fuzz::Comprobar;

namespace {

void Lectores(QByteArrayView t)
{
    const auto real = LeerReal(t);
    const auto entero = LeerEntero(t);
    if (real) {
        Comprobar(std::isfinite(*real));
        // The prefix reader takes a whole number the same way.
        const auto inicio = LeerRealInicio(t);
        Comprobar(inicio && (*inicio == *real || (std::isnan(*inicio) && std::isnan(*real))));
        Comprobar(RealOError(t) == *real);
    } else {
        bool lanzo = false;
        try {
            RealOError(t);
        } catch (const EErrorFormato&) {
            lanzo = true;
        }
        Comprobar(lanzo);
    }
    if (entero) {
        // Every integer is a real too, and the same number of it.
        Comprobar(real && *real == static_cast<double>(*entero));
        const auto inicio = LeerEnteroInicio(t);
        Comprobar(inicio && *inicio == *entero);
        Comprobar(LeerEntero(QByteArrayView(QByteArray::number(*entero))) == entero);
    }
}

void Escritores(double v)
{
    if (!std::isfinite(v)) {
        Comprobar(!LeerReal(FormatoGeneral(v)).has_value());
        return;
    }
    // 17 significant digits are exact.
    const auto exacto = LeerReal(FormatoGeneral(v, 17));
    Comprobar(exacto && *exacto == v);
    const QString cientifico = FormatoCientifico(v);
    Comprobar(cientifico.size() == 23);
    const auto c = LeerReal(cientifico);
    Comprobar(c && std::abs(*c - v) <= std::abs(v) * 1e-14);
    for (int decimales : {0, 4, 17}) {
        const auto f = LeerReal(FormatoFijo(v, decimales));
        Comprobar(f && std::abs(*f - v) <= 0.5 * std::pow(10.0, -decimales) + std::abs(v) * 1e-15);
    }
    Comprobar(LeerReal(FormatoExportacion(v)).has_value());
    Comprobar(LeerReal(FormatoGeneral4(v)).has_value());
    Comprobar(LeerReal(FormatoGeneral(v)).has_value());
}

void Campos(const QByteArray& datos, std::uint8_t control)
{
    TLectorCampos lector(datos);
    qsizetype antes = 0;
    for (int paso = 0; paso < 4096 && !lector.Fin(); ++paso) {
        const char sep1 = char(datos.at(paso % datos.size()));
        const char sep2 = (control & 1) ? '$' : ' ';
        try {
            switch ((control + paso) % 9) {
            case 0:
                Comprobar(lector.LeerCampo(sep1, sep2).size() <= TLectorCampos::MaxCampo);
                break;
            case 1:
                lector.LeerHasta(sep1);
                break;
            case 2:
                lector.LeerLinea();
                break;
            case 3:
                lector.LeerCampoReal(sep1, sep2);
                break;
            case 4:
                lector.LeerCampoEntero(sep1, sep2);
                break;
            case 5:
                lector.LeerLineaReal();
                break;
            case 6:
                lector.LeerLineaEntero();
                break;
            case 7:
                lector.SaltarResto();
                break;
            default:
                lector.LeerCampoTexto(sep2, sep1);
                break;
            }
        } catch (const EErrorFormato&) {
        }
        Comprobar(lector.Posicion() >= antes && lector.Posicion() <= datos.size());
        antes = lector.Posicion();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    const QByteArray texto(reinterpret_cast<const char*>(datos), qsizetype(n));
    Lectores(texto);
    // Each line on its own too, as the record readers see them.
    for (const QByteArray& l : texto.split('\n'))
        Lectores(l);
    if (n >= 8) {
        double v;
        std::memcpy(&v, datos, sizeof v);
        Escritores(v);
    }
    if (const auto v = LeerRealInicio(texto))
        Escritores(*v);
    if (n > 0)
        Campos(texto, datos[0]);
    return 0;
}
