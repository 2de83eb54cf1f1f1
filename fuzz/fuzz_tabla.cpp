// Table-file reader of both table generators on arbitrary bytes.
#include "fuzz_comun.h"
#include "model/errores.h"
#include "model/generadores.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    const QString ruta = fuzz::FicheroTemporal("tba", datos, n);
    const TContextoTablas contexto{textos, inter, QString()};

    TGenTablaAna ana(textos, ruta, QStringLiteral("segundos"), 0.f);
    ana.CargarTabla(1, contexto);
    if (ana.NumValores != int(ana.Valores.size()))
        __builtin_trap();
    // Values are used the way the output signals use them; a value no sample can
    // hold is refused there with EErrorCalculo, which the callers report.
    try {
        for (int i = 0; i < 4 && !ana.Valores.empty(); ++i) {
            ana.Valor(1.0 + i);
            ana.CodigoTabla(1.0 + i);
        }
    } catch (const EErrorCalculo&) {
    }

    TGenTablaDig dig(textos, ruta, QStringLiteral("segundos"), 0.f);
    dig.CargarTabla(1, contexto);
    if (dig.NumValores != int(dig.Valores.size()))
        __builtin_trap();
    for (int i = 0; i < 4 && !dig.Valores.empty(); ++i)
        dig.ValorTabla(1.0 + i);
    return 0;
}
