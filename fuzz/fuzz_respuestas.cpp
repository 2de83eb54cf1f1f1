// The link's reading of what a relay or a unit sends back: the greeting, the version
// and state replies, the progress poll and the sample read-back, fed from arbitrary
// bytes in arbitrary pieces on virtual time.
#include "fuzz_comun.h"
#include "link/com_capvis.h"
#include "lang/texto_limpio.h"
#include "link/reloj_falso.h"
#include "model/config_es.h"
#include "model/senales.h"

#include <cstdint>

using namespace qv;
using fuzz::Comprobar;

namespace {

// Hands out the input in pieces, one per receive; may also fail the way transports do.
class TPuertoFuzz : public TCOM {
public:
    TPuertoFuzz(test::TRelojFalso& reloj, QByteArray datos, qsizetype trozo, unsigned fallos)
        : reloj_(reloj), datos_(std::move(datos)), trozo_(trozo), fallos_(fallos)
    {
    }
    void Abrir() override {}
    void Cerrar() override {}
    void Configurar(const QString&) override {}
    void Enviar(const QByteArray&) override {}
    void Recibir(QByteArray& t) override
    {
        reloj_.ahora += 1;
        t.clear();
        if (pos_ >= datos_.size()) {
            if (fallos_ & 1)
                throw EComPort(QStringLiteral("closed"));
            if (fallos_ & 2)
                throw ESinUnidad(QStringLiteral("no unit"));
            return;
        }
        t = datos_.mid(pos_, trozo_);
        pos_ += trozo_;
    }
    bool Conectado() override { return true; }

private:
    test::TRelojFalso& reloj_;
    QByteArray datos_;
    qsizetype pos_ = 0;
    qsizetype trozo_;
    unsigned fallos_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    static fuzz::TTextosFuzz textos;
    static fuzz::TInteraccionMuda inter;
    if (n < 3)
        return 0;
    const unsigned control = datos[0];
    const unsigned grupos = datos[1] | (unsigned(datos[2]) << 8);
    const QByteArray resto(reinterpret_cast<const char*>(datos + 3), qsizetype(n - 3));

    test::TRelojFalso reloj;
    TComCapvis enlace(textos, inter, reloj, {});
    enlace.PonerPuerto(std::make_unique<TPuertoFuzz>(reloj, resto, 1 + (control >> 2) * 9, control & 3), true);
    enlace.PonerPCLocal(QStringLiteral("PC"));
    try {
        enlace.Conectar(QStringLiteral("aula"));
        Comprobar(enlace.Foto().PCPropietario.size() <= LargoTextoAjeno);
    } catch (const ENoHaySAD&) {
    }
    for (QChar c : enlace.Foto().PCPropietario + enlace.Foto().Version)
        Comprobar(c.unicode() >= 0x20 && !(c.unicode() >= 0x7F && c.unicode() <= 0x9F));
    Comprobar(enlace.Foto().Version.size() <= LargoTextoAjeno);

    int estado = -1;
    enlace.LeerEstado(estado);

    // The capture layout the replies are read against.
    TConfigES config;
    config.NumMuestras = 10;
    config.Periodo = 1;
    for (int i = 1; i <= 16; ++i)
        config.EntDig(i).Activo = (grupos >> (i % 2 ? 0 : 1)) & 1 && (grupos >> (2 + i % 3)) & 1;
    for (int i = 1; i <= 8; ++i)
        config.EntAna(i).Activo = (grupos >> (4 + i)) & 1;
    enlace.ActualizarGrupos(config);
    enlace.LeerMonitor();

    TCjtSenales senales(textos, inter);
    bool hay = false;
    int muestras = 0;
    if (enlace.LeerDatos(hay, muestras, senales, config) && hay && muestras > 0) {
        // Only a complete reply reaches the set: every signal holds every sample.
        for (int i = 0; i < senales.NumAna(); ++i)
            Comprobar(senales.Ana(i)->NumMuestras() == muestras);
        for (int i = 0; i < senales.NumDig(); ++i)
            Comprobar(senales.Dig(i)->NumMuestras() == muestras);
    }
    Comprobar(!enlace.LeerDatos(hay, muestras, senales, config) || muestras >= 0);
    return 0;
}
