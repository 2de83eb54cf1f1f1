#include "channels/generadores_digitales.h"

#include "channels/campos.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/config_es.h"
#include "model/formatos.h"
#include "model/generadores.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qv {

namespace {
constexpr int kTextoFaltaRetardo = 116;
} // namespace

// ---- pulse train ------------------------------------------------------------------

TfrmGenTren::TfrmGenTren(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida,
                        {Numero, 55, "frmGenTren", "RetardoEdit", TDibujoOnda::TForma::Tren, false, true}, parent)
{
    setWindowTitle(QStringLiteral("Generador Digital  Tren"));
    OnEdit = NuevaCaja("OnEdit", TFiltro::Entero, this);
    OffEdit = NuevaCaja("OffEdit", TFiltro::Entero, this);
    tRetarComboBox = NuevaCajaUnidades("tRetarComboBox", Textos(), this);
    Vaciables({OnEdit, OffEdit});

    Fila(0, NuevaEtiqueta("Label1", QStringLiteral("Tiempo Retardo(Seg)"), this, RetardoEdit), RetardoEdit,
         NuevaEtiqueta("Label4", QStringLiteral("Unidad"), this, UnidadTEdit), UnidadTEdit);
    Fila(1, NuevaEtiqueta("Label2", QStringLiteral("Tiempo ON"), this, OnEdit), OnEdit,
         NuevaEtiqueta("Label5", QStringLiteral("Unidad"), this, tRetarComboBox), tRetarComboBox);
    Fila(2, NuevaEtiqueta("Label3", QStringLiteral("Tiempo OFF"), this, OffEdit), OffEdit);
    PonerTituloImagen(NuevaEtiqueta("Label6", QStringLiteral("Tren de pulsos"), this));
    Montar({21050, 21051, 21052}); // legend: To, Ton, Toff

    const TGenerador* g = GeneradorDeClase(TClaseGenerador::Tren);
    MostrarRetardo(g, Unidad::Mili);
    tRetarComboBox->setCurrentIndex(Unidad::Mili);
    if (g) {
        float on = Parametro(*g, "TiempoOn"), off = Parametro(*g, "TiempoOff");
        int unidad = g->UnidadParametro;
        // Minutes come only from files: the box offers seconds at most.
        if (unidad > Unidad::Segundo) {
            on *= 60;
            off *= 60;
            unidad = Unidad::Segundo;
        }
        OnEdit->setText(FormatoGeneral(double(on), 7));
        OffEdit->setText(FormatoGeneral(double(off), 7));
        tRetarComboBox->setCurrentIndex(unidad);
    }
}

bool TfrmGenTren::Validar()
{
    RetardoEdit->setFocus();
    const QLatin1String cero("0");
    if (AlgunaVacia({OffEdit, OnEdit, RetardoEdit}) || OffEdit->text() == cero || OnEdit->text() == cero)
        return Aviso(clave::Faltan, RetardoEdit);
    const auto retardo = RetardoEntero();
    if (!retardo)
        return false;
    const auto on = Float(*OnEdit);
    if (!on)
        return false;
    const auto off = Float(*OffEdit);
    if (!off)
        return false;
    Guardar(std::make_unique<TGenTren>(Textos(), PalabraUnidad(*UnidadTEdit), PalabraUnidad(*tRetarComboBox), *off,
                                       *on, *retardo));
    return true;
}

// ---- single pulse -----------------------------------------------------------------

TfrmGenPulso::TfrmGenPulso(IPrincipal& principal, TConfigES& trabajo, int salida, QWidget* parent)
    : TDialogoGenerador(principal, trabajo, salida,
                        {Numero, 253, "frmGenPulso", "Edit1", TDibujoOnda::TForma::Pulso, false, false}, parent)
{
    setWindowTitle(QStringLiteral("Generador Digital Pulso"));
    CBBajo = new QCheckBox(QStringLiteral("BAJO"), this);
    CBBajo->setObjectName(QStringLiteral("CBBajo"));
    CBAlto = new QCheckBox(QStringLiteral("ALTO"), this);
    CBAlto->setObjectName(QStringLiteral("CBAlto"));
    connect(CBAlto, &QCheckBox::clicked, this, &TfrmGenPulso::CBAltoMouseUp);
    connect(CBBajo, &QCheckBox::clicked, this, &TfrmGenPulso::CBBajoMouseUp);

    Fila(0, NuevaEtiqueta("Label2", QStringLiteral("Tiempo de Retardo :"), this, RetardoEdit), RetardoEdit,
         UnidadTEdit);
    auto* nivel = new QHBoxLayout;
    nivel->addWidget(CBBajo);
    nivel->addWidget(CBAlto);
    nivel->addStretch(1);
    Campos->addWidget(NuevaEtiqueta("Label1", QStringLiteral("Nivel del pulso"), this, CBBajo), 1, 0);
    Campos->addLayout(nivel, 1, 1, 1, 2);
    Montar({17050}); // legend: To
    setTabOrder(UnidadTEdit, CBBajo);
    setTabOrder(CBBajo, CBAlto);
    setTabOrder(CBAlto, BotonAceptar());

    const TGenerador* g = GeneradorDeClase(TClaseGenerador::Pulso);
    MostrarRetardo(g, Unidad::Mili);
    const bool bajo = g && Parametro(*g, "Nivel") == 1;
    CBBajo->setChecked(bajo);
    CBAlto->setChecked(!bajo);
    Imagen->PonerBajada(bajo);
}

void TfrmGenPulso::CBAltoMouseUp()
{
    CBBajo->setChecked(!CBAlto->isChecked());
    Imagen->PonerBajada(CBBajo->isChecked());
}

void TfrmGenPulso::CBBajoMouseUp()
{
    CBAlto->setChecked(!CBBajo->isChecked());
    Imagen->PonerBajada(CBBajo->isChecked());
}

bool TfrmGenPulso::Validar()
{
    RetardoEdit->setFocus();
    if (RetardoEdit->text().isEmpty())
        return Aviso(kTextoFaltaRetardo, RetardoEdit);
    const auto retardo = RetardoEntero();
    if (!retardo)
        return false;
    const std::uint8_t nivel = CBBajo->isChecked() ? 1 : 0;
    Guardar(std::make_unique<TGenPulso>(Textos(), nivel, Textos().BuscarTexto(clave::Segundos),
                                        PalabraUnidad(*UnidadTEdit), *retardo));
    return true;
}

} // namespace qv
