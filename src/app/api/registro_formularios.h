#pragma once

#include "app/api/contexto.h"
#include "app/api/principal.h"

#include <QDialog>
#include <QMetaObject>
#include <QString>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace qv {

// Creates one form for the main window given, ready to be shown (not shown, not run).
// A dialog is a child of the main window's widget: release it before the main window.
using TFabricaFormulario = std::function<std::unique_ptr<QWidget>(IPrincipal&)>;

// One form of the program: its number (its table of language texts; 0 for none), its
// class name and how to create it.
struct TFormularioRegistrado {
    int Numero;
    QString Clase;
    TFabricaFormulario Crear;
};

// Every form of the program, so that checks over all forms (each text of each table
// reaches its control) need no hand-kept list. Each library with forms registers its
// own in one function; a new form adds one line there.
class TRegistroFormularios {
public:
    void Registrar(int numero, const QString& clase, TFabricaFormulario fabrica);

    // A form whose constructor takes the main window or the form context, and its
    // parent. Number and class name come from the class (T::Numero, its Qt class name).
    template <class T>
    void Registrar();

    const std::vector<TFormularioRegistrado>& Formularios() const { return formularios_; }

private:
    std::vector<TFormularioRegistrado> formularios_;
};

// Forms of the libraries below the program that cannot name the main window
// themselves (src/lang/ui).
void RegistrarFormulariosLangUi(TRegistroFormularios& registro);

// The class name of a form without its namespace.
QString NombreClase(const QMetaObject& meta);

template <class T>
void TRegistroFormularios::Registrar()
{
    Registrar(T::Numero, NombreClase(T::staticMetaObject), [](IPrincipal& p) -> std::unique_ptr<QWidget> {
        // A dialog centres on the main window; a child window stands alone until the
        // caller puts it into the document area.
        QWidget* padre = std::is_base_of_v<QDialog, T> ? &p.Ventana() : nullptr;
        if constexpr (std::is_constructible_v<T, IPrincipal&, QWidget*>)
            return std::make_unique<T>(p, padre);
        else
            return std::make_unique<T>(p.Contexto().Formulario, padre);
    });
}

} // namespace qv
