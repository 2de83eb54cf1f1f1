#include "display/ventana_espectro.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/formatos.h"
#include "model/senales.h"
#include "plot/grafica_espectro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>
#include <algorithm>

namespace qv {

namespace {

constexpr int kTextoEspectro = 440;
constexpr int kTextoVentana = 441;
constexpr int kTextoEscala = 442;
constexpr int kTextoElija = 448;
constexpr int kTextoPocasMuestras = 449;
constexpr int kTextoLogFrecuencia = 620;

} // namespace

TfrmEspectro::TfrmEspectro(IPrincipal& principal, const QString& senal, TTramo tramo, QWidget* parent)
    : TVentanaFormulario(principal.Contexto().Formulario, 0, Ayuda, parent), principal_(principal), senal_(senal),
      tramo_(tramo)
{
    setObjectName(QStringLiteral("frmEspectro"));
    setMinimumSize(320, 220);
    resize(640, 420);
    TTextos& t = Contexto.Textos;

    LVentana = Etiqueta("LVentana", QString(), this);
    CBVentana = new QComboBox(this);
    CBVentana->setObjectName(QStringLiteral("CBVentana"));
    LVentana->setBuddy(CBVentana);
    LEscala = Etiqueta("LEscala", QString(), this);
    CBEscala = new QComboBox(this);
    CBEscala->setObjectName(QStringLiteral("CBEscala"));
    LEscala->setBuddy(CBEscala);
    CBLogFrecuencia = new QCheckBox(this);
    CBLogFrecuencia->setObjectName(QStringLiteral("CBLogFrecuencia"));
    LRPico = Etiqueta("LRPico", QString(), this);
    LRPico->setStyleSheet(QStringLiteral("color: #dc0000;"));

    GEspectro = new TGraficaEspectro(t, this);
    // The peak is read above the plot: its mark needs no second label.
    GEspectro->PonerRotuloPico(false);
    LFrecuencia = Etiqueta("LFrecuencia", QString(), this);
    LRFrecuencia = Etiqueta("LRFrecuencia", QStringLiteral("-"), this);
    LNivel = Etiqueta("LNivel", QString(), this);
    LRNivel = Etiqueta("LRNivel", QStringLiteral("-"), this);
    // Captions name their readouts for assistive tools.
    LFrecuencia->setBuddy(LRFrecuencia);
    LNivel->setBuddy(LRNivel);
    for (QLabel* l : {LRFrecuencia, LRNivel})
        l->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-000.00 dB00000")));

    auto* opciones = new QHBoxLayout;
    opciones->addWidget(LVentana);
    opciones->addWidget(CBVentana);
    opciones->addSpacing(12);
    opciones->addWidget(LEscala);
    opciones->addWidget(CBEscala);
    opciones->addSpacing(12);
    opciones->addWidget(CBLogFrecuencia);
    opciones->addStretch(1);
    auto* lecturas = new QHBoxLayout;
    lecturas->addWidget(LFrecuencia);
    lecturas->addWidget(LRFrecuencia);
    lecturas->addSpacing(12);
    lecturas->addWidget(LNivel);
    lecturas->addWidget(LRNivel);
    lecturas->addStretch(1);
    lecturas->addWidget(LRPico); // the peak's text, read with the cursor's
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(6, 6, 6, 4);
    columna->addLayout(opciones);
    columna->addWidget(GEspectro, 1);
    columna->addLayout(lecturas);

    // Hann unless chosen otherwise, dB.
    CBVentana->addItems(NombresVentanas(t));
    CBVentana->setCurrentIndex(int(TVentanaFFT::Hann));
    CBEscala->addItems(NombresEscalas(t));
    CBEscala->setCurrentIndex(int(TEscalaEspectro::DB));
    connect(CBVentana, &QComboBox::currentIndexChanged, this, [this] {
        if (!Calcular())
            CerrarVentana();
    });
    connect(CBEscala, &QComboBox::currentIndexChanged, this, [this](int i) {
        GEspectro->PonerEscala(TEscalaEspectro(i));
        Lecturas();
    });
    connect(CBLogFrecuencia, &QCheckBox::toggled, this, [this](bool on) {
        GEspectro->PonerFrecuenciaLog(on);
        Lecturas();
    });
    connect(GEspectro, &TGraficaEspectro::CursorMovido, this, &TfrmEspectro::Lecturas);
    setFocusProxy(GEspectro);
    setTabOrder(CBVentana, CBEscala);
    setTabOrder(CBEscala, CBLogFrecuencia);
    setTabOrder(CBLogFrecuencia, GEspectro);
    Calcular();
    PonerTitulo();
}

TfrmEspectro* TfrmEspectro::Abrir(IPrincipal& principal, const QString& senal, TTramo tramo)
{
    const TCjtSenales* set = principal.Estado().Senales();
    const TSenalAna* s = set ? set->BuscarAna(senal) : nullptr;
    if (!s)
        return nullptr;
    const TTramo t = AcotarTramo(tramo, s->NumMuestras());
    if (t.hasta - t.desde + 1 < 2) {
        const TContextoPrograma& c = principal.Contexto();
        c.Interaccion().MostrarAviso(c.Textos().BuscarTexto(kTextoPocasMuestras), Botones::Aceptar);
        return nullptr;
    }
    auto* w = new TfrmEspectro(principal, senal, tramo);
    QMdiSubWindow* sub = principal.AreaVentanas().addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Wide enough for its controls and the peak's text in any language.
    sub->resize(std::max(w->width(), w->sizeHint().width()), w->height());
    sub->show();
    principal.AreaVentanas().setActiveSubWindow(sub);
    w->GEspectro->setFocus(Qt::OtherFocusReason);
    return w;
}

bool TfrmEspectro::Calcular()
{
    const TCjtSenales* set = principal_.Estado().Senales();
    const TSenalAna* s = set ? set->BuscarAna(senal_) : nullptr;
    if (!s)
        return false;
    GEspectro->Cargar(CalcularEspectro(analizador_, *s, tramo_, TVentanaFFT(CBVentana->currentIndex())), s->Unidad);
    Lecturas();
    return true;
}

void TfrmEspectro::Lecturas()
{
    TTextos& t = Contexto.Textos;
    LRPico->setText(GEspectro->TextoPico());
    const int bin = GEspectro->Cursor();
    const TEspectro& e = GEspectro->Espectro();
    if (bin < 0 || e.Vacio()) {
        LRFrecuencia->setText(QStringLiteral("-"));
        LRNivel->setText(QStringLiteral("-"));
        return;
    }
    LRFrecuencia->setText(TextoFrecuencia(e.Frecuencia(bin), t));
    LRNivel->setText(TextoNivel(e.magnitud[std::size_t(bin)], GEspectro->Escala(), GEspectro->Unidad()));
}

void TfrmEspectro::PonerTitulo()
{
    TTextos& t = Contexto.Textos;
    QString titulo = t.BuscarTexto(kTextoEspectro) + QStringLiteral(": ") + senal_;
    const TCjtSenales* set = principal_.Estado().Senales();
    if (const TSenalAna* s = set ? set->BuscarAna(senal_) : nullptr; s && tramo_.hasta >= 0) {
        const TTramo r = AcotarTramo(tramo_, s->NumMuestras());
        titulo += QStringLiteral(" (") + TextoTramoSegundos(r.desde * s->Periodo(), r.hasta * s->Periodo(), t)
                  + QLatin1Char(')');
    }
    setWindowTitle(titulo);
}

void TfrmEspectro::TextosAplicados()
{
    TTextos& t = Contexto.Textos;
    LVentana->setText(t.BuscarTexto(kTextoVentana));
    LEscala->setText(t.BuscarTexto(kTextoEscala));
    CBLogFrecuencia->setText(t.BuscarTexto(kTextoLogFrecuencia));
    LFrecuencia->setText(t.BuscarTexto(clave::Frecuencia) + QLatin1Char(':'));
    LNivel->setText(t.BuscarTexto(clave::Nivel) + QLatin1Char(':'));
    PonerTitulo();
}

bool TfrmEspectro::Admite(TComando comando) const
{
    return comando == TComando::ZoomMas || comando == TComando::ZoomMenos;
}

void TfrmEspectro::Ejecutar(TComando comando)
{
    if (comando == TComando::ZoomMas)
        GEspectro->ArmarZoom();
    else if (comando == TComando::ZoomMenos)
        GEspectro->DeshacerZoom();
}

void TfrmEspectro::QuitarSenal(const QString& nombre)
{
    if (nombre == senal_)
        CerrarVentana();
}

void TfrmEspectro::RenombrarSenal(const QString& anterior, const QString& nuevo)
{
    if (anterior != senal_)
        return;
    senal_ = nuevo;
    PonerTitulo();
}

// ---- choosing the signal ---------------------------------------------------------------

namespace {

class TfrmElegirEspectro : public TFormulario {
public:
    TfrmElegirEspectro(const TContextoFormulario& c, const QStringList& nombres, QWidget* parent)
        : TFormulario(c, 0, TfrmEspectro::Ayuda, parent)
    {
        setObjectName(QStringLiteral("frmElegirEspectro"));
        auto* rotulo = Etiqueta("LSenalesEspectro", c.Textos.BuscarTexto(kTextoElija), this);
        Lista = CrearLista("LBSenalesEspectro", this, true);
        Lista->addItems(nombres);
        Lista->setCurrentRow(0);
        rotulo->setBuddy(Lista);
        connect(Lista, &QListWidget::itemDoubleClicked, this, [this] { AceptarClick(); });
        auto* columna = new QVBoxLayout(this);
        columna->addWidget(rotulo);
        columna->addWidget(Lista, 1);
        columna->addLayout(CrearBotones());
        setWindowTitle(c.Textos.BuscarTexto(kTextoEspectro));
    }
    QListWidget* Lista;

protected:
    bool Validar() override { return Lista->currentItem() != nullptr; }
};

} // namespace

QString ElegirSenalEspectro(IPrincipal& principal, const QStringList& nombres)
{
    TfrmElegirEspectro d(principal.Contexto().Formulario, nombres, &principal.Ventana());
    if (d.Ejecutar() != QDialog::Accepted || !d.Lista->currentItem())
        return {};
    return d.Lista->currentItem()->text();
}

} // namespace qv
