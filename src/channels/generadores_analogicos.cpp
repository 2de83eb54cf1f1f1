#include "channels/generadores_analogicos.h"

#include "channels/campos.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/generadores.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr double kLimiteSeno = 500; // volts, amplitude plus offset, whatever the output plays

QString DosDecimales(double v)
{
    return FormatoFijo(v, 2);
}

// A time parameter in general notation, at the precision it is stored with.
QString Tiempo(float v)
{
    return FormatoGeneral(double(v), 7);
}

} // namespace

// ---- sine -------------------------------------------------------------------------

TfrmGenSeno::TfrmGenSeno(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida,
                        {Numero, 66, "frmGenSeno", "RetardoEdit", TDibujoOnda::TForma::Seno, true, true}, parent)
{
    setWindowTitle(QStringLiteral("Generador Analogico Seno"));
    AOffsetEdit = NuevaCaja("AOffsetEdit", TFiltro::Decimal, this);
    ASenoEdit = NuevaCaja("ASenoEdit", TFiltro::Decimal, this);
    FrecuEdit = NuevaCaja("FrecuEdit", TFiltro::Decimal, this);
    DesfaseEdit = NuevaCaja("DesfaseEdit", TFiltro::Decimal, this);
    Vaciables({AOffsetEdit, ASenoEdit, FrecuEdit, DesfaseEdit});

    Fila(0, NuevaEtiqueta("Label1", QStringLiteral("Tiempo Retardo(Seg)"), this, RetardoEdit), RetardoEdit,
         NuevaEtiqueta("Label6", QStringLiteral("Unidad"), this, UnidadTEdit), UnidadTEdit);
    Fila(1, NuevaEtiqueta("Label2", QStringLiteral("Amplitud de Offset (Volt)"), this, AOffsetEdit),
         AOffsetEdit, NuevaEtiqueta("Label7", QStringLiteral("V"), this));
    Fila(2, NuevaEtiqueta("Label3", QStringLiteral("Amplitud de Senoide(Volt)"), this, ASenoEdit), ASenoEdit,
         NuevaEtiqueta("Label8", QStringLiteral("V"), this));
    Fila(3, NuevaEtiqueta("Label4", QStringLiteral("Frecuencia(Hz)"), this, FrecuEdit), FrecuEdit,
         NuevaEtiqueta("Label9", QStringLiteral("Hz"), this));
    Fila(4, NuevaEtiqueta("Label5", QStringLiteral("Desfase (grados)"), this, DesfaseEdit), DesfaseEdit);
    Montar({19050, 19051, 19052}); // legend: To, Ao, A1

    const TGenerador* g = GeneradorDeClase(TClaseGenerador::Seno);
    MostrarRetardo(g, Unidad::Mili);
    if (g) {
        FrecuEdit->setText(DosDecimales(Parametro(*g, "Frecuencia")));
        AOffsetEdit->setText(DosDecimales(Parametro(*g, "Offset")));
        ASenoEdit->setText(DosDecimales(Parametro(*g, "Amplitud")));
        DesfaseEdit->setText(DosDecimales(std::round(double(Parametro(*g, "Fase")) * 180 / std::numbers::pi)));
    }
}

bool TfrmGenSeno::Validar()
{
    RetardoEdit->setFocus();
    if (AlgunaVacia({FrecuEdit, AOffsetEdit, RetardoEdit, ASenoEdit, DesfaseEdit}))
        return Aviso(clave::Faltan, RetardoEdit);
    const auto retardo = RetardoEntero();
    if (!retardo)
        return false;
    const auto offset = Float(*AOffsetEdit);
    if (!offset)
        return false;
    const auto amplitud = Float(*ASenoEdit);
    if (!amplitud)
        return false;
    if (std::abs(double(*amplitud) + double(*offset)) > kLimiteSeno)
        return Aviso(clave::Amplitud, AOffsetEdit);
    const auto frecuencia = Float(*FrecuEdit);
    if (!frecuencia)
        return false;
    const auto grados = Real(*DesfaseEdit);
    if (!grados)
        return false;
    auto g = std::make_unique<TGenSeno>(Textos(), PalabraUnidad(*UnidadTEdit), Textos().BuscarTexto(clave::Segundos),
                                        *retardo, float(*grados * std::numbers::pi / 180), *frecuencia, *offset,
                                        *amplitud);
    if (!NivelesEnSalida(*g, true, AOffsetEdit))
        return false;
    Guardar(std::move(g));
    return true;
}

// ---- ramp -------------------------------------------------------------------------

TfrmGenRampa::TfrmGenRampa(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida,
                        {Numero, 259, "frmGenRampa", "RetardoEdit", TDibujoOnda::TForma::Rampa, true, true}, parent)
{
    setWindowTitle(QStringLiteral("Generador Analogico Rampa"));
    tRampaEdit = NuevaCaja("tRampaEdit", TFiltro::Entero, this);
    tRetarComboBox = NuevaCajaUnidades("tRetarComboBox", Textos(), this);
    AOffsetEdit = NuevaCaja("AOffsetEdit", TFiltro::Decimal, this);
    ARampaEdit = NuevaCaja("ARampaEdit", TFiltro::Decimal, this);
    Vaciables({tRampaEdit, AOffsetEdit, ARampaEdit});

    Fila(0, NuevaEtiqueta("Label1", QStringLiteral("Tiempo Retardo(Seg)"), this, RetardoEdit), RetardoEdit,
         NuevaEtiqueta("Label3", QStringLiteral("Unidad"), this, UnidadTEdit), UnidadTEdit);
    Fila(1, NuevaEtiqueta("Label5", QStringLiteral("Tiempo de Rampa"), this, tRampaEdit), tRampaEdit,
         NuevaEtiqueta("Label6", QStringLiteral("Unidad"), this, tRetarComboBox), tRetarComboBox);
    Fila(2, NuevaEtiqueta("Label2", QStringLiteral("Amplitud en Offset(Volt)"), this, AOffsetEdit),
         AOffsetEdit, NuevaEtiqueta("Label8", QStringLiteral("V"), this));
    Fila(3, NuevaEtiqueta("Label4", QStringLiteral("Amplitud de Rampa(Volt)"), this, ARampaEdit), ARampaEdit,
         NuevaEtiqueta("Label7", QStringLiteral("V"), this));
    Montar({18050, 18051, 18052, 18053}); // legend: To, Ao, A1, Tr

    const TGenerador* g = GeneradorDeClase(TClaseGenerador::Rampa);
    MostrarRetardo(g, Unidad::Mili);
    tRetarComboBox->setCurrentIndex(Unidad::Mili);
    if (g) {
        float tiempo = Parametro(*g, "TiempoRampa");
        int unidad = g->UnidadParametro;
        // Minutes come only from files: the box offers seconds at most.
        if (unidad > Unidad::Segundo) {
            tiempo *= 60;
            unidad = Unidad::Segundo;
        }
        tRampaEdit->setText(Tiempo(tiempo));
        tRetarComboBox->setCurrentIndex(unidad);
        AOffsetEdit->setText(DosDecimales(Parametro(*g, "Offset")));
        ARampaEdit->setText(DosDecimales(Parametro(*g, "Amplitud")));
    }
}

bool TfrmGenRampa::Validar()
{
    RetardoEdit->setFocus();
    if (AlgunaVacia({ARampaEdit, AOffsetEdit, RetardoEdit, tRampaEdit}) || tRampaEdit->text() == QLatin1String("0"))
        return Aviso(clave::Faltan, RetardoEdit);
    const auto retardo = RetardoEntero();
    if (!retardo)
        return false;
    const auto offset = Float(*AOffsetEdit);
    if (!offset)
        return false;
    const auto amplitud = Float(*ARampaEdit);
    if (!amplitud)
        return false;
    const auto tiempo = Float(*tRampaEdit);
    if (!tiempo)
        return false;
    // "00" passes the text check but is a ramp of no time, which has no value at its
    // start: no capture could be programmed with it.
    if (*tiempo == 0)
        return Aviso(clave::Faltan, tRampaEdit);
    auto g = std::make_unique<TGenRampa>(Textos(), PalabraUnidad(*UnidadTEdit), PalabraUnidad(*tRetarComboBox),
                                         *tiempo, *retardo, *offset, *amplitud);
    if (!NivelesEnSalida(*g, false, AOffsetEdit))
        return false;
    Guardar(std::move(g));
    return true;
}

// ---- step -------------------------------------------------------------------------

TfrmGenEscalon::TfrmGenEscalon(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida,
                        {Numero, 258, "frmGenEscalon", "RetardoEdit", TDibujoOnda::TForma::Escalon, true, true},
                        parent)
{
    setWindowTitle(QStringLiteral("Generador Analogico Escalon"));
    AOffsetEdit = NuevaCaja("AOffsetEdit", TFiltro::Decimal, this);
    AEscalonEdit = NuevaCaja("AEscalonEdit", TFiltro::Decimal, this);
    Vaciables({AOffsetEdit, AEscalonEdit});

    Fila(0, NuevaEtiqueta("Label1", QStringLiteral("Tiempo Retardo(Seg)"), this, RetardoEdit), RetardoEdit,
         NuevaEtiqueta("Label4", QStringLiteral("Unidad"), this, UnidadTEdit), UnidadTEdit);
    Fila(1, NuevaEtiqueta("Label2", QStringLiteral("Amplitud en Offset(Volt)"), this, AOffsetEdit),
         AOffsetEdit, NuevaEtiqueta("Label5", QStringLiteral("V"), this));
    Fila(2, NuevaEtiqueta("Label3", QStringLiteral("Amplitud de Escalon(Volt)"), this, AEscalonEdit),
         AEscalonEdit, NuevaEtiqueta("Label6", QStringLiteral("V"), this));
    Montar({16050, 16051, 16052}); // legend: To, Ao, A1

    // A new step counts its delay in seconds, unlike the other kinds.
    const TGenerador* g = GeneradorDeClase(TClaseGenerador::Escalon);
    MostrarRetardo(g, Unidad::Segundo);
    unidadRetardo_ = UnidadTEdit->currentIndex();
    if (g) {
        AOffsetEdit->setText(DosDecimales(Parametro(*g, "Offset")));
        AEscalonEdit->setText(DosDecimales(Parametro(*g, "Amplitud")));
    }
}

void TfrmGenEscalon::AlMostrar()
{
    UnidadTEdit->setCurrentIndex(unidadRetardo_);
}

bool TfrmGenEscalon::Validar()
{
    RetardoEdit->setFocus();
    if (AlgunaVacia({AOffsetEdit, RetardoEdit, AEscalonEdit}))
        return Aviso(clave::Faltan, RetardoEdit);
    const auto retardo = RetardoEntero();
    if (!retardo)
        return false;
    const auto offset = Float(*AOffsetEdit);
    if (!offset)
        return false;
    const auto amplitud = Float(*AEscalonEdit);
    if (!amplitud)
        return false;
    auto g = std::make_unique<TGenEscalon>(Textos(), PalabraUnidad(*UnidadTEdit),
                                           Textos().BuscarTexto(clave::Segundos), *retardo, *amplitud, *offset);
    if (!NivelesEnSalida(*g, false, AOffsetEdit))
        return false;
    Guardar(std::move(g));
    return true;
}

} // namespace qv
