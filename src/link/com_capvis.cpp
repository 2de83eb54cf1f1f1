#include "link/com_capvis.h"

#include "lang/interaccion.h"
#include "lang/texto_limpio.h"
#include "lang/textos.h"
#include "link/reloj.h"
#include "link/serie_port.h"
#include "link/tcp_port.h"

namespace qv {

namespace {

bool TieneFin(const QByteArray& t)
{
    return t.contains('#') || t.contains('$');
}

} // namespace

TComCapvis::TComCapvis(TTextos& textos, TInteraccion& interaccion, TReloj& reloj, QStringList puertosSerie)
    : Textos(textos), Interaccion(interaccion), Reloj(reloj), PuertosSerie(std::move(puertosSerie))
{
}

TComCapvis::~TComCapvis()
{
    Desconectar();
}

void TComCapvis::SetTipoConexion(bool esTcp)
{
    if (esTcp)
        PonerPuerto(std::make_unique<TTcpPort>(PuertoTcp), true);
    else
        PonerPuerto(std::make_unique<TSeriePort>(PuertosSerie, Interaccion, Reloj), false);
}

void TComCapvis::PonerInterrupcion(const std::atomic<bool>* i)
{
    Interrupcion = i;
    if (Puerto_)
        Puerto_->PonerInterrupcion(i);
}

void TComCapvis::PonerPuerto(std::unique_ptr<TCOM> puerto, bool esTcp)
{
    if (Puerto_)
        Puerto_->Cerrar();
    Puerto_ = std::move(puerto);
    if (Puerto_)
        Puerto_->PonerInterrupcion(Interrupcion);
    EsTcp = esTcp;
    CapturaLeida = false;
    PorDrenar_ = false;
    VaciarRecepcion();
    BufEnvio.clear();
}

// ---- sending ----

bool TComCapvis::Inicializar()
{
    if (!Puerto_)
        return false;
    try {
        Puerto_->Configurar(QString());
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::EnviarTexto(const QByteArray& texto)
{
    BufEnvio += texto;
    // BufEnvio never holds a "#" between calls, so only the new text can end it;
    // a capture command is gathered from thousands of pieces.
    if (!texto.contains('#'))
        return true;
    try {
        if (!Puerto_) {
            BufEnvio.clear();
            return false;
        }
        if (!EsTcp && !Puerto_->Conectado() && !Inicializar()) {
            BufEnvio.clear();
            return false;
        }
        SinUnidad = false;
        Preparando = false;
        Interrumpido_ = false;
        Puerto_->Enviar(BufEnvio);
        if (RepetirCaptura && CapturaGuardada.isEmpty() && BufEnvio.startsWith('7'))
            CapturaGuardada = BufEnvio;
        BufEnvio.clear();
        return true;
    } catch (const EComPort&) {
        BufEnvio.clear();
        CapturaGuardada.clear();
        return false;
    } catch (const EInterrumpido&) {
        BufEnvio.clear();
        CapturaGuardada.clear();
        Interrumpido_ = true;
        return false;
    }
}

bool TComCapvis::EnviarComando(const QByteArray& comando, QByteArray& respuesta, bool conRespuesta)
{
    if (!Puerto_)
        return false;
    if (!Puerto_->Conectado() && !Inicializar())
        return false;
    Drenar();
    if (!EnviarTexto(comando) || !comando.contains('#'))
        return false;
    return conRespuesta ? LeerRespuesta(respuesta) : EsperarAck();
}

bool TComCapvis::Ack(const QByteArray& comando)
{
    QByteArray r;
    return EnviarComando(comando, r, false);
}

// ---- receiving ----

void TComCapvis::Recibir(QByteArray& texto)
{
    if (!Puerto_)
        throw EComPort(QStringLiteral("no port"));
    try {
        Puerto_->Recibir(texto);
    } catch (const ESinUnidad&) {
        // Every wait below ends at once on these: nothing is coming.
        SinUnidad = true;
        throw;
    } catch (const EPreparando&) {
        Preparando = true;
        throw;
    }
}

void TComCapvis::AnadirRecibido(const QByteArray& texto)
{
    if (texto.isEmpty())
        return;
    if (PosRecepcion >= Recepcion.size()) {
        Recepcion = texto;
        PosRecepcion = 0;
        return;
    }
    // Drop what was consumed once it is the larger part, so long replies stay linear.
    if (PosRecepcion > 65536 && PosRecepcion > Recepcion.size() / 2) {
        Recepcion.remove(0, PosRecepcion);
        PosRecepcion = 0;
    }
    Recepcion += texto;
}

void TComCapvis::VaciarRecepcion()
{
    Recepcion.clear();
    PosRecepcion = 0;
}

void TComCapvis::Drenar()
{
    while (!PasoDrenaje())
        Reloj.Dormir(PausaDrenaje);
    VaciarRecepcion();
    try {
        if (Puerto_ && Puerto_->Conectado())
            Puerto_->Descartar();
    } catch (const EComPort&) {
        // The command that follows finds the port's fault itself.
    }
}

void TComCapvis::DejarPorDrenar(bool hastaFin)
{
    PorDrenar_ = true;
    DrenarHastaFin = hastaFin;
    Drenados = 0;
    VaciosDrenaje = 0;
    UltimoDrenado = Reloj.Tick();
}

bool TComCapvis::PasoDrenaje()
{
    if (!PorDrenar_)
        return true;
    bool fin = DrenarHastaFin && Recepcion.indexOf('#', PosRecepcion) >= 0;
    Drenados += Recepcion.size() - PosRecepcion;
    VaciarRecepcion();
    if (!fin) {
        QByteArray rec;
        bool perdido = false;
        try {
            Recibir(rec);
        } catch (const EComPort&) {
            rec.clear();
            // Nothing more comes over a port that closed, nor from a relay that said so.
            perdido = NadaVendra() || !(Puerto_ && Puerto_->Conectado());
        }
        if (!rec.isEmpty()) {
            Drenados += rec.size();
            VaciosDrenaje = 0;
            UltimoDrenado = Reloj.Tick();
            fin = DrenarHastaFin && rec.contains('#');
        } else {
            ++VaciosDrenaje;
            // Without an end to wait for, the first empty receive ends it.
            fin = !DrenarHastaFin || perdido
                  || (VaciosDrenaje >= Intentos && Reloj.Tick() - UltimoDrenado >= Intentos * 10);
        }
        fin = fin || Drenados > MaxDrenaje;
    }
    if (fin) {
        PorDrenar_ = false;
        VaciarRecepcion();
    }
    return fin;
}

bool TComCapvis::EsperarAck()
{
    for (int i = 0; i < Intentos; ++i) {
        QByteArray t;
        try {
            Recibir(t);
        } catch (const EComPort&) {
            if (NadaVendra())
                return false;
            t.clear();
        }
        if (t == "&")
            return true;
        Reloj.Dormir(100);
    }
    return false;
}

char TComCapvis::LeerCaracter()
{
    if (PosRecepcion < Recepcion.size())
        return Recepcion.at(PosRecepcion++);
    QByteArray rec;
    Recibir(rec);
    AnadirRecibido(rec);
    for (int pasada = 0; pasada < Intentos && !TieneFin(rec) && !NadaVendra(); ++pasada) {
        const qint64 inicio = Reloj.Tick();
        while (!TieneFin(rec) && Reloj.Tick() - inicio < 10) {
            try {
                Recibir(rec);
                AnadirRecibido(rec);
            } catch (const EComPort&) {
                rec.clear();
                if (NadaVendra())
                    break;
                Reloj.Dormir(50);
            }
        }
    }
    if (PosRecepcion >= Recepcion.size())
        return MarcaNada;
    return Recepcion.at(PosRecepcion++);
}

bool TComCapvis::LeerRespuesta(QByteArray& respuesta)
{
    QByteArray texto;
    for (;;) {
        char c = MarcaNada;
        try {
            c = LeerCaracter();
        } catch (const EComPort&) {
            return false;
        }
        if (c == '#')
            break;
        if (c == MarcaNada)
            return false;
        texto += c;
        // A reply of a query is short; endless noise must not keep us here.
        if (texto.size() > MaxRespuesta)
            return false;
    }
    // Every reply starts with the acknowledge; anything else is not the unit talking.
    if (!texto.startsWith('&'))
        return false;
    respuesta = texto.mid(1);
    return true;
}

qsizetype TComCapvis::Separador(qsizetype desde) const
{
    const char* d = Recepcion.constData();
    const qsizetype n = Recepcion.size();
    for (qsizetype i = desde; i < n; ++i) {
        if (d[i] == ',' || d[i] == '#')
            return i;
    }
    return -1;
}

bool TComCapvis::LeerCampo(QByteArray& campo)
{
    try {
        // Where the search for a separator goes on, so polling stays linear.
        qsizetype visto = PosRecepcion;
        auto haySeparador = [&] {
            qsizetype s = Separador(visto);
            if (s < 0)
                visto = Recepcion.size();
            return s >= 0;
        };
        for (int pasada = 0; pasada < Intentos && !haySeparador(); ++pasada) {
            const qint64 inicio = Reloj.Tick();
            while (Reloj.Tick() - inicio < 10) {
                QByteArray rec;
                try {
                    Recibir(rec);
                } catch (const EComPort&) {
                    if (NadaVendra())
                        return false;
                    Reloj.Dormir(50);
                    continue;
                }
                const qsizetype antes = PosRecepcion;
                AnadirRecibido(rec);
                visto -= antes - PosRecepcion; // the buffer may have been compacted
                if (haySeparador())
                    break;
            }
        }
        if (PosRecepcion >= Recepcion.size())
            return false;
        const qsizetype s = Separador(PosRecepcion);
        // A field without its separator is cut short: never take it as a value.
        if (s < 0)
            return false;
        campo = Recepcion.mid(PosRecepcion, s - PosRecepcion);
        PosRecepcion = s + 1;
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::EsperarSaludo(QString& nombre)
{
    if (!Puerto_)
        return false;
    try {
        if (!Puerto_->Conectado())
            Puerto_->Abrir();
    } catch (const EComPort&) {
        return false;
    }
    SinPlazas = false;
    QByteArray t;
    auto recibir = [&] {
        try {
            Recibir(t);
        } catch (const ESinPlazas&) {
            SinPlazas = true;
            t.clear();
        } catch (const EComPort&) {
            t.clear();
        }
    };
    const qint64 inicio = Reloj.Tick();
    recibir();
    for (int i = 0; i < 10 && !t.contains('$') && !SinPlazas; ++i) {
        // Nothing more can come over a connection the peer has closed.
        if (!Puerto_->Conectado())
            break;
        // Over TCP every receive waits up to its read time-out on top of the pause:
        // the whole wait is bounded, so a relay that never greets costs the greeting
        // wait, not eleven receives and ten pauses.
        if (Reloj.Tick() - inicio >= EsperaSaludo)
            break;
        Reloj.Dormir(1000);
        recibir();
    }
    const qsizetype d = t.indexOf('$');
    if (d < 0)
        return false;
    // A peer's text: no escape sequence or endless name reaches a window or a terminal.
    nombre = TextoLimpio(QByteArrayView(t).sliced(d + 1)).trimmed();
    return true;
}

// ---- queries ----

void TComCapvis::SinSAD()
{
    throw ENoHaySAD(kTextoNoHaySAD, Textos.BuscarTexto(kTextoNoHaySAD));
}

void TComCapvis::Conectar(const QString& servidor)
{
    CapturaLeida = false;
    if (PCPropietario == PCLocal)
        Desconectar();
    if (!Puerto_)
        SinSAD();
    if (!EsTcp) {
        PCPropietario = PCLocal;
    } else {
        // A connection kept open while another PC held the unit carries no fresh
        // greeting: start over so the relay tells the current holder.
        if (Puerto_->Conectado())
            Puerto_->Cerrar();
        VaciarRecepcion();
        try {
            Puerto_->Configurar(servidor);
        } catch (const EComPort&) {
            PCPropietario.clear();
            SinSAD();
        }
        QString nombre;
        if (!EsperarSaludo(nombre)) {
            PCPropietario.clear();
            // Too many connections is not "no unit": the user can do something about it.
            if (SinPlazas)
                throw ENoHaySAD(kTextoSinPlazas, Textos.BuscarTexto(kTextoSinPlazas));
            SinSAD();
        }
        if (!nombre.isEmpty() && nombre.compare(PCLocal, Qt::CaseInsensitive) != 0) {
            PCPropietario = nombre;
            return;
        }
        PCPropietario = PCLocal;
    }
    Presentarse(servidor);
}

void TComCapvis::TomarLlamada(const QString& servidor)
{
    // The relay gave this station the unit from its line, with the greeting that names
    // the holder: from here on as after a check that found the unit free.
    CapturaLeida = false;
    PCPropietario = PCLocal;
    Presentarse(servidor);
}

void TComCapvis::Ceder(const QString& titular)
{
    CapturaLeida = false;
    PCPropietario = titular.isEmpty() || titular.compare(PCLocal, Qt::CaseInsensitive) == 0 ? QStringLiteral("-")
                                                                                             : titular;
}

void TComCapvis::Presentarse(const QString& servidor)
{
    // A relay that is still looking for its unit, or throwing away what it sends, says
    // so: it is asked again within the greeting's wait, and the user hears the truth.
    const qint64 inicio = Reloj.Tick();
    bool leida = LeerVersion();
    while (!leida && EsTcp && Preparando && Puerto_->Conectado() && Reloj.Tick() - inicio < EsperaSaludo) {
        Reloj.Dormir(500);
        leida = LeerVersion();
    }
    if (!leida) {
        const bool preparando = Preparando;
        Desconectar();
        if (preparando)
            throw ENoHaySAD(kTextoPreparando, Textos.BuscarTexto(kTextoPreparando));
        SinSAD();
    }
    Servidor = servidor;
}

TInfoSAD TComCapvis::Foto() const
{
    TInfoSAD i;
    i.EsTcp = EsTcp;
    i.Version = Version;
    i.Memoria = Memoria;
    i.Capacidad = Capacidad;
    i.Servidor = Servidor;
    i.PCPropietario = PCPropietario;
    i.PCLocal = PCLocal;
    i.CapturaLeida = CapturaLeida;
    i.Descriptor = Descriptor;
    i.UltimoValor = UltimoValor;
    i.MuestrasLeidas = MuestrasLeidas;
    i.SinUnidad = SinUnidad;
    i.SinPlazas = SinPlazas;
    i.EscalaEntrada = EscalaEntrada;
    return i;
}

int TComCapvis::ClaveFallo(int clave) const
{
    if (SinUnidad)
        return kTextoSADPerdido;
    if (EsTcp && !(Puerto_ && Puerto_->Conectado()))
        return kTextoConexionPerdida;
    return clave;
}

void TComCapvis::Desconectar()
{
    // Leaving waits for no reply given up: whoever leaves first lets it run out (the
    // service and the companion do), and a closing program must not.
    PorDrenar_ = false;
    try {
        if (Puerto_ && Puerto_->Conectado()) {
            BufEnvio.clear();
            VaciarRecepcion();
            // A station that was told another PC holds the unit has no outputs to
            // turn off; the relay would refuse it and every read would time out.
            const bool ajena = EsTcp && PCPropietario != PCLocal;
            if (!ajena && EnviarTexto(SalidasACero))
                EsperarAck();
            Puerto_->Cerrar();
        }
    } catch (const std::exception&) {
        // Leaving runs this from destructors: the port is closed whatever went wrong.
        if (Puerto_)
            Puerto_->Cerrar();
    }
}

bool TComCapvis::LeerVersion()
{
    try {
        QByteArray r;
        if (!EnviarComando(QByteArrayLiteral("1#"), r, true))
            return false;
        const qsizetype coma = r.indexOf(',');
        if (coma < 0)
            return false;
        bool ok = false;
        const int memoria = r.mid(coma + 1).toInt(&ok);
        if (!ok)
            return false;
        const QByteArray version = r.left(coma);
        Version = TextoLimpio(QByteArrayView(version));
        Memoria = memoria;
        // Firmware before 1.21 wants command 4 after every identification.
        if (version < QByteArrayLiteral("1.21")) {
            QByteArray ignorada;
            EnviarComando(QByteArrayLiteral("4,C#"), ignorada, true);
        }
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::LeerEstado(int& estado)
{
    try {
        QByteArray r;
        if (!EnviarComando(QByteArrayLiteral("2#"), r, true))
            return false;
        bool ok = false;
        const int e = r.toInt(&ok);
        if (!ok)
            return false;
        estado = e;
        return true;
    } catch (const EComPort&) {
        return false;
    }
}

bool TComCapvis::Abortar()
{
    CapturaLeida = false;
    try {
        return Ack(QByteArrayLiteral("8#")) && Ack(SalidasACero);
    } catch (const EComPort&) {
        return false;
    }
}

} // namespace qv
