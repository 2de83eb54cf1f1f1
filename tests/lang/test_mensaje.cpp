#include "common/controles.h"
#include "common/interaccion_guion.h"
#include "common/modal_prueba.h"
#include "lang/idioma.h"
#include "lang/ui/interaccion_qt.h"
#include "lang/ui/mensaje.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qv {
namespace {

using test::Pulsar;
using test::TModalPrueba;
using test::TTextosFijos;

// Visible buttons of a shown box by object name, with their left positions.
std::map<std::string, int> BotonesVisibles(QDialog& d)
{
    std::map<std::string, int> r;
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        if (!b->isVisible())
            continue;
        EXPECT_EQ(b->y(), 92) << b->objectName().toStdString();
        EXPECT_EQ(b->height(), 30) << b->objectName().toStdString();
        r[b->objectName().toStdString()] = b->x();
    }
    return r;
}

QStringList IconosVisibles(QDialog& d)
{
    QStringList r;
    for (const char* n : {"IAviso", "IStop", "Ipregunta", "IInformacion"}) {
        auto* l = d.findChild<QLabel*>(QString::fromLatin1(n));
        EXPECT_NE(l, nullptr) << n;
        if (l && l->isVisible())
            r << QString::fromLatin1(n);
    }
    return r;
}

class Mensaje : public ::testing::Test {
protected:
    TTextosFijos textos;
    TModalPrueba modal;
    TInteraccionQt interaccion{textos, modal};
};

TEST_F(Mensaje, EachButtonSetShowsItsButtonsAndAnswersThem)
{
    struct Caso {
        int botones;
        std::map<std::string, int> posiciones;
        std::map<std::string, int> respuestas;
    };
    const std::vector<Caso> casos = {
        {0, {{"BtnSi", 212}}, {{"BtnSi", 6}}},
        {1, {{"BtnNo", 212}}, {{"BtnNo", 7}}},
        {2, {{"BtnCancel", 212}}, {{"BtnCancel", 2}}},
        {3, {{"BtnAceptar", 212}}, {{"BtnAceptar", 1}}},
        {4, {{"BtnSi", 96}, {"BtnNo", 212}, {"BtnCancel", 328}},
         {{"BtnSi", 6}, {"BtnNo", 7}, {"BtnCancel", 2}}},
        {5, {{"BtnAceptar", 138}, {"BtnCancel", 280}}, {{"BtnAceptar", 1}, {"BtnCancel", 2}}},
        {6, {{"BtnOverwrite", 25}, {"BtnChange", 175}, {"btnOmitir", 335}},
         {{"BtnOverwrite", 11}, {"BtnChange", 10}, {"btnOmitir", 12}}},
    };
    for (const Caso& c : casos) {
        for (const auto& [boton, respuesta] : c.respuestas) {
            SCOPED_TRACE("set " + std::to_string(c.botones) + " " + boton);
            std::map<std::string, int> vistos;
            modal.accion = [&](QDialog& d) {
                vistos = BotonesVisibles(d);
                Pulsar(d, boton.c_str());
            };
            EXPECT_EQ(interaccion.MostrarPregunta(QStringLiteral("Texto"), c.botones), respuesta);
            EXPECT_EQ(vistos, c.posiciones);
        }
    }
}

TEST_F(Mensaje, UnknownSetShowsNoButtonAndClosesWithTwo)
{
    for (int botones : {-1, 7, 100}) {
        std::map<std::string, int> vistos{{"x", 0}};
        modal.accion = [&](QDialog& d) {
            vistos = BotonesVisibles(d);
            d.close(); // title-bar close
        };
        EXPECT_EQ(interaccion.MostrarAviso(QStringLiteral("a"), botones), 2);
        EXPECT_TRUE(vistos.empty());
    }
}

TEST_F(Mensaje, TitleBarCloseAndEscapeAnswerCautiously)
{
    modal.accion = [](QDialog& d) { d.close(); };
    EXPECT_EQ(interaccion.MostrarPregunta(QStringLiteral("a"), Botones::SiNoCancelar), 2);
    modal.accion = [](QDialog& d) { d.reject(); };
    EXPECT_EQ(interaccion.MostrarError(QStringLiteral("a"), Botones::Aceptar), 2);

    auto escape = [](QDialog& d) {
        QKeyEvent k(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &k);
    };
    modal.accion = escape;
    EXPECT_EQ(interaccion.MostrarPregunta(QStringLiteral("a"), Botones::SiNoCancelar), 2);
    EXPECT_EQ(interaccion.MostrarPregunta(QStringLiteral("a"), Botones::No), 7);
    // Escape never overwrites a signal.
    EXPECT_EQ(interaccion.MostrarPregunta(QStringLiteral("a"), Botones::Conflicto), 12);
    EXPECT_EQ(interaccion.MostrarInformacion(QStringLiteral("a"), Botones::Aceptar), 2);
}

TEST_F(Mensaje, DefaultButtonOfEachSet)
{
    const std::map<int, std::string> porDefecto = {
        {0, "BtnSi"}, {3, "BtnAceptar"}, {4, "BtnSi"}, {5, "BtnAceptar"}, {6, "BtnChange"}};
    for (const auto& [botones, nombre] : porDefecto) {
        QStringList defecto;
        modal.accion = [&](QDialog& d) {
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->isVisible() && b->isDefault())
                    defecto << b->objectName();
        };
        interaccion.MostrarAviso(QStringLiteral("a"), botones);
        EXPECT_EQ(defecto, QStringList{QString::fromStdString(nombre)}) << botones;
    }
}

TEST_F(Mensaje, FlavourSetsIconTitleAndButtonTexts)
{
    struct Caso {
        int (TInteraccionQt::*mostrar)(const QString&, int);
        const char* icono;
        const char* titulo;
    };
    const Caso casos[] = {
        {&TInteraccionQt::MostrarError, "IStop", "T189"},
        {&TInteraccionQt::MostrarAviso, "IAviso", "T188"},
        {&TInteraccionQt::MostrarPregunta, "Ipregunta", "T190"},
        {&TInteraccionQt::MostrarInformacion, "IInformacion", "T191"},
    };
    for (const Caso& c : casos) {
        QStringList iconos;
        QString titulo;
        std::map<QString, QString> rotulos;
        modal.accion = [&](QDialog& d) {
            iconos = IconosVisibles(d);
            titulo = d.windowTitle();
            for (QPushButton* b : d.findChildren<QPushButton*>())
                rotulos[b->objectName()] = b->text();
            d.reject();
        };
        (interaccion.*c.mostrar)(QStringLiteral("a"), Botones::SiNoCancelar);
        EXPECT_EQ(iconos, QStringList{QString::fromLatin1(c.icono)});
        EXPECT_EQ(titulo, c.titulo);
        const std::map<QString, QString> esperados = {
            {"BtnAceptar", "T2"}, {"BtnSi", "T5"}, {"BtnCancel", "T1"}, {"BtnNo", "T6"},
            {"BtnChange", "T28000"}, {"BtnOverwrite", "T28001"}, {"btnOmitir", "T28002"}};
        EXPECT_EQ(rotulos, esperados);
    }
}

QStringList Lineas(QDialog& d)
{
    auto* t = d.findChild<QTextEdit*>(QStringLiteral("texto"));
    EXPECT_NE(t, nullptr);
    if (!t)
        return {};
    EXPECT_TRUE(t->isReadOnly());
    QStringList r;
    for (QTextBlock b = t->document()->begin(); b.isValid(); b = b.next()) {
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        r << b.text();
    }
    return r;
}

TEST_F(Mensaje, MessageSplitsAfterTheFirstFullStop)
{
    const std::vector<std::pair<QString, QStringList>> casos = {
        {"Fichero no encontrado. Compruebe el nombre",
         {"Fichero no encontrado.", " Compruebe el nombre"}},
        {"Uno. Dos. Tres.", {"Uno.", " Dos. Tres."}},
        {"Sin punto final", {"Sin punto final"}},
        {"Termina en punto.", {"Termina en punto.", ""}},
        {"", {""}},
    };
    for (const auto& [mensaje, lineas] : casos) {
        QStringList vistas;
        modal.accion = [&](QDialog& d) {
            vistas = Lineas(d);
            d.reject();
        };
        interaccion.MostrarInformacion(mensaje, Botones::Aceptar);
        EXPECT_EQ(vistas, lineas) << mensaje.toStdString();
    }
}

TEST_F(Mensaje, WriteMsgReplacesThePreviousMessage)
{
    TfrmMensaje caja(interaccion.Contexto());
    caja.WriteMsg(QStringLiteral("Primero. Largo"));
    caja.WriteMsg(QStringLiteral("Segundo"));
    EXPECT_EQ(Lineas(caja), QStringList{"Segundo"});
}

TEST_F(Mensaje, OnlyOneBoxAtATime)
{
    int segunda = -1;
    modal.accion = [&](QDialog& d) {
        segunda = interaccion.MostrarError(QStringLiteral("otra"), Botones::SiNoCancelar);
        EXPECT_TRUE(interaccion.MensajeAbierto());
        Pulsar(d, "BtnSi");
    };
    EXPECT_EQ(interaccion.MostrarAviso(QStringLiteral("primera"), Botones::SiNoCancelar), 6);
    EXPECT_EQ(segunda, 2);
    EXPECT_EQ(modal.Ejecuciones(), 1);
    EXPECT_FALSE(interaccion.MensajeAbierto());

    // Once closed, the next request is shown again.
    modal.accion = [](QDialog& d) { Pulsar(d, "BtnAceptar"); };
    EXPECT_EQ(interaccion.MostrarInformacion(QStringLiteral("tercera"), Botones::Aceptar), 1);
    EXPECT_EQ(modal.Ejecuciones(), 2);
}

// A modal run that throws must not leave the box marked open for ever.
TEST_F(Mensaje, BoxIsReleasedWhenTheRunThrows)
{
    modal.accion = [](QDialog&) { throw std::runtime_error("fallo"); };
    EXPECT_THROW(interaccion.MostrarAviso(QStringLiteral("a"), Botones::Aceptar), std::runtime_error);
    EXPECT_FALSE(interaccion.MensajeAbierto());
    modal.accion = [](QDialog& d) { Pulsar(d, "BtnAceptar"); };
    EXPECT_EQ(interaccion.MostrarAviso(QStringLiteral("a"), Botones::Aceptar), 1);
}

// The box with a real language file: Latin-1 texts reach the buttons, and texts are
// read again at every showing.
TEST(MensajeIdioma, TextsComeFromTheLanguageFileAtEveryShowing)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("idioma.lng"));
    auto escribir = [&](const QByteArray& bytes) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    escribir("1 Cancelar\r\n2 Aceptar\r\n5 Si\r\n6 No\r\n188 Atenci\xF3n\r\n"
             "28000 Cambiar Nombre\r\n28001 Sobreescribir\r\n28002 No incluir la se\xF1" "al\r\n");
    TLanguage idioma;
    idioma.setIdiomaFile(ruta);
    TModalPrueba modal;
    TInteraccionQt interaccion(idioma, modal);

    QString titulo, omitir;
    modal.accion = [&](QDialog& d) {
        titulo = d.windowTitle();
        omitir = d.findChild<QPushButton*>(QStringLiteral("btnOmitir"))->text();
        d.reject();
    };
    interaccion.MostrarAviso(QStringLiteral("a"), Botones::Conflicto);
    EXPECT_EQ(titulo, QString::fromUtf8("Atención"));
    EXPECT_EQ(omitir, QString::fromUtf8("No incluir la señal"));

    struct Versiones : TTextos {
        int version = 1;
        QString BuscarTexto(int k) const override { return QStringLiteral("v%1-%2").arg(version).arg(k); }
        QString LeerTexto(int k) const override { return BuscarTexto(k); }
    };
    Versiones v;
    TfrmMensaje otra({v, interaccion, modal, nullptr});
    otra.Preparar(TfrmMensaje::TSabor::Pregunta, QStringLiteral("a"), Botones::Si);
    otra.show();
    otra.hide();
    v.version = 2;
    otra.show();
    EXPECT_EQ(otra.findChild<QPushButton*>(QStringLiteral("BtnSi"))->text(), "v2-5");
    EXPECT_EQ(otra.windowTitle(), "v2-190");
    otra.hide();
}

} // namespace
} // namespace qv
