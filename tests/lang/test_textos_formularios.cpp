#include "lang/idioma.h"
#include "lang/ui/textos_formularios.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariant>
#include <gtest/gtest.h>

namespace qv {
namespace {

// Records which lookups ran, answering "L<key>".
struct TextosContados : TTextos {
    mutable std::vector<int> leidos;
    mutable int buscados = 0;
    QString BuscarTexto(int k) const override
    {
        ++buscados;
        return QStringLiteral("B%1").arg(k);
    }
    QString LeerTexto(int k) const override
    {
        leidos.push_back(k);
        return QStringLiteral("L%1").arg(k);
    }
};

// A small form with the kinds of objects the tables name.
struct FormularioPrueba {
    QWidget form;
    QLabel* etiqueta;
    QPushButton* boton;
    QGroupBox* grupo;
    QMenu* menu;
    QAction* accion;
    QObject* dialogo;

    FormularioPrueba()
    {
        form.setObjectName(QStringLiteral("frmPrueba"));
        auto* barra = new QMenuBar(&form);
        menu = barra->addMenu(QStringLiteral("&Archivo"));
        menu->setObjectName(QStringLiteral("Archivo1"));
        accion = menu->addAction(QStringLiteral("Abrir"));
        accion->setObjectName(QStringLiteral("Abrir1"));
        grupo = new QGroupBox(&form);
        grupo->setObjectName(QStringLiteral("GroupBox1"));
        auto* capa = new QVBoxLayout(grupo);
        etiqueta = new QLabel(grupo); // nested below the group box
        etiqueta->setObjectName(QStringLiteral("Label1"));
        capa->addWidget(etiqueta);
        boton = new QPushButton(&form);
        boton->setObjectName(QStringLiteral("OKBtn"));
        dialogo = new QObject(&form); // stands for a file dialog component
        dialogo->setObjectName(QStringLiteral("DlgAbrir"));
    }
};

const std::vector<TTextoControl> kTabla = {
    {9000, "", "windowTitle"},
    {9001, "Label1", "text"},
    {9002, "OKBtn", "toolTip"},
    {9003, "Archivo1", "title"},
    {9004, "Abrir1", "text"},
    {9005, "GroupBox1", "text"}, // a group box shows "title"
    {9006, "NoExiste", "text"},  // skipped without a lookup
    {9007, "DlgAbrir", "filter"},
    {9008, "DlgAbrir", "windowTitle"},
    {9009, "Archivo1", "text"}, // a menu's text is its title
    {2, "OKBtn", "text"},       // shared key
};

TEST(TextosFormulario, AssignsEachTextToItsObjectAndProperty)
{
    FormularioPrueba f;
    TextosContados textos;
    AplicarTextosFormulario(f.form, kTabla, textos);

    EXPECT_EQ(f.form.windowTitle(), "L9000");
    EXPECT_EQ(f.etiqueta->text(), "L9001");
    EXPECT_EQ(f.boton->toolTip(), "L9002");
    EXPECT_EQ(f.boton->text(), "L2");
    EXPECT_EQ(f.menu->title(), "L9009");
    EXPECT_EQ(f.accion->text(), "L9004");
    EXPECT_EQ(f.grupo->title(), "L9005");
    EXPECT_EQ(f.dialogo->property("filter").toString(), "L9007");
    EXPECT_EQ(f.dialogo->property("windowTitle").toString(), "L9008");
    EXPECT_FALSE(f.grupo->property("text").isValid()) << "no stray dynamic property";

    const std::vector<int> esperados = {9000, 9001, 9002, 9003, 9004, 9005, 9007, 9008, 9009, 2};
    EXPECT_EQ(textos.leidos, esperados);
    EXPECT_EQ(textos.buscados, 0);
}

TEST(TextosFormulario, MenuTitleIsSetWhenAskedForDirectly)
{
    FormularioPrueba f;
    TextosContados textos;
    AplicarTextosFormulario(f.form, {{9003, "Archivo1", "title"}}, textos);
    EXPECT_EQ(f.menu->title(), "L9003");
}

// Through a real language file: the shared key after the form's keys rewinds and still
// finds its text; a missing key shows "nada" rather than keeping a stale caption.
TEST(TextosFormulario, WorksWithALanguageFile)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("idioma.lng"));
    {
        QFile fichero(ruta);
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write("1 Cancelar\r\n2 Aceptar\r\n9000 Prueba de se\xF1" "ales\r\n9001 Etiqueta\r\n"
                      "9002 Ayuda del bot\xF3n\r\n9003 &Archivo\r\n9004 A&brir\r\n"
                      "9007 Se\xF1" "ales|*.qvn\r\n9008 Abrir fichero\r\n9009 &Fichero\r\n");
    }
    TLanguage idioma;
    idioma.setIdiomaFile(ruta);
    FormularioPrueba f;
    f.grupo->setTitle(QStringLiteral("antiguo"));
    AplicarTextosFormulario(f.form, kTabla, idioma);

    EXPECT_EQ(f.form.windowTitle(), QString::fromUtf8("Prueba de señales"));
    EXPECT_EQ(f.etiqueta->text(), "Etiqueta");
    EXPECT_EQ(f.boton->toolTip(), QString::fromUtf8("Ayuda del botón"));
    EXPECT_EQ(f.boton->text(), "Aceptar");
    EXPECT_EQ(f.menu->title(), "&Fichero");
    EXPECT_EQ(f.accion->text(), "A&brir");
    EXPECT_EQ(f.grupo->title(), "nada");
    EXPECT_EQ(f.dialogo->property("filter").toString(), QString::fromUtf8("Señales|*.qvn"));
}

// A tool button that shows a command's action keeps no caption of its own: the text
// goes to the action (its icon text, so the menu item keeps its caption) and so does
// the hint, or the next change of the action would undo them.
TEST(TextosFormulario, ToolButtonOfAnActionGivesItsTextsToTheAction)
{
    FormularioPrueba f;
    auto* boton = new QToolButton(&f.form);
    boton->setObjectName(QStringLiteral("SpBtnAbrir"));
    boton->setDefaultAction(f.accion);
    const std::vector<TTextoControl> tabla = {{9004, "Abrir1", "text"}, {9010, "SpBtnAbrir", "text"},
                                             {9011, "SpBtnAbrir", "toolTip"}};
    TextosContados textos;
    AplicarTextosFormulario(f.form, tabla, textos);
    EXPECT_EQ(f.accion->text(), "L9004");
    EXPECT_EQ(f.accion->iconText(), "L9010");
    EXPECT_EQ(f.accion->toolTip(), "L9011");
    EXPECT_EQ(boton->toolTip(), "L9011");

    const TDestinoTexto d = DestinoTexto(f.form, tabla[1]);
    EXPECT_EQ(d.objeto, f.accion);
    EXPECT_EQ(d.propiedad, "iconText");
    EXPECT_EQ(DestinoTexto(f.form, {1, "NoExiste", "text"}).objeto, nullptr);
}

TEST(TextosFormulario, FormWithoutTableKeepsItsTexts)
{
    FormularioPrueba f;
    f.form.setWindowTitle(QStringLiteral("Original"));
    TextosContados textos;
    AplicarTextosFormulario(f.form, std::vector<TTextoControl>{}, textos);
    AplicarTextosFormulario(f.form, 999, textos); // no form has that number
    EXPECT_EQ(f.form.windowTitle(), "Original");
    EXPECT_TRUE(textos.leidos.empty());
}

} // namespace
} // namespace qv
