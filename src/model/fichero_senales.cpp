#include "model/fichero_senales.h"

#include "lang/textos.h"
#include "model/config_es.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/formatos.h"
#include "model/generadores.h"
#include "model/lector_campos.h"
#include "model/operaciones.h"
#include "model/senales.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace qv {

namespace {

const QByteArray Comienza = QByteArray("ComienzaSe\xF1" "al");
const QByteArray FinSenal = QByteArray("FinSe\xF1" "al");
const char* const Fin = "\r\n";

void Real(QByteArray& s, double v)
{
    AnadirCientifico(s, v);
    s += Fin;
}

void Linea(QByteArray& s, const QByteArray& texto)
{
    s += texto;
    s += Fin;
}

// A comment or name line must stay one line of the file.
QByteArray UnaLinea(const QString& texto)
{
    QByteArray b = texto.toLatin1();
    b.replace('\r', ' ');
    b.replace('\n', ' ');
    return b;
}

QByteArray LineaOperacion(const TOperacion* op) { return op ? RegistroOperacion(*op) : QByteArray("nil"); }

template <class G>
QByteArray LineaGenerador(const G* gen, int canal, TTextos& textos)
{
    if (!gen)
        return "nil";
    return QByteArray::number(canal) + ' ' + gen->Escribir(textos).toLatin1() + '$';
}

void Cabecera(QByteArray& s, const TSenal& senal, bool analogica)
{
    Linea(s, Comienza);
    Linea(s, analogica ? "Ana" : "Dig");
    Linea(s, UnaLinea(senal.Nombre()));
    Real(s, senal.Periodo());
    Linea(s, QByteArray::number(senal.NumMuestras()));
}

// --- reading

// A value no float holds is malformed. The test is on the converted value: the largest
// floats are written with 15 digits that round just above them, and must read back.
float AFloat(double v)
{
    const float f = float(v);
    if (!std::isfinite(f))
        throw EErrorFormato(QStringLiteral("Valor fuera del rango de una muestra"));
    return f;
}

int AEntero(qint64 v)
{
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw EErrorFormato(QStringLiteral("Entero fuera de rango"));
    return int(v);
}

struct TLineasComunes {
    int canalGenerador = 0;
    std::unique_ptr<TGenAnalogico> genAna;
    std::unique_ptr<TGenDigital> genDig;
    std::unique_ptr<TOperacion> operacion;
    bool calculada = false;
};

// Generator line, operation line and the Calculada line of a block.
TLineasComunes LeerLineasComunes(TLectorCampos& l, bool analogica, TTextos& textos)
{
    TLineasComunes r;
    {
        TLectorCampos g(l.LeerLinea());
        const QByteArray primero = g.LeerCampo().left(analogica ? 20 : 14);
        if (primero != "nil") {
            r.canalGenerador = AEntero(EnteroOError(primero));
            const QByteArray tipo = g.LeerCampo();
            if (analogica) {
                r.genAna = LeerGenAnalogico(textos, tipo, g);
                if (!r.genAna)
                    throw EErrorModelo(textos.BuscarTexto(122), 122);
                ComprobarGenerador(*r.genAna);
            } else {
                r.genDig = LeerGenDigital(textos, tipo, g);
                if (!r.genDig)
                    throw EErrorModelo(textos.BuscarTexto(123), 123);
                ComprobarGenerador(*r.genDig);
            }
        }
    }
    {
        TLectorCampos o(l.LeerLinea());
        if (o.LeerCampo() != "nil") {
            o.PonerPosicion(0);
            r.operacion = std::make_unique<TOperacion>(LeerRegistroOperacion(o, analogica));
        }
    }
    r.calculada = l.LeerLinea() == "true";
    return r;
}

// The rest of a block after its kind and name lines.
std::unique_ptr<TSenalAna> LeerBloqueAna(TLectorCampos& l, const QString& nombre, TTextos& textos)
{
    const double periodo = l.LeerLineaReal();
    const auto n = std::uint16_t(std::uint64_t(l.LeerLineaEntero()) & 0xFFFF);
    TLineasComunes c = LeerLineasComunes(l, true, textos);
    auto s = std::make_unique<TSenalAna>(textos, nombre, c.calculada, c.operacion.get(), c.genAna.get(),
                                         c.canalGenerador, periodo, n);
    s->PonerCalculada(c.calculada);
    if (!c.calculada && !c.genAna && !c.operacion) {
        s->Canal = AEntero(l.LeerLineaEntero());
        const float fondo = AFloat(l.LeerLineaReal());
        const float factor = AFloat(l.LeerLineaReal());
        s->PonerDatosSenal(l.LeerLineaTexto(), fondo, factor);
    }
    for (int i = 0; i < n; ++i)
        s->PonerMuestra(i, AFloat(l.LeerLineaReal()));
    return s;
}

std::unique_ptr<TSenalDig> LeerBloqueDig(TLectorCampos& l, const QString& nombre, TTextos& textos)
{
    const double periodo = l.LeerLineaReal();
    const auto n = std::uint16_t(std::uint64_t(l.LeerLineaEntero()) & 0xFFFF);
    TLineasComunes c = LeerLineasComunes(l, false, textos);
    auto s = std::make_unique<TSenalDig>(nombre, c.calculada, c.operacion.get(), c.genDig.get(),
                                         c.canalGenerador, periodo, n);
    s->PonerCalculada(c.calculada);
    if (!c.calculada && !c.genDig && !c.operacion)
        s->Canal = AEntero(l.LeerLineaEntero());
    for (int i = 0; i < n; ++i)
        s->PonerMuestra(i, std::uint8_t(std::uint64_t(l.LeerLineaEntero()) & 0xFF));
    return s;
}

// The window notes go after the comment, where every reader of signal files has
// stopped: "Notas:", their count, then one line each,
//   Nota Ana|Dig X Y EJE$TEXT
// (EJE empty for a time plot). No line of them is a bare keyword that the readers look
// for ("ComienzaSeñal", "Ana", "Dig"), so a reader that searches the file for a signal
// walks past them too.
const QByteArray CabeceraNotas("Notas:");

void EscribirAnotaciones(const std::vector<TAnotacion>& notas, QByteArray& s)
{
    if (notas.empty())
        return;
    Linea(s, CabeceraNotas);
    Linea(s, QByteArray::number(qsizetype(notas.size())));
    for (const TAnotacion& a : notas) {
        s += a.Digital ? "Nota Dig " : "Nota Ana ";
        AnadirCientifico(s, a.X);
        s += ' ';
        AnadirCientifico(s, a.Y);
        s += ' ';
        s += UnaLinea(a.EjeX);
        s += '$';
        Linea(s, UnaLinea(a.Texto));
    }
}

// Notes are an extra: a missing or damaged one is left out, never the signals.
std::vector<TAnotacion> LeerAnotaciones(TLectorCampos& l)
{
    std::vector<TAnotacion> notas;
    if (l.Fin() || l.LeerLinea() != CabeceraNotas || l.Fin())
        return notas;
    qint64 n = 0;
    try {
        n = l.LeerLineaEntero();
    } catch (const EErrorFormato&) {
        return notas;
    }
    for (qint64 i = 0; i < n && !l.Fin(); ++i) {
        TLectorCampos c(l.LeerLinea());
        if (c.LeerCampo() != "Nota")
            continue;
        const QByteArray tipo = c.LeerCampo();
        TAnotacion a;
        a.Digital = tipo == "Dig";
        try {
            a.X = float(c.LeerCampoReal());
            a.Y = float(c.LeerCampoReal());
        } catch (const EErrorFormato&) {
            continue;
        }
        a.EjeX = QString::fromLatin1(c.LeerHasta('$')).trimmed();
        a.Texto = QString::fromLatin1(c.LeerLinea());
        if ((tipo == "Ana" || tipo == "Dig") && std::isfinite(a.X) && std::isfinite(a.Y) && !a.Texto.isEmpty())
            notas.push_back(a);
    }
    return notas;
}

// Curve fits go after the notes, in a block of their own that every older reader has
// stopped before: "Ajustes:", their count, then one line each,
//   Ajuste MODELO DESDE HASTA R2 RMS N NOMBRE VALOR ERROR ...$SEÑAL$DATOS$EXPRESIÓN
// (N parameters; EXPRESIÓN empty for a built-in model). The fitted signal itself is an
// ordinary calculated signal block, which any reader takes as it is.
const QByteArray CabeceraAjustes("Ajustes:");

void EscribirAjustes(const TCjtSenales& senales, QByteArray& s)
{
    std::vector<const TRegistroAjuste*> vivos;
    for (const TRegistroAjuste& g : senales.Ajustes)
        if (senales.BuscarAna(g.Senal))
            vivos.push_back(&g);
    if (vivos.empty())
        return;
    Linea(s, CabeceraAjustes);
    Linea(s, QByteArray::number(qsizetype(vivos.size())));
    for (const TRegistroAjuste* g : vivos) {
        s += "Ajuste ";
        s += UnaLinea(g->Modelo);
        s += ' ' + QByteArray::number(g->Desde) + ' ' + QByteArray::number(g->Hasta) + ' ';
        AnadirCientifico(s, g->R2);
        s += ' ';
        AnadirCientifico(s, g->Rms);
        s += ' ' + QByteArray::number(qsizetype(g->Parametros.size()));
        for (const TParametroAjuste& p : g->Parametros) {
            s += ' ' + UnaLinea(p.Nombre) + ' ';
            AnadirCientifico(s, p.Valor);
            s += ' ';
            AnadirCientifico(s, p.Error);
        }
        s += '$' + UnaLinea(g->Senal) + '$' + UnaLinea(g->Datos) + '$';
        Linea(s, UnaLinea(g->Expresion));
    }
}

// Like the notes, a fit record is an extra: a damaged one is left out, never a signal.
std::vector<TRegistroAjuste> LeerAjustes(TLectorCampos& l, const TCjtSenales& senales)
{
    std::vector<TRegistroAjuste> ajustes;
    while (!l.Fin() && l.LeerLinea() != CabeceraAjustes) {
    }
    if (l.Fin())
        return ajustes;
    qint64 n = 0;
    try {
        n = l.LeerLineaEntero();
    } catch (const EErrorFormato&) {
        return ajustes;
    }
    for (qint64 i = 0; i < n && !l.Fin(); ++i) {
        TLectorCampos c(l.LeerLinea());
        if (c.LeerCampo() != "Ajuste")
            continue;
        TRegistroAjuste g;
        try {
            g.Modelo = QString::fromLatin1(c.LeerCampo());
            g.Desde = AEntero(c.LeerCampoEntero());
            g.Hasta = AEntero(c.LeerCampoEntero());
            g.R2 = c.LeerCampoReal();
            g.Rms = c.LeerCampoReal();
            const qint64 p = c.LeerCampoEntero(' ', '$');
            if (p < 0 || p > 64)
                continue;
            for (qint64 k = 0; k < p; ++k) {
                TParametroAjuste q;
                q.Nombre = QString::fromLatin1(c.LeerCampo());
                q.Valor = c.LeerCampoReal();
                q.Error = c.LeerCampoReal(' ', '$');
                g.Parametros.push_back(q);
            }
        } catch (const EErrorFormato&) {
            continue;
        }
        g.Senal = QString::fromLatin1(c.LeerHasta('$')).trimmed();
        g.Datos = QString::fromLatin1(c.LeerHasta('$')).trimmed();
        g.Expresion = QString::fromLatin1(c.LeerLinea()).trimmed();
        if (!g.Modelo.isEmpty() && senales.BuscarAna(g.Senal))
            ajustes.push_back(std::move(g));
    }
    return ajustes;
}

} // namespace

void AnadirCientifico(QByteArray& destino, double valor)
{
    if (!std::isfinite(valor)) {
        destino += FormatoCientifico(valor).toLatin1();
        return;
    }
    if (valor == 0) {
        destino += " 0.00000000000000E+0000";
        return;
    }
    // Correctly rounded to 15 significant digits, like printf's %.14E.
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::scientific, 14);
    const char* e = static_cast<const char*>(std::memchr(buf, 'e', std::size_t(r.ptr - buf)));
    char salida[24];
    salida[0] = valor < 0 ? '-' : ' ';
    std::memcpy(salida + 1, buf, 16); // d.dddddddddddddd
    salida[17] = 'E';
    salida[18] = e[1];
    const int cifras = int(r.ptr - (e + 2));
    char* p = salida + 19;
    for (int k = cifras; k < 4; ++k)
        *p++ = '0';
    std::memcpy(p, e + 2, std::size_t(cifras));
    destino.append(salida, 23);
}

void EscribirFichero(const TCjtSenales& senales, QByteArray& s)
{
    if (senales.Vacio())
        return;
    TTextos& textos = senales.Textos();
    // One allocation: 25 bytes per analog sample line, 3 per digital one.
    qsizetype tamano = s.size() + 4096;
    for (int i = 0; i < senales.NumAna(); ++i)
        tamano += 25 * qsizetype(senales.Ana(i)->NumMuestras()) + 512;
    for (int i = 0; i < senales.NumDig(); ++i)
        tamano += 3 * qsizetype(senales.Dig(i)->NumMuestras()) + 512;
    s.reserve(tamano);

    for (int i = 0; i < senales.NumAna(); ++i) {
        const TSenalAna& a = *senales.Ana(i);
        Cabecera(s, a, true);
        Linea(s, LineaGenerador(a.Generador(), a.Canal, textos));
        Linea(s, LineaOperacion(a.Operacion()));
        Linea(s, a.Calculada() ? "true" : "false");
        if (!a.Calculada() && !a.Generador() && !a.Operacion()) {
            Linea(s, QByteArray::number(a.Canal));
            Real(s, a.FondoEscala);
            Real(s, a.Factor);
            Linea(s, UnaLinea(a.Unidad));
        }
        for (float x : a.Muestras())
            Real(s, x);
    }
    for (int i = 0; i < senales.NumDig(); ++i) {
        const TSenalDig& d = *senales.Dig(i);
        Cabecera(s, d, false);
        Linea(s, LineaGenerador(d.Generador(), d.Canal, textos));
        Linea(s, LineaOperacion(d.Operacion()));
        Linea(s, d.Calculada() ? "true" : "false");
        if (!d.Calculada() && !d.Generador() && !d.Operacion())
            Linea(s, QByteArray::number(d.Canal));
        for (std::uint8_t x : d.Muestras())
            Linea(s, QByteArray::number(x));
    }
    Linea(s, FinSenal);
    Linea(s, "Comentario:");
    Linea(s, QByteArray::number(senales.Comentario.size()));
    for (const QString& c : senales.Comentario)
        Linea(s, UnaLinea(c));
    EscribirAnotaciones(senales.Anotaciones, s);
    EscribirAjustes(senales, s);
    EscribirDecodificaciones(senales.Decodificaciones, s);
}

void LeerFichero(TCjtSenales& senales, const QByteArray& datos)
{
    TTextos& textos = senales.Textos();
    TLectorCampos l(datos);
    QByteArray linea;
    for (;;) {
        if (l.Fin())
            return;
        linea = l.LeerLinea();
        if (linea == Comienza)
            break;
    }
    while (linea == Comienza) {
        const bool analogica = l.LeerLinea() == "Ana";
        const QString nombre = l.LeerLineaTexto();
        if (analogica)
            senales.AnadirAna(LeerBloqueAna(l, nombre, textos));
        else
            senales.AnadirDig(LeerBloqueDig(l, nombre, textos));
        linea = l.LeerLinea();
    }
    // The line that ended the blocks is "FinSeñal"; then "Comentario:", the count, the lines.
    l.SaltarLinea();
    const qint64 n = l.LeerLineaEntero();
    QStringList comentario;
    for (qint64 i = 0; i < n; ++i) {
        if (l.Fin())
            throw EErrorFormato(QStringLiteral("Faltan lineas del comentario"));
        comentario << l.LeerLineaTexto();
    }
    senales.Comentario = comentario;
    const qsizetype trasComentario = l.Posicion(); // the optional blocks after the comment
    senales.Anotaciones = LeerAnotaciones(l);
    l.PonerPosicion(trasComentario);
    senales.Ajustes = LeerAjustes(l, senales);
    senales.Decodificaciones = LeerDecodificaciones(datos, trasComentario);
}

bool LeerSenalDeDatos(TCjtSenales& senales, const QByteArray& datos, const QString& nombre,
                      const QString& nuevoNombre)
{
    TTextos& textos = senales.Textos();
    TLectorCampos l(datos);
    const QByteArray buscado = nombre.toLatin1();
    bool analogica = false;
    for (;;) {
        QByteArray linea;
        do {
            if (l.Fin())
                return false;
            linea = l.LeerLinea();
        } while (linea != "Ana" && linea != "Dig");
        analogica = linea == "Ana";
        if (l.LeerLinea() == buscado)
            break;
    }
    const QString nombreFinal = nuevoNombre != nombre ? nuevoNombre : nombre;
    if (analogica)
        senales.AnadirAna(LeerBloqueAna(l, nombreFinal, textos));
    else
        senales.AnadirDig(LeerBloqueDig(l, nombreFinal, textos));
    return true;
}

bool LeerSenalDeFichero(TCjtSenales& senales, const QString& ruta, const QString& nombre,
                        const QString& nuevoNombre)
{
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos))
        throw EErrorModelo(QStringLiteral("No se puede leer %1").arg(ruta));
    return LeerSenalDeDatos(senales, datos, nombre, nuevoNombre);
}

void GuardarFicheroSenales(const QString& ruta, TFicheroConfig& ficheroConfig, const TConfigES& config,
                           const TOperaciones& operaciones, const TCjtSenales& senales)
{
    QByteArray datos = ficheroConfig.Texto(config, operaciones);
    EscribirFichero(senales, datos);
    QString error;
    if (!EscribirSeguro(ruta, datos, &error))
        throw EErrorModelo(QStringLiteral("No se puede escribir %1: %2").arg(ruta, error));
}

bool AbrirFicheroSenales(const QString& ruta, TFicheroConfig& ficheroConfig, TConfigES& config,
                         TOperaciones& operaciones, TCjtSenales& senales)
{
    QByteArray datos;
    if (!LeerFicheroEntero(ruta, datos))
        throw EErrorModelo(QStringLiteral("No se puede leer %1").arg(ruta));
    const bool configLeida = ficheroConfig.LeerConfiguracionDatos(datos, config, operaciones);
    LeerFichero(senales, datos);
    return configLeida;
}

QStringList NombresSenales(const QByteArray& datos)
{
    // A block starts with its keyword, then its kind ("Ana" or "Dig"), then its name.
    TLectorCampos l(datos);
    QStringList nombres;
    while (!l.Fin()) {
        if (l.LeerLinea() != Comienza || l.Fin())
            continue;
        const QByteArray tipo = l.LeerLinea();
        if ((tipo != "Ana" && tipo != "Dig") || l.Fin())
            continue;
        const QString nombre = QString::fromLatin1(l.LeerLinea());
        if (!nombre.isEmpty() && !nombres.contains(nombre))
            nombres << nombre;
    }
    return nombres;
}

} // namespace qv
