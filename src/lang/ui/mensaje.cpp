#include "lang/ui/mensaje.h"

#include "lang/interaccion.h"
#include "lang/textos.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace qv {

namespace {

constexpr int kTopBotones = 92;
constexpr int kAltoBoton = 30;

} // namespace

TfrmMensaje::TfrmMensaje(const TContextoFormulario& contexto, QWidget* parent)
    : TFormulario(contexto, Numero, 0, parent)
{
    setObjectName(QStringLiteral("frmMensaje"));
    setWindowTitle(QStringLiteral("Mensaje"));
    setFixedSize(528, 131);

    IAviso = NuevoIcono("IAviso", QStyle::SP_MessageBoxWarning);
    IStop = NuevoIcono("IStop", QStyle::SP_MessageBoxCritical);
    Ipregunta = NuevoIcono("Ipregunta", QStyle::SP_MessageBoxQuestion);
    IInformacion = NuevoIcono("IInformacion", QStyle::SP_MessageBoxInformation);

    texto = new QTextEdit(this);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setGeometry(85, 24, 369, 50);
    texto->setReadOnly(true);
    texto->setFrameShape(QFrame::NoFrame);
    texto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    texto->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    texto->setFocusPolicy(Qt::NoFocus);
    // Reads as part of the box, not as an edit field.
    texto->viewport()->setAutoFillBackground(false);
    texto->setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));

    BtnAceptar = NuevoBoton("BtnAceptar", QStringLiteral("Aceptar"), 87, Respuesta::Aceptar);
    BtnSi = NuevoBoton("BtnSi", QStringLiteral("Si"), 89, Respuesta::Si);
    BtnNo = NuevoBoton("BtnNo", QStringLiteral("No"), 89, Respuesta::No);
    BtnCancel = NuevoBoton("BtnCancel", QStringLiteral("Cancelar"), 121, Respuesta::Cancelar);
    BtnChange = NuevoBoton("BtnChange", QStringLiteral("Cambiar Nombre"), 154,
                           Respuesta::CambiarNombre);
    BtnOverwrite = NuevoBoton("BtnOverwrite", QStringLiteral("Sobreescribir"), 130,
                              Respuesta::Sobreescribir);
    btnOmitir = NuevoBoton("btnOmitir", QStringLiteral("No incluir la se\u00f1al"), 186,
                           Respuesta::Omitir);

    ActivarBotones(-1);
    DesactivarImagenes();
}

QPushButton* TfrmMensaje::NuevoBoton(const char* nombre, const QString& caption, int ancho,
                                     int respuesta)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setGeometry(0, kTopBotones, ancho, kAltoBoton);
    connect(b, &QPushButton::clicked, this, [this, respuesta] { done(respuesta); });
    return b;
}

QLabel* TfrmMensaje::NuevoIcono(const char* nombre, int icono)
{
    auto* l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(nombre));
    l->setGeometry(10, 10, 32, 32);
    l->setPixmap(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icono)).pixmap(32, 32));
    return l;
}

void TfrmMensaje::ActivarBotones(int botones)
{
    for (QPushButton* b : {BtnAceptar, BtnSi, BtnNo, BtnCancel, BtnChange, BtnOverwrite, btnOmitir}) {
        b->hide();
        b->setDefault(false);
    }
    auto poner = [](QPushButton* b, int izquierda) {
        b->move(izquierda, kTopBotones);
        b->show();
    };
    QPushButton* porDefecto = nullptr;
    switch (botones) {
    case Botones::Si:
        poner(BtnSi, 212);
        porDefecto = BtnSi;
        break;
    case Botones::No:
        poner(BtnNo, 212);
        break;
    case Botones::Cancelar:
        poner(BtnCancel, 212);
        break;
    case Botones::Aceptar:
        poner(BtnAceptar, 212);
        porDefecto = BtnAceptar;
        break;
    case Botones::SiNoCancelar:
        poner(BtnSi, 96);
        poner(BtnNo, 212);
        poner(BtnCancel, 328);
        porDefecto = BtnSi;
        break;
    case Botones::AceptarCancelar:
        poner(BtnAceptar, 138);
        poner(BtnCancel, 280);
        porDefecto = BtnAceptar;
        break;
    case Botones::Conflicto:
        poner(BtnOverwrite, 25);
        poner(BtnChange, 175);
        poner(btnOmitir, 335);
        porDefecto = BtnChange;
        break;
    default:
        break; // no button: only the title bar closes it
    }
    if (porDefecto != nullptr) {
        porDefecto->setDefault(true);
        porDefecto->setFocus();
    }
}

void TfrmMensaje::DesactivarImagenes()
{
    for (QLabel* l : {IAviso, IStop, Ipregunta, IInformacion})
        l->hide();
}

void TfrmMensaje::WriteMsg(const QString& mensaje)
{
    texto->clear();
    const qsizetype punto = mensaje.indexOf(QLatin1Char('.'));
    QTextCursor c(texto->document());
    if (punto < 0) {
        c.insertText(mensaje);
    } else {
        c.insertText(mensaje.left(punto + 1));
        c.insertBlock();
        c.insertText(mensaje.mid(punto + 1));
    }
    QTextBlockFormat centrado;
    centrado.setAlignment(Qt::AlignHCenter);
    c.select(QTextCursor::Document);
    c.mergeBlockFormat(centrado);
}

void TfrmMensaje::Preparar(TSabor sabor, const QString& mensaje, int botones)
{
    ActivarBotones(botones);
    DesactivarImagenes();
    switch (sabor) {
    case TSabor::Error:
        IStop->show();
        claveTitulo_ = 189;
        break;
    case TSabor::Aviso:
        IAviso->show();
        claveTitulo_ = 188;
        break;
    case TSabor::Pregunta:
        Ipregunta->show();
        claveTitulo_ = 190;
        break;
    case TSabor::Informacion:
        IInformacion->show();
        claveTitulo_ = 191;
        break;
    }
    setWindowTitle(Textos().BuscarTexto(claveTitulo_));
    WriteMsg(mensaje);
}

void TfrmMensaje::TextosAplicados()
{
    // Whatever a table gives the caption, the box shows its flavour's title.
    if (claveTitulo_ != 0)
        setWindowTitle(Textos().BuscarTexto(claveTitulo_));
}

void TfrmMensaje::keyPressEvent(QKeyEvent* e)
{
    // Escape answers the most cautious button shown: never "Sobreescribir" (it would
    // replace a signal) and "Cancelar" before "No" (a "save changes?" box must not
    // discard them on Escape). Without one of those it closes the box (answer 2).
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        for (QPushButton* b : {BtnCancel, btnOmitir, BtnNo}) {
            if (!b->isHidden()) {
                b->click();
                return;
            }
        }
    }
    TFormulario::keyPressEvent(e);
}

void TfrmMensaje::reject()
{
    done(Respuesta::Cancelar);
}

} // namespace qv
