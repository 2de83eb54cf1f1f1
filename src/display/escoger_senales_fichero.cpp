#include "display/escoger_senales_fichero.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "model/claves_texto.h"
#include "model/escritura_segura.h"
#include "model/fichero_senales.h"
#include "model/senales.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// The name-clash dialog is asked again while the name still clashes; a script that
// never changes it must not hold the dialog for ever.
constexpr int kMaxPreguntasNombre = 1000;
const QString kOmitir = QStringLiteral("Omitir");

} // namespace

TfrmEscSenFich::TfrmEscSenFich(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, 169, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmEscSenFich"));
    setWindowTitle(QStringLiteral("Escoger se\u00f1ales de fichero"));

    LabelSrc = new QLabel(QStringLiteral("Se\u00f1ales en fichero"), this);
    LabelSrc->setObjectName(QStringLiteral("LabelSrc"));
    LabelDst = new QLabel(QStringLiteral("Se\u00f1ales a a\u00f1adir"), this);
    LabelDst->setObjectName(QStringLiteral("LabelDst"));
    LabelFichero = new QLabel(QStringLiteral("Fichero :"), this);
    LabelFichero->setObjectName(QStringLiteral("LabelFichero"));
    Lfichero = new QLabel(this);
    Lfichero->setObjectName(QStringLiteral("Lfichero"));
    Lfichero->setTextFormat(Qt::PlainText);

    SrcList = CrearLista("SrcList", this);
    SrcList->setSortingEnabled(true);
    DstList = CrearLista("DstList", this);

    IncludeBtn = Boton("IncludeBtn", QStringLiteral(">"), this);
    IncAllBtn = Boton("IncAllBtn", QStringLiteral(">>"), this);
    ExcludeBtn = Boton("ExcludeBtn", QStringLiteral("<"), this);
    ExAllBtn = Boton("ExAllBtn", QStringLiteral("<<"), this);

    connect(IncludeBtn, &QPushButton::clicked, this, &TfrmEscSenFich::IncludeBtnClick);
    connect(IncAllBtn, &QPushButton::clicked, this, &TfrmEscSenFich::IncAllBtnClick);
    connect(ExcludeBtn, &QPushButton::clicked, this, &TfrmEscSenFich::ExcludeBtnClick);
    connect(ExAllBtn, &QPushButton::clicked, this, &TfrmEscSenFich::ExAllBtnClick);
    connect(SrcList, &QListWidget::itemDoubleClicked, this, &TfrmEscSenFich::IncludeBtnClick);
    connect(DstList, &QListWidget::itemDoubleClicked, this, &TfrmEscSenFich::ExcludeBtnClick);

    QGridLayout* rejilla =
        DosListas(LabelSrc, SrcList, LabelDst, DstList, {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn});

    auto* fichero = new QHBoxLayout;
    fichero->addWidget(LabelFichero);
    fichero->addWidget(Lfichero, 1);

    QHBoxLayout* botones = CrearBotones(BtnAceptar | BtnCancelar | BtnAyuda, "OKBtn", "CancelBtn", "BtnHelp");

    auto* columna = new QVBoxLayout(this);
    columna->addLayout(rejilla);
    columna->addLayout(fichero);
    columna->addLayout(botones);
    resize(420, 330);

    SetButtons();
}

bool TfrmEscSenFich::InicializarListaSenales(const QString& fichero)
{
    SrcList->clear();
    DstList->clear();
    fichero_ = fichero;
    Lfichero->setText(QFileInfo(fichero).fileName());

    QByteArray datos;
    const bool leido = LeerFicheroEntero(fichero, datos);
    // A name offered twice would load the same first block twice.
    if (leido)
        SrcList->addItems(NombresSenales(datos));
    SetButtons();
    return leido;
}

void TfrmEscSenFich::AlMostrar()
{
    Lfichero->setText(QFileInfo(fichero_).fileName());
}

void TfrmEscSenFich::SetButtons()
{
    IncludeBtn->setEnabled(SrcList->count() > 0);
    IncAllBtn->setEnabled(SrcList->count() > 0);
    ExcludeBtn->setEnabled(DstList->count() > 0);
    ExAllBtn->setEnabled(DstList->count() > 0);
}

void TfrmEscSenFich::IncludeBtnClick()
{
    MoverNombres(*SrcList, *DstList, false);
    SetButtons();
}

void TfrmEscSenFich::IncAllBtnClick()
{
    MoverNombres(*SrcList, *DstList, true);
    SetButtons();
}

void TfrmEscSenFich::ExcludeBtnClick()
{
    MoverNombres(*DstList, *SrcList, false);
    SetButtons();
}

void TfrmEscSenFich::ExAllBtnClick()
{
    MoverNombres(*DstList, *SrcList, true);
    SetButtons();
}

void TfrmEscSenFich::OKBtnClick()
{
    AceptarClick();
}

bool TfrmEscSenFich::Validar()
{
    anadidas_.clear();
    TCjtSenales* senales = principal_.Estado().Senales();
    if (!senales) {
        reject();
        return false;
    }
    QByteArray datos;
    if (DstList->count() > 0 && !LeerFicheroEntero(fichero_, datos)) {
        Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoCargado), Botones::Aceptar);
        reject();
        return false;
    }
    for (const QString& nombre : NombresDe(*DstList)) {
        QString final = nombre;
        bool omitir = false;
        for (int preguntas = 0; senales->Existe(final); ++preguntas) {
            if (preguntas >= kMaxPreguntasNombre) {
                omitir = true;
                break;
            }
            final = Interaccion().PedirNombreNuevo(final);
            if (final == kOmitir || final.isEmpty()) {
                omitir = true;
                break;
            }
        }
        if (omitir)
            continue;
        const int antes = senales->NumAna() + senales->NumDig();
        try {
            LeerSenalDeDatos(*senales, datos, nombre, final);
        } catch (const std::exception&) {
            // A damaged block: the signals added so far stay, the rest is not read.
            Interaccion().MostrarAviso(Textos().BuscarTexto(clave::NoCargado), Botones::Aceptar);
            break;
        }
        if (senales->NumAna() + senales->NumDig() > antes)
            anadidas_ << final;
    }
    principal_.Estado().MarcarModificado();
    return true;
}

} // namespace qv
