#include "display/decodificacion_ventana.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "display/decodificar.h"
#include "display/panel_decodificacion.h"
#include "display/senales_digitales.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/escritura_segura.h"
#include "model/senales.h"
#include "plot/capa_decodificacion.h"
#include "plot/grf.h"

#include <QDialog>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr int kTextoFiltroCsv = 605;
constexpr int kTextoTituloCsv = 606;

// A box is shown this many times its own length when the view jumps to it.
constexpr double kVecesCaja = 8;
constexpr int kMuestrasMinimas = 40;
// The widest left margin the rows' names may take.
constexpr int kMargenMaximo = 130;

} // namespace

TDecodificacionesVentana::TDecodificacionesVentana(IPrincipal& principal, TGrf& grafica, TPanelDecodificacion& panel,
                                                   QObject* parent)
    : QObject(parent), principal_(principal), g_(grafica), panel_(panel),
      dibujo_(std::make_unique<TDibujoDecodificacion>(grafica))
{
    connect(&panel_, &TPanelDecodificacion::Elegida, this, &TDecodificacionesVentana::IrA);
    connect(&panel_, &TPanelDecodificacion::ExportarCsv, this, &TDecodificacionesVentana::ExportarCsv);
    connect(&panel_, &TPanelDecodificacion::Cerrar, this, [this] {
        panelCerrado_ = true;
        panel_.hide();
    });
}

TDecodificacionesVentana::~TDecodificacionesVentana()
{
    if (servicio_)
        for (const TEstadoDecod& e : estado_)
            if (e.Peticion)
                servicio_->Cancelar(e.Peticion);
}

TServicioDecodificacion& TDecodificacionesVentana::Servicio(IPrincipal& principal)
{
    QWidget& ventana = principal.Ventana();
    auto* s = ventana.findChild<TServicioDecodificacion*>(QStringLiteral("ServicioDecodificacion"),
                                                          Qt::FindDirectChildrenOnly);
    if (!s) {
        s = new TServicioDecodificacion(QString(), &ventana);
        s->setObjectName(QStringLiteral("ServicioDecodificacion"));
    }
    return *s;
}

void TDecodificacionesVentana::Conectar()
{
    if (servicio_)
        return;
    servicio_ = &Servicio(principal_);
    connect(servicio_, &TServicioDecodificacion::Decodificado, this, &TDecodificacionesVentana::Decodificado);
    connect(servicio_, &TServicioDecodificacion::CatalogoListo, this, &TDecodificacionesVentana::Catalogo);
    connect(servicio_, &TServicioDecodificacion::Progreso, this, [this](int numero, int pct) {
        for (const TEstadoDecod& e : estado_)
            if (e.Peticion == numero)
                panel_.PonerProgreso(pct);
    });
}

bool TDecodificacionesVentana::Decodificando() const
{
    return std::any_of(estado_.begin(), estado_.end(), [](const TEstadoDecod& e) { return e.Peticion != 0; });
}

QByteArray TDecodificacionesVentana::Huella(const TDecodificacion& d, const TCjtSenales& set)
{
    std::vector<TDecodificacion> una{d};
    QByteArray h;
    EscribirDecodificaciones(una, h);
    for (const QString& n : d.Senales())
        if (const TSenalDig* s = set.BuscarDig(n)) {
            const auto& m = s->Muestras();
            h += n.toUtf8() + ' ' + QByteArray::number(s->Periodo(), 'g', 17) + ' '
                 + QByteArray::number(s->NumMuestras()) + ' '
                 + QByteArray::number(qHashBits(m.data(), m.size())) + '\n';
        }
    return h;
}

// ---- what is decoded ---------------------------------------------------------------------

void TDecodificacionesVentana::Actualizar(const QStringList& visibles)
{
    visibles_ = visibles;
    const TCjtSenales* set = principal_.Estado().Senales();
    std::vector<TEstadoDecod> nuevo;
    std::vector<TFalloDecod> fallos;
    if (set)
        for (const TDecodificacion& d : set->Decodificaciones) {
            const QStringList senales = d.Senales();
            if (senales.isEmpty()
                || !std::all_of(senales.begin(), senales.end(), [&](const QString& n) { return visibles.contains(n); }))
                continue;
            const QByteArray huella = Huella(d, *set);
            auto igual = std::find_if(estado_.begin(), estado_.end(), [&](const TEstadoDecod& e) {
                return e.Decodificacion == d && e.Huella == huella;
            });
            if (igual != estado_.end()) {
                nuevo.push_back(std::move(*igual));
                estado_.erase(igual);
                continue;
            }
            TEstadoDecod e{d, huella, 0, nullptr};
            auto entrada = std::make_shared<TEntradaDecod>();
            if (const TFalloDecod f = PrepararEntrada(d, *set, *entrada)) {
                auto r = std::make_shared<TResultadoDecod>();
                r->Fallo = f;
                e.Resultado = std::move(r);
                fallos.push_back(f);
            } else {
                Conectar();
                e.Peticion = servicio_->Decodificar(d, std::move(entrada));
            }
            nuevo.push_back(std::move(e));
        }
    // What is no longer shown stops decoding.
    for (const TEstadoDecod& e : estado_)
        if (e.Peticion && servicio_)
            servicio_->Cancelar(e.Peticion);
    estado_ = std::move(nuevo);
    Colocar();
    // The messages come after the window is drawn, never in the middle of its rebuild.
    if (!fallos.empty()) {
        QPointer<TDecodificacionesVentana> yo(this);
        QMetaObject::invokeMethod(
            this,
            [this, yo, fallos] {
                if (!yo)
                    return;
                const TContextoPrograma& c = principal_.Contexto();
                for (const TFalloDecod& f : fallos)
                    c.Interaccion().MostrarError(TextoFallo(f, c.Textos()), Botones::Aceptar);
            },
            Qt::QueuedConnection);
    }
    if (!Decodificando())
        Q_EMIT Listas();
}

void TDecodificacionesVentana::Decodificado(int numero, TResultadoCompartido resultado)
{
    auto it = std::find_if(estado_.begin(), estado_.end(), [numero](const TEstadoDecod& e) { return e.Peticion == numero; });
    if (it == estado_.end())
        return; // a decoding given up on
    it->Peticion = 0;
    it->Resultado = resultado;
    panel_.PonerProgreso(-1);
    Colocar();
    if (resultado->Fallo) {
        const TContextoPrograma& c = principal_.Contexto();
        const QString texto = TextoFallo(resultado->Fallo, c.Textos());
        if (resultado->Fallo.Clave == clave_decod::kTextoFrecuenciaBaja)
            c.Interaccion().MostrarAviso(texto, Botones::Aceptar);
        else
            c.Interaccion().MostrarError(texto, Botones::Aceptar);
    }
    if (!Decodificando())
        Q_EMIT Listas();
}

// Rows under the traces: the rows of every decoding that hold something, in the
// decoder's order, sharing whole bands of the trace layout (two rows a band).
void TDecodificacionesVentana::Colocar()
{
    struct TUna {
        TResultadoCompartido r;
        int fila;
        QString rotulo;
    };
    std::vector<TUna> filas;
    std::vector<TModeloAnotaciones::TDecodificada> tabla;
    int conResultado = 0;
    for (const TEstadoDecod& e : estado_)
        conResultado += e.Resultado && !e.Resultado->Fallo && !e.Resultado->Cancelado;
    for (const TEstadoDecod& e : estado_) {
        const TResultadoDecod* r = e.Resultado.get();
        if (!r || r->Fallo || r->Cancelado)
            continue;
        const QString prefijo = conResultado > 1 ? e.Decodificacion.Decodificador + QStringLiteral(": ") : QString();
        tabla.push_back({e.Resultado, prefijo});
        std::vector<bool> usada(r->Filas.size(), false);
        for (const TAnotacionDecod& a : r->Anotaciones)
            if (a.Fila >= 0 && a.Fila < int(usada.size()))
                usada[std::size_t(a.Fila)] = true;
        for (int f = 0; f < int(usada.size()); ++f)
            if (usada[std::size_t(f)])
                filas.push_back({e.Resultado, f, prefijo + r->Filas[std::size_t(f)].Descripcion});
    }
    double minimo = 0;
    std::vector<TFilaDibujoDecod> dibujo;
    if (!filas.empty() && !visibles_.isEmpty()) {
        const double banda = 100.0 / double(visibles_.size());
        minimo = -std::ceil(double(filas.size()) / 2.0) * banda;
        const double alto = -minimo / double(filas.size());
        for (std::size_t j = 0; j < filas.size(); ++j)
            dibujo.push_back({filas[j].r, filas[j].fila, filas[j].rotulo, -double(j + 1) * alto, -double(j) * alto});
    }
    if (minimo != minimoY_) {
        // New rows or none: the whole layout in view again.
        if (g_.Ampliada())
            g_.DeshacerZoom();
        g_.YAxis().PonerMin(minimo);
        minimoY_ = minimo;
    }
    dibujo_->PonerFilas(std::move(dibujo));
    // The rows' names take the left margin, as wide as they need (within a limit); the
    // margin the window had comes back with the last row.
    if (!dibujo_->Filas().empty()) {
        if (margenIzquierdo_ < 0)
            margenIzquierdo_ = g_.AreaGrafica().left();
        g_.Dimensions().PonerLeftMargin(std::clamp(dibujo_->AnchoRotulos() + 10, margenIzquierdo_, kMargenMaximo));
    } else if (margenIzquierdo_ >= 0) {
        g_.Dimensions().PonerLeftMargin(margenIzquierdo_);
        margenIzquierdo_ = -1;
    }
    panel_.Mostrar(std::move(tabla));
    if (!Decodificando())
        panel_.PonerProgreso(-1);
    panel_.setVisible(!estado_.empty() && !panelCerrado_);
}

// ---- the dialog ----------------------------------------------------------------------------

void TDecodificacionesVentana::Dialogo()
{
    Conectar();
    if (catalogo_) {
        AbrirDialogo();
        return;
    }
    dialogoPedido_ = true;
    servicio_->PedirCatalogo();
}

void TDecodificacionesVentana::Catalogo(TCatalogoCompartido catalogo, int clave)
{
    const bool pedido = std::exchange(dialogoPedido_, false);
    if (clave != 0) {
        if (pedido) {
            const TContextoPrograma& c = principal_.Contexto();
            c.Interaccion().MostrarError(TextoFallo({clave, {}}, c.Textos()), Botones::Aceptar);
        }
        return;
    }
    catalogo_ = std::move(catalogo);
    if (pedido)
        AbrirDialogo();
}

void TDecodificacionesVentana::AbrirDialogo()
{
    TCjtSenales* set = principal_.Estado().Senales();
    if (!set)
        return;
    const auto mia = [this](const TDecodificacion& d) {
        const QStringList s = d.Senales();
        return !s.isEmpty() && std::all_of(s.begin(), s.end(), [this](const QString& n) { return visibles_.contains(n); });
    };
    std::vector<TDecodificacion> mias, otras;
    for (const TDecodificacion& d : set->Decodificaciones)
        (mia(d) ? mias : otras).push_back(d);
    QPointer<TDecodificacionesVentana> yo(this);
    TfrmDecodificar dlg(principal_.Contexto().Formulario, catalogo_, &principal_.Ventana());
    dlg.Inicializar(mias, visibles_);
    const bool aceptado = dlg.Ejecutar() == QDialog::Accepted;
    if (!yo || !aceptado)
        return;
    set = principal_.Estado().Senales();
    if (!set)
        return;
    otras.insert(otras.end(), dlg.Decodificaciones().begin(), dlg.Decodificaciones().end());
    if (otras != set->Decodificaciones) {
        set->Decodificaciones = std::move(otras);
        principal_.Estado().MarcarModificado();
    }
    panelCerrado_ = false;
    // Every digital window of the set shows what it can of them.
    for (QMdiSubWindow* s : principal_.AreaVentanas().subWindowList())
        if (auto* v = qobject_cast<TfrmSenalesDigitales*>(s->widget()))
            v->ActualizarDecodificaciones();
    if (yo)
        Actualizar(visibles_);
}

// ---- the table -----------------------------------------------------------------------------

void TDecodificacionesVentana::IrA(double desde, double hasta)
{
    double periodo = 0;
    for (const TEstadoDecod& e : estado_)
        if (e.Resultado && e.Resultado->Periodo > 0) {
            periodo = e.Resultado->Periodo;
            break;
        }
    const double ancho = g_.Ampliada() ? std::fabs(g_.XAxis().Max() - g_.XAxis().Min())
                                       : std::max(kVecesCaja * (hasta - desde), kMuestrasMinimas * periodo);
    if (!(ancho > 0))
        return;
    const double centro = (desde + hasta) / 2;
    g_.AmpliarX(centro - ancho / 2, centro + ancho / 2);
}

void TDecodificacionesVentana::ExportarCsv()
{
    const TContextoPrograma& c = principal_.Contexto();
    const QString ruta = c.Dialogos.GuardarFichero(c.Textos().BuscarTexto(kTextoFiltroCsv),
                                                   c.Textos().BuscarTexto(kTextoTituloCsv), QStringLiteral("*.csv"),
                                                   QStringLiteral("csv"));
    if (ruta.isEmpty())
        return;
    bool escrito = false;
    {
        TCursorOcupado cursor(c.Interaccion());
        escrito = EscribirSeguro(ruta, CsvAnotaciones(panel_.Modelo().Todo()));
    }
    if (!escrito)
        c.Interaccion().MostrarError(c.Textos().BuscarTexto(clave::NoExportado) + QLatin1Char(' ') + ruta,
                                     Botones::Aceptar);
}

void TDecodificacionesVentana::AplicarTextos()
{
    panel_.AplicarTextos();
}

} // namespace qv
