#include "entrada_cliente.h"

namespace qv {

namespace {

constexpr char Xon = 0x11;
constexpr char Xoff = 0x13;

bool Control(char c)
{
    return c == Xon || c == Xoff;
}

} // namespace

bool TieneContenido(QByteArrayView linea)
{
    for (char c : linea)
        if (!Control(c))
            return true;
    return false;
}

bool TEntradaCliente::Lineas(QByteArrayView datos, const std::function<bool(QByteArrayView)>& linea)
{
    qsizetype desde = 0;
    while (desde < datos.size()) {
        const qsizetype lf = datos.indexOf('\n', desde);
        const qsizetype fin = lf < 0 ? datos.size() : lf;
        const QByteArrayView trozo = datos.sliced(desde, fin - desde);
        // The bound counts the CR of a CR LF end too, as it always has.
        if (linea_.size() + trozo.size() > maxLinea_) {
            linea_.clear();
            return false;
        }
        if (lf < 0) {
            linea_.append(trozo);
            return true;
        }
        desde = lf + 1;
        // A line that came whole in this piece is looked at where it lies.
        QByteArrayView l = trozo;
        if (!linea_.isEmpty()) {
            linea_.append(trozo);
            l = linea_;
        }
        if (l.endsWith('\r'))
            l.chop(1);
        const bool sigue = linea(l);
        linea_.clear();
        if (!sigue)
            return false;
    }
    return true;
}

bool TEntradaCliente::Unir(QByteArrayView linea, const std::function<bool(const QByteArray&)>& comando)
{
    for (const char ch : linea) {
        if (Control(ch))
            continue;
        if (descartando_) {
            if (ch == '#') {
                descartando_ = false;
                if (!comando(QByteArray()))
                    return false;
            }
            continue;
        }
        comando_ += ch;
        if (ch == '#') {
            QByteArray c;
            c.swap(comando_);
            if (!comando(c))
                return false;
        } else if (comando_.size() > maxComando_) {
            comando_.clear();
            return false;
        }
    }
    return true;
}

int TEntradaCliente::Ignorar(QByteArrayView linea)
{
    if (!comando_.isEmpty()) {
        comando_.clear();
        descartando_ = true;
    }
    int completos = 0;
    for (const char ch : linea) {
        if (Control(ch))
            continue;
        if (ch == '#') {
            ++completos;
            descartando_ = false;
        } else {
            descartando_ = true;
        }
    }
    return completos;
}

bool ComandoValido(QByteArrayView comando)
{
    if (comando.size() < 2 || comando.back() != '#')
        return false;
    int numero = 0;
    qsizetype i = 0;
    while (i < comando.size() && comando[i] >= '0' && comando[i] <= '9') {
        numero = numero * 10 + (comando[i] - '0');
        if (++i > 2)
            return false;
    }
    if (i == 0 || comando[0] == '0')
        return false;
    if (!((numero >= 1 && numero <= 10) || numero == 12 || numero == 13))
        return false;
    if (comando[i] != '#' && comando[i] != ',')
        return false;
    for (qsizetype j = i; j < comando.size() - 1; ++j) {
        const auto b = static_cast<unsigned char>(comando[j]);
        if (b < 0x20 || b > 0x7E || b == '#')
            return false;
    }
    return true;
}

std::optional<QByteArray> RespuestaDescubrimiento(QByteArrayView datagrama, const QString& equipo,
                                                  const QString& titular)
{
    if (datagrama.trimmed() != QByteArrayView("QVSAD?"))
        return std::nullopt;
    return "QVSAD " + equipo.toLatin1() + " " + titular.toLatin1();
}

} // namespace qv
