// The relay's handling of what its peers send: line framing, command joining and the
// command check as the relay drives them (the client holding the unit or not, turn by
// turn), the discovery answer, and the cleaning of peer text, on arbitrary bytes.
#include "fuzz_comun.h"
#include "entrada_cliente.h"
#include "lang/texto_limpio.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace qv;
using fuzz::Comprobar;

namespace {

constexpr char Xon = 0x11;
constexpr char Xoff = 0x13;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t n)
{
    if (n < 2)
        return 0;
    // The first two bytes choose the bounds, how the input is cut into reads and
    // when the client holds the unit; small bounds so that they are reached.
    const unsigned c0 = datos[0], c1 = datos[1];
    const qsizetype maxLinea = 1 + (c0 & 63);
    const qsizetype maxComando = 1 + ((c0 >> 6) * 40) + (c1 & 15);
    const qsizetype trozo = 1 + (c1 >> 4) * 7;
    const QByteArrayView entrada(reinterpret_cast<const char*>(datos + 2), qsizetype(n - 2));

    TEntradaCliente e(maxLinea, maxComando);
    unsigned turno = c1;
    bool fuera = false;
    for (qsizetype desde = 0; desde < entrada.size() && !fuera; desde += trozo) {
        const QByteArrayView pieza = entrada.sliced(desde, std::min(trozo, entrada.size() - desde));
        const bool sigue = e.Lineas(pieza, [&](QByteArrayView linea) {
            Comprobar(linea.size() <= maxLinea && !linea.contains('\n'));
            turno = turno * 1103515245u + 12345u;
            if ((turno >> 16) & 1) {
                const qsizetype almohadillas = linea.count('#');
                Comprobar(e.Ignorar(linea) == almohadillas);
                return true;
            }
            return e.Unir(linea, [&](const QByteArray& comando) {
                // Empty: a command whose start was dropped. Otherwise whole, ended by
                // its only "#", without flow-control bytes, within the bound.
                if (comando.isEmpty())
                    return true;
                Comprobar(comando.endsWith('#') && comando.count('#') == 1);
                Comprobar(!comando.contains(Xon) && !comando.contains(Xoff));
                Comprobar(comando.size() <= maxComando + 1);
                if (ComandoValido(comando)) {
                    const auto b = static_cast<unsigned char>(comando[0]);
                    Comprobar(b >= '1' && b <= '9');
                    for (char ch : comando)
                        Comprobar(static_cast<unsigned char>(ch) >= 0x20 && static_cast<unsigned char>(ch) < 0x7F);
                }
                return true;
            });
        });
        if (!sigue)
            fuera = true; // the relay drops the client here
        Comprobar(e.Retenidos() <= maxLinea + maxComando + 1);
    }

    // Discovery: only the request is answered.
    const auto r = RespuestaDescubrimiento(entrada.first(std::min<qsizetype>(entrada.size(), 512)),
                                           QStringLiteral("aula"), QStringLiteral("10.0.0.1"));
    if (r)
        Comprobar(entrada.first(std::min<qsizetype>(entrada.size(), 512)).trimmed() == QByteArrayView("QVSAD?"));

    // Peer text as every consumer shows it.
    const qsizetype maximo = c0 % 200;
    const QString limpio = TextoLimpio(entrada, maximo);
    Comprobar(limpio.size() <= std::max<qsizetype>(maximo, 3));
    for (QChar ch : limpio)
        Comprobar(ch.unicode() >= 0x20 && !(ch.unicode() >= 0x7F && ch.unicode() <= 0x9F));
    // As UTF-8 and as UTF-32 (which reaches every plane at once): nothing invisible
    // or meaningless comes out, whole characters only, and clean text stays as it is.
    std::vector<char32_t> puntosEntrada(size_t(entrada.size() / 4));
    if (!puntosEntrada.empty()) // aligned copy
        std::memcpy(puntosEntrada.data(), entrada.data(), puntosEntrada.size() * 4);
    const QString utf32 = QString::fromUcs4(puntosEntrada.data(), qsizetype(puntosEntrada.size()));
    for (const QString& texto : {QString::fromUtf8(entrada), utf32}) {
        const QString deNuevo = TextoLimpio(texto, maximo);
        Comprobar(deNuevo.size() <= std::max<qsizetype>(maximo, 3));
        Comprobar(TextoLimpio(deNuevo, maximo) == deNuevo);
        const QList<uint> puntos = deNuevo.toUcs4();
        for (uint u : puntos) {
            const QChar::Category c = QChar::category(char32_t(u));
            Comprobar(u >= 0x20 && !(u >= 0x7F && u <= 0x9F) && c != QChar::Other_Format
                      && c != QChar::Other_PrivateUse && c != QChar::Other_NotAssigned
                      && c != QChar::Other_Surrogate && c != QChar::Other_Control);
        }
    }
    return 0;
}
