#include "channels/tablas_generador.h"

#include "app/api/contexto.h"
#include "app/api/dialogos_archivo.h"
#include "app/api/principal.h"
#include "channels/campos.h"
#include "channels/editor_tablas.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/generadores.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

namespace qv {

namespace {

constexpr int kTextoSinFichero = 163;
constexpr int kTextoTablaNoCargada = 164;
constexpr int kDigitosRetardo = 5;

// The file of a table generator (the classes tell which kind it is).
QString FicheroDe(const TGenerador& g)
{
    switch (g.Clase()) {
    case TClaseGenerador::TablaAnalogica: return static_cast<const TGenTablaAna&>(g).Fichero;
    case TClaseGenerador::TablaDigital: return static_cast<const TGenTablaDig&>(g).Fichero;
    default: return {};
    }
}

} // namespace

TDialogoTabla::TDialogoTabla(IPrincipal& principal, TConfigES& trabajo, int salida, const TDatos& datos,
                             const char* nombreBrowse, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida, datos, parent)
{
    RetardoEdit->setMaxLength(kDigitosRetardo);
    NombreFichEdit = new QLineEdit(this);
    NombreFichEdit->setObjectName(QStringLiteral("NombreFichEdit"));
    NombreFichEdit->setReadOnly(true);
    NombreFichEdit->setMinimumWidth(150);
    SBrowse = new QPushButton(QStringLiteral("..."), this);
    SBrowse->setObjectName(QLatin1String(nombreBrowse));
    SBrowse->setAutoDefault(false);
    SBrowse->setFixedWidth(32);
    SpbEditor = new QPushButton(QStringLiteral("Editor de tablas"), this);
    SpbEditor->setObjectName(QStringLiteral("SpbEditor"));
    SpbEditor->setAutoDefault(false);
    OpenDialog1 = new QObject(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setProperty("filter", QStringLiteral("Datos de tabla *.TBA|*.tba;*.TBA|Todos los archivos *.*|*"));
    OpenDialog1->setProperty("windowTitle", QString());
    connect(SBrowse, &QPushButton::clicked, this, &TDialogoTabla::SBrowseClick);
    connect(SpbEditor, &QPushButton::clicked, this, &TDialogoTabla::SpbEditorClick);
    Vaciables({NombreFichEdit});

    Fila(0, NuevaEtiqueta("RetardoLabel", QStringLiteral("Tiempo Retardo(Seg)"), this, RetardoEdit), RetardoEdit,
         NuevaEtiqueta("Label1", QStringLiteral("Unidad"), this, UnidadTEdit), UnidadTEdit);
    Campos->addWidget(NuevaEtiqueta("NombreFichLabel", QStringLiteral("Nombre de Fichero"), this, SBrowse), 1, 0);
    Campos->addWidget(NombreFichEdit, 1, 1, 1, 2);
    Campos->addWidget(SBrowse, 1, 3, Qt::AlignLeft);
    Campos->addWidget(SpbEditor, 2, 1, 1, 2);

    RetardoEdit->setText(QStringLiteral("0"));
    const TGenerador* g = GeneradorDeClase(datos.analogica ? TClaseGenerador::TablaAnalogica
                                                           : TClaseGenerador::TablaDigital);
    MostrarRetardo(g, Unidad::Mili);
    if (g) {
        ruta_ = FicheroDe(*g);
        NombreFichEdit->setText(SinCarpeta(ruta_));
    }
}

void TDialogoTabla::SBrowseClick()
{
    const QString filtro = OpenDialog1->property("filter").toString();
    const QString titulo = OpenDialog1->property("windowTitle").toString();
    // The box starts where the present table is.
    const QString inicial = ruta_.isEmpty() ? QStringLiteral("*.tba") : ruta_;
    const QString elegido = principal_.Contexto().Dialogos.AbrirFichero(filtro, titulo, inicial);
    if (elegido.isEmpty())
        return;
    ruta_ = elegido;
    NombreFichEdit->setText(SinCarpeta(ruta_));
}

void TDialogoTabla::SpbEditorClick()
{
    TfrmEditTab editor(principal_, this);
    editor.Ejecutar();
}

bool TDialogoTabla::Validar()
{
    if (RetardoEdit->text().isEmpty())
        return Aviso(clave::FaltanDatos, RetardoEdit);
    if (NombreFichEdit->text().isEmpty())
        return Aviso(kTextoSinFichero, nullptr);
    const auto retardo = Real(*RetardoEdit);
    if (!retardo)
        return false;
    if (*retardo > RetardoMaximo || *retardo < 0)
        return Aviso(clave::RetardoGrande, RetardoEdit);

    const float segundos = Segundos(*retardo, *UnidadTEdit);
    const QString unidad = PalabraUnidad(*UnidadTEdit);
    const TContextoPrograma& c = principal_.Contexto();
    const TContextoTablas tablas{c.Textos(), c.Interaccion(), c.CarpetaPrograma};
    if (analogica_) {
        auto g = std::make_unique<TGenTablaAna>(Textos(), ruta_, unidad, segundos);
        if (g->CargarTabla(salida_, tablas)) {
            // A table not written by the editor may hold levels beyond the output's;
            // declined, the output keeps the generator it had.
            if (!NivelesEnSalida(*g, true, nullptr))
                return false;
            Guardar(std::move(g));
            return true;
        }
    } else {
        auto g = std::make_unique<TGenTablaDig>(Textos(), ruta_, unidad, segundos);
        if (g->CargarTabla(salida_, tablas)) {
            Guardar(std::move(g));
            return true;
        }
    }

    // The output's old generator is gone already: the output cannot play anything.
    QuitarGenerador();
    if (analogica_)
        trabajo_.SalAna(salida_).Activo = false;
    else {
        trabajo_.SalDig(salida_).Activo = false;
        NombreFichEdit->clear();
    }
    return Aviso(kTextoTablaNoCargada, nullptr);
}

// ---- the two kinds ----------------------------------------------------------------

TfrmGridAna::TfrmGridAna(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoTabla(principal, trabajo, salida,
                    {Numero, 260, "frmGridAna", "RetardoEdit", TDibujoOnda::TForma::TablaAna, true, true}, "SBrowse",
                    parent)
{
    setWindowTitle(QStringLiteral("Configurar Tabla Anal\u00f3gica"));
    PonerNota(NuevaEtiqueta("Label2", QStringLiteral("Valores en voltios"), this));
    Montar({20050}); // legend: To
}

TfrmGridDigi::TfrmGridDigi(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoTabla(principal, trabajo, salida,
                    {Numero, 254, "frmGridDigi", "RetardoEdit", TDibujoOnda::TForma::TablaDig, false, true},
                    "SBROWSE", parent)
{
    setWindowTitle(QStringLiteral("Configurar Tabla Digital"));
    // The form's texts name a second unit caption, which this layout has no place for.
    NuevaEtiqueta("Label2", QStringLiteral("Unidad"), this)->hide();
    Montar({22050}); // legend: To
}

} // namespace qv
