#include "orden_decodificar.h"

#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/base_tiempos.h"
#include "model/config_es.h"
#include "model/decodificador.h"
#include "model/errores.h"
#include "model/escritura_segura.h"
#include "model/fichero_config.h"
#include "model/fichero_senales.h"
#include "model/formatos.h"
#include "model/operaciones.h"
#include "model/senales.h"
#include "model/tablas_protocolo.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace qv {

namespace {

constexpr int kTextoNoCargado = 101;
constexpr int kTextoNoExportado = 240;
constexpr int kTextoNoExiste = 287;

constexpr int Bien = 0, Fallo = 1, Uso = 2;

// The options of these commands, after the command word.
struct TArgs {
    QStringList posicionales;
    QString salida;
    bool csv = false;
    bool sobreescribir = false;
    QString decodificador;
    QStringList canales, opciones, apilados;
    std::vector<QStringList> opcionesApilado; // per --stack, its --stack-option values
    QString uart, i2c;
    QString baudios, bitsDatos, paridad, parada, reloj, periodo, carpetaTablas;
};

class TOrden {
public:
    TOrden(TTextos& t, TInteraccion& i, QString carpeta, std::FILE* salida, std::FILE* error)
        : textos_(t), interaccion_(i), carpeta_(std::move(carpeta)), salida_(salida), error_(error)
    {
    }

    int Ejecutar(const QStringList& args);

private:
    int Decodificar(const TArgs& a);
    int Decodificadores(const TArgs& a);
    int Configuracion(const TArgs& a);

    bool Leer(const QStringList& args, TArgs& a, QString& error);
    int ErrorUso(const QString& texto)
    {
        if (!texto.isEmpty())
            std::fprintf(error_, "%s\n", texto.toLocal8Bit().constData());
        std::fputs(UsoDecodificacion().toLocal8Bit().constData(), error_);
        return Uso;
    }
    int Error(const TFalloDecod& f, const QString& detalle = {})
    {
        QString t = TextoFallo(f, textos_);
        if (!detalle.isEmpty())
            t += QLatin1Char(' ') + detalle;
        std::fprintf(error_, "%s\n", t.toLocal8Bit().constData());
        return Fallo;
    }
    bool Escribir(const QString& ruta, const QByteArray& datos);
    bool Libre(const QString& ruta, bool sobreescribir);

    TTextos& textos_;
    TInteraccion& interaccion_;
    QString carpeta_;
    std::FILE* salida_;
    std::FILE* error_;
};

QString Nativo(const QString& ruta) { return QDir::toNativeSeparators(ruta); }

bool TOrden::Leer(const QStringList& args, TArgs& a, QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        auto valor = [&](QString& destino) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(o);
                return false;
            }
            destino = args[++i];
            return true;
        };
        auto lista = [&](QStringList& destino) {
            QString v;
            if (!valor(v))
                return false;
            destino << v;
            return true;
        };
        bool bien = true;
        if (o == QLatin1String("-o") || o == QLatin1String("--output"))
            bien = valor(a.salida);
        else if (o == QLatin1String("--csv"))
            a.csv = true;
        else if (o == QLatin1String("--overwrite"))
            a.sobreescribir = true;
        else if (o == QLatin1String("--decoder"))
            bien = valor(a.decodificador);
        else if (o == QLatin1String("--channels")) {
            QString v;
            bien = valor(v);
            for (const QString& c : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                a.canales << c.trimmed();
        } else if (o == QLatin1String("--option"))
            bien = lista(a.opciones);
        else if (o == QLatin1String("--stack")) {
            bien = lista(a.apilados);
            a.opcionesApilado.emplace_back();
        } else if (o == QLatin1String("--stack-option")) {
            if (a.opcionesApilado.empty()) {
                error = QStringLiteral("--stack-option goes after the --stack it belongs to");
                return false;
            }
            bien = lista(a.opcionesApilado.back());
        } else if (o == QLatin1String("--uart"))
            bien = valor(a.uart);
        else if (o == QLatin1String("--i2c"))
            bien = valor(a.i2c);
        else if (o == QLatin1String("--baud"))
            bien = valor(a.baudios);
        else if (o == QLatin1String("--data-bits"))
            bien = valor(a.bitsDatos);
        else if (o == QLatin1String("--parity"))
            bien = valor(a.paridad);
        else if (o == QLatin1String("--stop-bits"))
            bien = valor(a.parada);
        else if (o == QLatin1String("--clock"))
            bien = valor(a.reloj);
        else if (o == QLatin1String("--period-us"))
            bien = valor(a.periodo);
        else if (o == QLatin1String("--table-dir"))
            bien = valor(a.carpetaTablas);
        else if (o.startsWith(QLatin1Char('-')) && o.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(o);
            return false;
        } else
            a.posicionales << o;
        if (!bien)
            return false;
    }
    return true;
}

// "key=value" pairs.
bool Pares(const QStringList& textos, std::vector<TAjusteDecod>& destino, QString& error)
{
    for (const QString& t : textos) {
        const qsizetype igual = t.indexOf(QLatin1Char('='));
        if (igual <= 0) {
            error = QStringLiteral("%1 is not KEY=VALUE").arg(t);
            return false;
        }
        destino.push_back({t.left(igual).trimmed(), t.mid(igual + 1)});
    }
    return true;
}

bool TOrden::Escribir(const QString& ruta, const QByteArray& datos)
{
    if (ruta.isEmpty() || ruta == QLatin1String("-"))
        return std::fwrite(datos.constData(), 1, size_t(datos.size()), salida_) == size_t(datos.size())
               && std::fflush(salida_) == 0;
    if (!EscribirSeguro(ruta, datos)) {
        Error({DestinoReemplazable(ruta) ? kTextoNoExportado : kTextoNoEsFichero, {}}, Nativo(ruta));
        return false;
    }
    return true;
}

bool TOrden::Libre(const QString& ruta, bool sobreescribir)
{
    if (!DestinoReemplazable(ruta)) {
        Error({kTextoNoEsFichero, {}}, Nativo(ruta));
        return false;
    }
    if (QFileInfo::exists(ruta) && !sobreescribir) {
        std::fprintf(error_, "%s exists; add --overwrite to replace it\n", Nativo(ruta).toLocal8Bit().constData());
        return false;
    }
    return true;
}

int TOrden::Ejecutar(const QStringList& args)
{
    TArgs a;
    QString error;
    if (!Leer(args.mid(1), a, error))
        return ErrorUso(error);
    const QString orden = args.value(0);
    if (orden == QLatin1String("decode"))
        return Decodificar(a);
    if (orden == QLatin1String("decoders"))
        return Decodificadores(a);
    return Configuracion(a);
}

// ---- decode ---------------------------------------------------------------------------

int TOrden::Decodificar(const TArgs& a)
{
    if (a.posicionales.size() != 1)
        return ErrorUso(QStringLiteral("decode takes one signal file"));
    if (a.decodificador.isEmpty() && (!a.canales.isEmpty() || !a.opciones.isEmpty() || !a.apilados.isEmpty()))
        return ErrorUso(QStringLiteral("--channels, --option and --stack go with --decoder"));
    TDecodificacion pedida;
    if (!a.decodificador.isEmpty()) {
        pedida.Decodificador = a.decodificador;
        QString error;
        if (!Pares(a.canales, pedida.Canales, error) || !Pares(a.opciones, pedida.Opciones, error))
            return ErrorUso(error);
        if (pedida.Canales.empty())
            return ErrorUso(QStringLiteral("--decoder needs --channels CHANNEL=SIGNAL,..."));
        for (std::size_t k = 0; k < std::size_t(a.apilados.size()); ++k) {
            TCapaDecod capa{a.apilados[qsizetype(k)], {}};
            if (!Pares(a.opcionesApilado[k], capa.Opciones, error))
                return ErrorUso(error);
            pedida.Apilados.push_back(capa);
        }
    }
    if (!a.salida.isEmpty() && a.salida != QLatin1String("-") && !Libre(a.salida, a.sobreescribir))
        return Fallo;

    const QString ruta = a.posicionales.front();
    if (!QFileInfo::exists(ruta))
        return Error({kTextoNoExiste, {}}, Nativo(ruta));
    TConfigES config;
    TOperaciones operaciones;
    TCjtSenales senales(textos_, interaccion_);
    try {
        TFicheroConfig fichero(textos_, interaccion_, carpeta_);
        AbrirFicheroSenales(ruta, fichero, config, operaciones, senales);
    } catch (const EErrorModelo&) {
        return Error({kTextoNoCargado, {}}, QStringLiteral("(%1)").arg(Nativo(ruta)));
    }
    std::vector<TDecodificacion> lista;
    if (!pedida.Decodificador.isEmpty())
        lista.push_back(pedida);
    else
        lista = senales.Decodificaciones;
    if (lista.empty())
        return ErrorUso(QStringLiteral("%1 keeps no decoding: say which with --decoder").arg(Nativo(ruta)));

    TDecodificador motor;
    if (!motor.Disponible())
        return Error({clave_decod::kTextoSinBiblioteca, {}});
    // Every decoding's annotations in one table, by time.
    TResultadoDecod todo;
    for (const TDecodificacion& d : lista) {
        TEntradaDecod entrada;
        if (const TFalloDecod f = PrepararEntrada(d, senales, entrada))
            return Error(f);
        TResultadoDecod r = motor.Decodificar(d, entrada);
        if (r.Fallo)
            return Error(r.Fallo);
        const int primera = int(todo.Filas.size());
        todo.Filas.insert(todo.Filas.end(), r.Filas.begin(), r.Filas.end());
        todo.Periodo = r.Periodo;
        for (TAnotacionDecod& n : r.Anotaciones) {
            n.Fila += primera;
            todo.Anotaciones.push_back(std::move(n));
        }
    }
    std::stable_sort(todo.Anotaciones.begin(), todo.Anotaciones.end(),
                     [](const TAnotacionDecod& x, const TAnotacionDecod& y) { return x.Desde < y.Desde; });
    QByteArray texto;
    if (a.csv) {
        texto = CsvAnotaciones(todo);
    } else {
        // Columns padded by hand: a text of the library may hold "%1" itself.
        const auto linea = [](const QString& desde, const QString& hasta, const QString& fila, const QString& t) {
            return (desde.leftJustified(14) + QLatin1Char(' ') + hasta.leftJustified(14) + QLatin1Char(' ')
                    + fila.leftJustified(20) + QLatin1Char(' ') + t + QLatin1Char('\n'))
                .toUtf8();
        };
        texto = linea(QStringLiteral("start_s"), QStringLiteral("end_s"), QStringLiteral("row"), QStringLiteral("text"));
        for (const TAnotacionDecod& n : todo.Anotaciones)
            texto += linea(FormatoGeneral(double(n.Desde) * todo.Periodo, 8),
                           FormatoGeneral(double(n.Hasta) * todo.Periodo, 8), todo.IdFila(n.Fila), n.Textos.value(0));
    }
    return Escribir(a.salida, texto) ? Bien : Fallo;
}

// ---- decoders ---------------------------------------------------------------------------

int TOrden::Decodificadores(const TArgs& a)
{
    if (a.posicionales.size() > 1)
        return ErrorUso(QStringLiteral("decoders takes at most one decoder id"));
    TDecodificador motor;
    if (!motor.Disponible())
        return Error({clave_decod::kTextoSinBiblioteca, {}});
    QByteArray texto;
    if (a.posicionales.isEmpty()) {
        for (const TInfoDecodificador& i : motor.Catalogo())
            texto += (i.Id.leftJustified(16) + QLatin1Char(' ') + i.Nombre + QStringLiteral(" - ") + i.NombreLargo
                      + (i.LeeMuestras() ? QString() : QStringLiteral(" (on ") + i.Entradas.join(QLatin1Char(',')) + QLatin1Char(')'))
                      + QLatin1Char('\n'))
                         .toUtf8();
        return Escribir(a.salida, texto) ? Bien : Fallo;
    }
    const TInfoDecodificador* i = motor.Info(a.posicionales.front());
    if (!i)
        return Error({clave_decod::kTextoDesconocido, {a.posicionales.front()}});
    texto += QStringLiteral("%1: %2 - %3\n%4\n").arg(i->Id, i->Nombre, i->NombreLargo, i->Descripcion).toUtf8();
    texto += QStringLiteral("inputs: %1\noutputs: %2\n")
                 .arg(i->Entradas.join(QStringLiteral(", ")), i->Salidas.join(QStringLiteral(", ")))
                 .toUtf8();
    for (const TCanalDecodificador& c : i->Canales)
        texto += QStringLiteral("channel %1 (%2, %3): %4\n")
                     .arg(c.Id, c.Nombre, c.Obligatorio ? QStringLiteral("required") : QStringLiteral("optional"),
                          c.Descripcion)
                     .toUtf8();
    for (const TOpcionDecodificador& o : i->Opciones) {
        QString linea = QStringLiteral("option %1=%2: %3").arg(o.Id, o.Defecto, o.Descripcion);
        if (!o.Valores.isEmpty())
            linea += QStringLiteral(" [%1]").arg(o.Valores.join(QStringLiteral(", ")));
        texto += (linea + QLatin1Char('\n')).toUtf8();
    }
    for (const TFilaDecodificador& f : i->Filas)
        texto += QStringLiteral("row %1: %2\n").arg(f.Id, f.Descripcion).toUtf8();
    return Escribir(a.salida, texto) ? Bien : Fallo;
}

// ---- protocol ----------------------------------------------------------------------

int TOrden::Configuracion(const TArgs& a)
{
    if (a.posicionales.size() != 1 || (a.uart.isNull() == a.i2c.isNull()))
        return ErrorUso(QStringLiteral("protocol takes OUT.cfg and one of --uart TEXT or --i2c ADDR:BYTES"));
    const auto numero = [](const QString& t, double defecto) -> std::optional<double> {
        if (t.isEmpty())
            return defecto;
        const auto v = LeerReal(t);
        if (!v || !std::isfinite(*v) || *v <= 0)
            return std::nullopt;
        return v;
    };
    const QString cfg = QFileInfo(a.posicionales.front()).absoluteFilePath();
    const QString base = cfg.endsWith(QLatin1String(".cfg"), Qt::CaseInsensitive) ? cfg.chopped(4) : cfg;
    // How the configuration names its tables: the folder given, or where they are written.
    const QString nombreCarpeta = a.carpetaTablas.isEmpty() ? QFileInfo(cfg).absolutePath() : a.carpetaTablas;
    const auto nombreTabla = [&](const QString& sufijo) {
        return QDir(nombreCarpeta).filePath(QFileInfo(base).fileName() + sufijo + QStringLiteral(".tba"));
    };

    std::vector<std::pair<QString, std::vector<std::uint8_t>>> tablas; // file written, values
    std::vector<TSalidaTabla> salidas;
    int periodoUs = 0;
    if (!a.uart.isNull()) {
        TTramaUart trama;
        const auto baudios = numero(a.baudios, 9600);
        const auto bits = numero(a.bitsDatos, 8);
        const auto parada = numero(a.parada, 1);
        if (!baudios || !bits || *bits < 5 || *bits > 9 || !parada || (*parada != 1 && *parada != 2))
            return ErrorUso(QStringLiteral("--baud, --data-bits (5 to 9) or --stop-bits (1 or 2) is not valid"));
        trama.Baudios = *baudios;
        trama.BitsDatos = int(*bits);
        trama.BitsParada = int(*parada);
        const QString paridad = a.paridad.isEmpty() ? QStringLiteral("none") : a.paridad;
        if (paridad != QLatin1String("none") && paridad != QLatin1String("odd") && paridad != QLatin1String("even"))
            return ErrorUso(QStringLiteral("--parity is none, odd or even"));
        trama.Paridad = paridad.at(0).toLatin1();
        // Four samples a bit, or the period asked for.
        const auto periodo = numero(a.periodo, std::floor(1e6 / (4 * trama.Baudios)));
        if (!periodo || *periodo < 1)
            return ErrorUso(QStringLiteral("--period-us is not valid"));
        periodoUs = int(std::lround(*periodo));
        tablas.push_back({base + QStringLiteral("-tx.tba"),
                          TablaUart(a.uart.toLatin1(), trama, periodoUs * 1e-6)});
        salidas.push_back({1, nombreTabla(QStringLiteral("-tx")), QStringLiteral("TxS"), QStringLiteral("Rx")});
    } else {
        const qsizetype dos = a.i2c.indexOf(QLatin1Char(':'));
        bool bien = dos > 0;
        const int direccion = a.i2c.left(dos).toInt(&bien, 0);
        QByteArray bytes;
        for (const QString& b : a.i2c.mid(dos + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int v = b.trimmed().toInt(&ok, 16);
            bien = bien && ok && v >= 0 && v <= 255;
            bytes += char(v);
        }
        if (!bien || direccion < 0 || direccion > 127 || bytes.isEmpty())
            return ErrorUso(QStringLiteral("--i2c is ADDRESS:BYTE,BYTE,... (a 7-bit address, bytes in hex)"));
        const auto reloj = numero(a.reloj, 10000);
        if (!reloj)
            return ErrorUso(QStringLiteral("--clock is not valid"));
        const auto periodo = numero(a.periodo, std::floor(1e6 / (4 * *reloj)));
        if (!periodo || *periodo < 1)
            return ErrorUso(QStringLiteral("--period-us is not valid"));
        periodoUs = int(std::lround(*periodo));
        const TTablasI2C t = TablaI2CEscritura(direccion, bytes, *reloj, periodoUs * 1e-6);
        tablas.push_back({base + QStringLiteral("-scl.tba"), t.Scl});
        tablas.push_back({base + QStringLiteral("-sda.tba"), t.Sda});
        salidas.push_back({1, nombreTabla(QStringLiteral("-scl")), QStringLiteral("SclS"), QStringLiteral("SCL")});
        salidas.push_back({2, nombreTabla(QStringLiteral("-sda")), QStringLiteral("SdaS"), QStringLiteral("SDA")});
    }

    TConfigES config = ConfiguracionTablas(textos_, salidas, periodoUs, int(tablas.front().second.size()));
    if (const int clave = ComprobarCaptura(config))
        return Error({clave, {}});
    for (const auto& [ruta, valores] : tablas)
        if (!Libre(ruta, a.sobreescribir))
            return Fallo;
    if (!Libre(cfg, a.sobreescribir))
        return Fallo;
    for (auto& [ruta, valores] : tablas) {
        CompletarTabla(valores, config.NumMuestras);
        if (!Escribir(ruta, TextoTablaDigital(valores)))
            return Fallo;
    }
    try {
        TFicheroConfig fichero(textos_, interaccion_, carpeta_);
        fichero.EscribirConfiguracion(cfg, config, TOperaciones());
    } catch (const EErrorModelo&) {
        return Error({kTextoNoExportado, {}}, Nativo(cfg));
    }
    const QString resumen = QStringLiteral("%1: %2 samples every %3 us, %4 table(s)\n")
                                .arg(Nativo(cfg))
                                .arg(config.NumMuestras)
                                .arg(periodoUs)
                                .arg(tablas.size());
    return Escribir(QString(), resumen.toUtf8()) ? Bien : Fallo;
}

} // namespace

bool EsOrdenDecodificacion(const QString& orden)
{
    return orden == QLatin1String("decode") || orden == QLatin1String("decoders")
           || orden == QLatin1String("protocol");
}

int OrdenDecodificacion(const QStringList& args, TTextos& textos, TInteraccion& interaccion,
                        const QString& carpetaPrograma, std::FILE* salida, std::FILE* error)
{
    return TOrden(textos, interaccion, carpetaPrograma, salida, error).Ejecutar(args);
}

QString UsoDecodificacion()
{
    return QStringLiteral(
        "       quorvane-cli decode FILE [--decoder ID --channels CH=SIGNAL,... [--option KEY=VALUE]...\n"
        "                    [--stack ID [--stack-option KEY=VALUE]...]] [--csv] [-o OUT] [--overwrite]\n"
        "       quorvane-cli decoders [ID]\n"
        "       quorvane-cli protocol OUT.cfg (--uart TEXT [--baud N] [--data-bits N] [--parity P]\n"
        "                    [--stop-bits N] | --i2c ADDR:BYTE,... [--clock HZ]) [--period-us N]\n"
        "                    [--table-dir DIR] [--overwrite]\n"
        "decode prints the annotations of a protocol decoder run on digital signals of FILE (the\n"
        "decodings kept in FILE when no --decoder is given): start and end in seconds, the\n"
        "decoder's annotation row and its text; --csv gives start_s,end_s,row,text. Rows of a\n"
        "stacked decoder read DECODER:ROW. decoders lists what the decoding library offers, or a\n"
        "decoder's channels, options (with their defaults) and rows.\n"
        "protocol writes a capture that plays a UART message (TEXT) or an I2C write on\n"
        "digital outputs 1 (and 2) and reads it back on digital inputs 1 (and 2), with its table\n"
        "files beside OUT.cfg; the configuration names them in DIR (relative: the program folder)\n"
        "when --table-dir is given.\n");
}

} // namespace qv
