#pragma once

#include <QString>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace qv {

class TInteraccion;
class TTextos;

// Pieces shared by the channel dialogs: number boxes with their keystroke filters,
// the time-unit boxes, and the checks that end with a warning and the focus on the
// offending box.

// Keystroke filters of the boxes. The filter looks at characters only (a decimal box
// takes "1-2"): whether the text is a number is decided when it is converted.
enum class TFiltro {
    Entero,  // digits
    Decimal, // digits, "-" and "."
    Nombre,  // a word of a file record: no blank, no "$", Latin-1 only
};
void PonerFiltro(QLineEdit& caja, TFiltro filtro);
QLineEdit* NuevaCaja(const char* nombre, TFiltro filtro, QWidget* padre);
QLabel* NuevaEtiqueta(const char* nombre, const QString& texto, QWidget* padre, QWidget* caja = nullptr);

// A time-unit box: items text 193, 194, 195 (micro, milli, seconds), in that order.
QComboBox* NuevaCajaUnidades(const char* nombre, TTextos& textos, QWidget* padre);

// The caption of the label that names a box (its buddy), without "&" nor a final ":";
// the box's object name when no label names it.
QString NombreDeCaja(const QLineEdit& caja);

// Shows `texto` as a warning ("Aceptar" alone) and puts the focus on `foco` (when
// given). Always false, so that a check can end with `return Avisar(...)`.
bool Avisar(TInteraccion& interaccion, TTextos& textos, int texto, QWidget* foco);

// Conversions of a box's text at "Aceptar". A text that is not a number (a lone "-",
// "1-2", more digits than an integer holds, a value beyond single precision) shows a
// warning naming the box, puts the focus on it and answers nothing.
std::optional<long long> EnteroDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos);
std::optional<double> RealDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos);
// The same, also refusing a value that single precision cannot hold.
std::optional<float> FloatDeCaja(QLineEdit& caja, TInteraccion& interaccion, TTextos& textos);

// A path's last part, whichever separator the path was written with ("\" comes in
// configuration files made on other systems).
QString SinCarpeta(const QString& ruta);

} // namespace qv
