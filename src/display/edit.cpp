#include "display/edit.h"

#include "app/api/contexto.h"
#include "app/api/estado.h"
#include "app/api/principal.h"
#include "lang/interaccion.h"
#include "lang/textos.h"
#include "lang/ui/ayuda.h"
#include "model/senales.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qv {

namespace {
constexpr int kTextoGuardarComentario = 114;
constexpr int kAyudaComentario = 231;
} // namespace

TfrmEdit::TfrmEdit(IPrincipal& principal, QWidget* parent)
    : TFormulario(principal.Contexto().Formulario, Numero, kAyudaComentario, parent), principal_(principal)
{
    setObjectName(QStringLiteral("frmEdit"));
    setWindowTitle(QStringLiteral("Comentario sobre la captaci\u00f3n"));

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);
    Editor1 = MainMenu1->addMenu(QStringLiteral("*Editor"));
    Editor1->setObjectName(QStringLiteral("Editor1"));
    auto accion = [this](const char* nombre, const QString& texto, void (TfrmEdit::*manejador)()) {
        auto* a = Editor1->addAction(texto);
        a->setObjectName(QLatin1String(nombre));
        connect(a, &QAction::triggered, this, manejador);
        return a;
    };
    Nuevo1 = accion("Nuevo1", QStringLiteral("Nuevo"), &TfrmEdit::Nuevo1Click);
    Abrir1 = accion("Abrir1", QStringLiteral("Abrir"), &TfrmEdit::Abrir1Click);
    Guardar1 = accion("Guardar1", QStringLiteral("Guardar"), &TfrmEdit::Guardar1Click);
    Editor1->addSeparator();
    Salir1 = accion("Salir1", QStringLiteral("Salir"), &TfrmEdit::Salir1Click);
    Ayuda1 = MainMenu1->addAction(QStringLiteral("Ayuda"));
    Ayuda1->setObjectName(QStringLiteral("Ayuda1"));
    connect(Ayuda1, &QAction::triggered, this, [this] {
        if (Contexto.Ayuda)
            Contexto.Ayuda->MostrarAyuda(kAyudaComentario);
    });

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!cargando_)
            cambiado_ = true;
    });

    auto* columna = new QVBoxLayout(this);
    columna->setMenuBar(MainMenu1);
    columna->addWidget(Memo1);
    resize(480, 300);
}

void TfrmEdit::Cargar()
{
    cargando_ = true;
    const TCjtSenales* senales = principal_.Estado().Senales();
    Memo1->setPlainText(senales ? senales->Comentario.join(QLatin1Char('\n')) : QString());
    cargando_ = false;
    cambiado_ = false;
}

void TfrmEdit::AlMostrar()
{
    Cargar();
    Memo1->setFocus();
}

void TfrmEdit::Nuevo1Click()
{
    Memo1->clear();
}

void TfrmEdit::Abrir1Click()
{
    Cargar();
}

void TfrmEdit::Guardar1Click()
{
    TEstadoPrograma& estado = principal_.Estado();
    if (!estado.Senales())
        return;
    QStringList& comentario = estado.Senales()->Comentario;
    comentario.clear();
    const QString texto = Memo1->toPlainText();
    if (!texto.isEmpty())
        comentario = texto.split(QLatin1Char('\n'));
    estado.MarcarModificado();
    cambiado_ = false;
}

void TfrmEdit::Salir1Click()
{
    close();
}

void TfrmEdit::reject()
{
    if (cambiado_) {
        const int r = Interaccion().MostrarPregunta(Textos().BuscarTexto(kTextoGuardarComentario),
                                                    Botones::SiNoCancelar);
        if (r == Respuesta::Si)
            Guardar1Click();
        else if (r != Respuesta::No)
            return; // cancel, or a box closed without a choice: keep editing
    }
    TFormulario::reject();
}

} // namespace qv
