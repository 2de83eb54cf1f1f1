#include "model/decodificador.h"

#include "model/formatos.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#ifdef QV_CON_DECODIFICACION
#include <libsigrokdecode/libsigrokdecode.h>
#endif

namespace qv {

#ifndef QV_CON_DECODIFICACION

struct TDecodificador::TEstado {};

TDecodificador::TDecodificador(const QString&) {}
TDecodificador::~TDecodificador() = default;
bool TDecodificador::Disponible() const { return false; }
const TCatalogoDecod& TDecodificador::Catalogo() { return catalogo_; }
const TInfoDecodificador* TDecodificador::Info(const QString&) { return nullptr; }

TResultadoDecod TDecodificador::Decodificar(const TDecodificacion&, const TEntradaDecod& entrada,
                                            const std::atomic<bool>*, const TProgreso&)
{
    TResultadoDecod r;
    r.Periodo = entrada.Periodo;
    r.Muestras = std::int64_t(entrada.Muestras.size());
    r.Fallo = {clave_decod::kTextoSinBiblioteca, {}};
    return r;
}

#else

namespace {

QString Texto(const char* s) { return s ? QString::fromUtf8(s) : QString(); }

QStringList Textos(const GSList* l)
{
    QStringList r;
    for (; l; l = l->next)
        r << Texto(static_cast<const char*>(l->data));
    return r;
}

QString TextoVariante(GVariant* v)
{
    if (!v)
        return {};
    if (g_variant_is_of_type(v, G_VARIANT_TYPE_INT64))
        return QString::number(g_variant_get_int64(v));
    if (g_variant_is_of_type(v, G_VARIANT_TYPE_DOUBLE))
        return FormatoGeneral(g_variant_get_double(v));
    if (g_variant_is_of_type(v, G_VARIANT_TYPE_STRING))
        return Texto(g_variant_get_string(v, nullptr));
    gchar* t = g_variant_print(v, FALSE);
    const QString r = Texto(t);
    g_free(t);
    return r;
}

TInfoDecodificador Describir(const srd_decoder& d)
{
    TInfoDecodificador i;
    i.Id = Texto(d.id);
    i.Nombre = Texto(d.name);
    i.NombreLargo = Texto(d.longname);
    i.Descripcion = Texto(d.desc);
    i.Entradas = Textos(d.inputs);
    i.Salidas = Textos(d.outputs);
    for (const auto& [lista, obligatorio] : {std::pair{d.channels, true}, std::pair{d.opt_channels, false}})
        for (const GSList* l = lista; l; l = l->next) {
            const auto* c = static_cast<const srd_channel*>(l->data);
            i.Canales.push_back({Texto(c->id), Texto(c->name), Texto(c->desc), obligatorio});
        }
    for (const GSList* l = d.options; l; l = l->next) {
        const auto* o = static_cast<const srd_decoder_option*>(l->data);
        TOpcionDecodificador op;
        op.Id = Texto(o->id);
        op.Descripcion = Texto(o->desc);
        if (o->def && g_variant_is_of_type(o->def, G_VARIANT_TYPE_INT64))
            op.Tipo = TTipoOpcion::Entero;
        else if (o->def && g_variant_is_of_type(o->def, G_VARIANT_TYPE_DOUBLE))
            op.Tipo = TTipoOpcion::Real;
        op.Defecto = TextoVariante(o->def);
        for (const GSList* v = o->values; v; v = v->next)
            op.Valores << TextoVariante(static_cast<GVariant*>(v->data));
        i.Opciones.push_back(op);
    }
    for (const GSList* l = d.annotations; l; l = l->next) {
        const auto* a = static_cast<char* const*>(l->data);
        i.Clases << Texto(a[0]);
        i.DescripcionClases << Texto(a[1]);
    }
    for (const GSList* l = d.annotation_rows; l; l = l->next) {
        const auto* f = static_cast<const srd_decoder_annotation_row*>(l->data);
        TFilaDecodificador fila{Texto(f->id), Texto(f->desc), {}};
        for (const GSList* c = f->ann_classes; c; c = c->next)
            fila.Clases.push_back(GPOINTER_TO_INT(c->data));
        i.Filas.push_back(fila);
    }
    return i;
}

// A hash table of the library's kind: keys and values freed with it.
struct TTabla {
    GHashTable* t = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, reinterpret_cast<GDestroyNotify>(g_variant_unref));
    ~TTabla() { g_hash_table_destroy(t); }
    void Poner(const QString& clave, GVariant* v) { g_hash_table_insert(t, g_strdup(clave.toUtf8().constData()), g_variant_ref_sink(v)); }
};

// The options of one decoder of the stack as the library wants them, typed by their
// defaults; the failure of the first one that is not of its kind.
TFalloDecod Opciones(const TInfoDecodificador& info, const std::vector<TAjusteDecod>& ajustes, TTabla& tabla)
{
    for (const TAjusteDecod& a : ajustes) {
        const TOpcionDecodificador* o = info.Opcion(a.Id);
        if (!o || !ValorValido(*o, a.Valor))
            return {clave_decod::kTextoOpcionNoValida, {a.Id, a.Valor}};
        const QString v = a.Valor.trimmed();
        switch (o->Tipo) {
        case TTipoOpcion::Entero:
            tabla.Poner(a.Id, g_variant_new_int64(*LeerEntero(v)));
            break;
        case TTipoOpcion::Real:
            tabla.Poner(a.Id, g_variant_new_double(*LeerReal(v)));
            break;
        case TTipoOpcion::Texto:
            tabla.Poner(a.Id, g_variant_new_string(a.Valor.toUtf8().constData()));
            break;
        }
    }
    return {};
}

// What one run of the library reports through its callbacks, which come from the
// library's own decoding thread while this thread waits in srd_session_send.
struct TEjecucion {
    struct TCapa {
        const srd_decoder* decodificador = nullptr;
        std::vector<int> filaDeClase; // annotation class -> row of the result
    };
    std::vector<TCapa> capas;
    TResultadoDecod* resultado = nullptr;

    static void Anotacion(srd_proto_data* p, void* datos)
    {
        auto* e = static_cast<TEjecucion*>(datos);
        const auto* a = static_cast<const srd_proto_data_annotation*>(p->data);
        if (!a || !p->pdo || !p->pdo->di)
            return;
        for (const TCapa& c : e->capas) {
            if (c.decodificador != p->pdo->di->decoder)
                continue;
            if (a->ann_class < 0 || a->ann_class >= int(c.filaDeClase.size()))
                return;
            TAnotacionDecod n;
            n.Desde = std::int64_t(p->start_sample);
            n.Hasta = std::int64_t(p->end_sample);
            n.Fila = c.filaDeClase[std::size_t(a->ann_class)];
            n.Clase = a->ann_class;
            for (char** t = a->ann_text; t && *t; ++t)
                n.Textos << QString::fromUtf8(*t);
            e->resultado->Anotaciones.push_back(std::move(n));
            return;
        }
    }
};

// Rows of one decoder of the stack: its own, then one for each class no row names.
void Filas(const TInfoDecodificador& info, int nivel, TResultadoDecod& r, TEjecucion::TCapa& capa)
{
    const bool apilada = nivel > 0;
    r.Clases.push_back(info.Clases);
    capa.filaDeClase.assign(std::size_t(info.Clases.size()), -1);
    for (const TFilaDecodificador& f : info.Filas) {
        const int fila = int(r.Filas.size());
        r.Filas.push_back({info.Id, nivel, f.Id, f.Descripcion, apilada});
        for (int c : f.Clases)
            if (c >= 0 && c < int(capa.filaDeClase.size()))
                capa.filaDeClase[std::size_t(c)] = fila;
    }
    for (int c = 0; c < int(capa.filaDeClase.size()); ++c)
        if (capa.filaDeClase[std::size_t(c)] < 0) {
            capa.filaDeClase[std::size_t(c)] = int(r.Filas.size());
            r.Filas.push_back({info.Id, nivel, info.Clases[c], info.DescripcionClases[c], apilada});
        }
}

} // namespace

struct TDecodificador::TEstado {
    bool iniciada = false;
    std::mutex cerrojo;
    QStringList errores; // the library's error messages of the run in course

    static int Registro(void* datos, int nivel, const char* formato, va_list args)
    {
        if (nivel > SRD_LOG_ERR)
            return SRD_OK;
        auto* e = static_cast<TEstado*>(datos);
        char texto[2048];
        std::vsnprintf(texto, sizeof texto, formato, args);
        const std::lock_guard<std::mutex> g(e->cerrojo);
        e->errores << QString::fromUtf8(texto);
        return SRD_OK;
    }

    QString UltimoError()
    {
        const std::lock_guard<std::mutex> g(cerrojo);
        // The first line that says what went wrong (a traceback's last line says it too).
        for (const QString& e : errores) {
            const QString linea = e.section(QLatin1Char('\n'), 0, 0).trimmed();
            if (!linea.isEmpty() && !linea.startsWith(QLatin1String("Traceback")))
                return linea;
        }
        return errores.isEmpty() ? QString() : errores.back().trimmed().section(QLatin1Char('\n'), -1);
    }
};

TDecodificador::TDecodificador(const QString& carpetaExtra) : e_(std::make_unique<TEstado>())
{
    const QByteArray carpeta = carpetaExtra.toLocal8Bit();
    // A second object while another one holds the library finds it started: that one
    // stays unavailable and leaves the library (and its log) alone.
    e_->iniciada = srd_init(carpeta.isEmpty() ? nullptr : carpeta.constData()) == SRD_OK;
    if (!e_->iniciada)
        return;
    srd_log_callback_set(&TEstado::Registro, e_.get());
    srd_log_loglevel_set(SRD_LOG_ERR);
}

TDecodificador::~TDecodificador()
{
    if (!e_->iniciada)
        return;
    srd_exit();
    srd_log_callback_set_default();
}

bool TDecodificador::Disponible() const { return e_->iniciada; }

const TCatalogoDecod& TDecodificador::Catalogo()
{
    if (!e_->iniciada || todos_)
        return catalogo_;
    todos_ = true;
    srd_decoder_load_all();
    catalogo_.clear();
    for (const GSList* l = srd_decoder_list(); l; l = l->next) {
        const auto* d = static_cast<const srd_decoder*>(l->data);
        TInfoDecodificador i = Describir(*d);
        infos_[i.Id] = i;
        catalogo_.push_back(std::move(i));
    }
    std::sort(catalogo_.begin(), catalogo_.end(), [](const TInfoDecodificador& a, const TInfoDecodificador& b) {
        return a.Nombre.compare(b.Nombre, Qt::CaseInsensitive) < 0;
    });
    return catalogo_;
}

const TInfoDecodificador* TDecodificador::Info(const QString& id)
{
    if (!e_->iniciada || id.isEmpty())
        return nullptr;
    if (auto it = infos_.find(id); it != infos_.end())
        return &it->second;
    const QByteArray nombre = id.toUtf8();
    // Decoder ids are folder names: nothing that could lead the loader elsewhere.
    if (nombre.contains('/') || nombre.contains('.') || nombre.contains('\\'))
        return nullptr;
    const srd_decoder* d = srd_decoder_get_by_id(nombre.constData());
    if (!d && srd_decoder_load(nombre.constData()) == SRD_OK)
        d = srd_decoder_get_by_id(nombre.constData());
    if (!d)
        return nullptr;
    return &(infos_[id] = Describir(*d));
}

TResultadoDecod TDecodificador::Decodificar(const TDecodificacion& d, const TEntradaDecod& entrada,
                                            const std::atomic<bool>* cancelar, const TProgreso& progreso)
{
    TResultadoDecod r;
    r.Periodo = entrada.Periodo;
    r.Muestras = std::int64_t(entrada.Muestras.size());
    if (!e_->iniciada) {
        r.Fallo = {clave_decod::kTextoSinBiblioteca, {}};
        return r;
    }
    // The stack, bottom first, and its checks before anything runs.
    std::vector<const TInfoDecodificador*> pila;
    std::vector<const std::vector<TAjusteDecod>*> opciones{&d.Opciones};
    for (const QString& id : [&] {
             QStringList ids{d.Decodificador};
             for (const TCapaDecod& a : d.Apilados)
                 ids << a.Decodificador;
             return ids;
         }()) {
        const TInfoDecodificador* i = Info(id);
        if (!i) {
            r.Fallo = {clave_decod::kTextoDesconocido, {id}};
            return r;
        }
        pila.push_back(i);
    }
    for (const TCapaDecod& a : d.Apilados)
        opciones.push_back(&a.Opciones);
    const TInfoDecodificador& base = *pila.front();
    for (const auto& [canal, bit] : entrada.Canales)
        if (!base.Canal(canal)) {
            r.Fallo = {clave_decod::kTextoCanalDesconocido, {canal, base.Id}};
            return r;
        }
    bool alguno = false;
    for (const TCanalDecodificador& c : base.Canales) {
        const bool asignado = std::any_of(entrada.Canales.begin(), entrada.Canales.end(),
                                          [&](const auto& p) { return p.first == c.Id; });
        alguno = alguno || asignado;
        if (c.Obligatorio && !asignado) {
            r.Fallo = {clave_decod::kTextoSinCanal, {c.Nombre, base.Id}};
            return r;
        }
    }
    if (!alguno || entrada.Muestras.empty() || !(entrada.Periodo > 0)) {
        const QString canal = base.Canales.empty() ? QString() : base.Canales.front().Nombre;
        r.Fallo = {clave_decod::kTextoSinCanal, {canal, base.Id}};
        return r;
    }
    const double frecuencia = 1.0 / entrada.Periodo;
    if (const double necesaria = FrecuenciaNecesaria(d, base); frecuencia < necesaria) {
        r.Fallo = {clave_decod::kTextoFrecuenciaBaja,
                   {FormatoGeneral(frecuencia, 6), FormatoGeneral(necesaria / MuestrasPorBit, 6),
                    FormatoGeneral(necesaria, 6), FormatoGeneral(1e6 / necesaria, 4)}};
        return r;
    }
    std::vector<TTabla> tablas(pila.size());
    for (std::size_t k = 0; k < pila.size(); ++k)
        if (TFalloDecod f = Opciones(*pila[k], *opciones[k], tablas[k])) {
            r.Fallo = f;
            return r;
        }

    TEjecucion ejecucion;
    ejecucion.resultado = &r;
    for (std::size_t k = 0; k < pila.size(); ++k) {
        TEjecucion::TCapa capa;
        capa.decodificador = srd_decoder_get_by_id(pila[k]->Id.toUtf8().constData());
        Filas(*pila[k], int(k), r, capa);
        ejecucion.capas.push_back(std::move(capa));
    }
    {
        const std::lock_guard<std::mutex> g(e_->cerrojo);
        e_->errores.clear();
    }
    // The library's message is read once its decoding thread has ended: the decoder's
    // error may be logged there after the call that failed has returned.
    const TInfoDecodificador* fallido = nullptr;
    const auto fallo = [&](const TInfoDecodificador& i) {
        if (!fallido)
            fallido = &i;
    };

    srd_session* sesion = nullptr;
    if (srd_session_new(&sesion) != SRD_OK) {
        r.Fallo = {clave_decod::kTextoFallo, {base.Id, e_->UltimoError()}};
        return r;
    }
    bool bien = true;
    srd_decoder_inst* anterior = nullptr;
    for (std::size_t k = 0; k < pila.size() && bien; ++k) {
        srd_decoder_inst* di = srd_inst_new(sesion, pila[k]->Id.toUtf8().constData(), tablas[k].t);
        if (!di) {
            fallo(*pila[k]);
            bien = false;
            break;
        }
        if (k == 0) {
            TTabla canales;
            for (const auto& [canal, bit] : entrada.Canales)
                canales.Poner(canal, g_variant_new_int32(bit));
            if (srd_inst_channel_set_all(di, canales.t) != SRD_OK) {
                fallo(base);
                bien = false;
            }
        } else if (srd_inst_stack(sesion, anterior, di) != SRD_OK) {
            fallo(*pila[k]);
            bien = false;
        }
        anterior = di;
    }
    if (bien) {
        srd_session_metadata_set(sesion, SRD_CONF_SAMPLERATE,
                                 g_variant_new_uint64(guint64(std::max<long long>(1, std::llround(frecuencia)))));
        srd_pd_output_callback_add(sesion, SRD_OUTPUT_ANN, &TEjecucion::Anotacion, &ejecucion);
        if (srd_session_start(sesion) != SRD_OK) {
            fallo(base);
            bien = false;
        }
    }
    const std::int64_t total = r.Muestras;
    for (std::int64_t desde = 0; bien && desde < total; desde += Trozo) {
        if (cancelar && cancelar->load()) {
            r.Cancelado = true;
            break;
        }
        const std::int64_t hasta = std::min(total, desde + Trozo);
        if (srd_session_send(sesion, guint64(desde), guint64(hasta), entrada.Muestras.data() + desde,
                             guint64(hasta - desde), 1)
            != SRD_OK) {
            fallo(base);
            bien = false;
            break;
        }
        if (progreso)
            progreso(hasta, total);
    }
    srd_session_terminate_reset(sesion);
    srd_session_destroy(sesion);
    if (fallido) {
        QString mensaje = e_->UltimoError();
        if (mensaje.isEmpty())
            mensaje = QStringLiteral("error");
        r.Fallo = {clave_decod::kTextoFallo, {fallido->Id, mensaje}};
    }
    std::stable_sort(r.Anotaciones.begin(), r.Anotaciones.end(),
                     [](const TAnotacionDecod& a, const TAnotacionDecod& b) { return a.Desde < b.Desde; });
    return r;
}

#endif

} // namespace qv
