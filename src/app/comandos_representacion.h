#pragma once

namespace qv {

class IPrincipal;

// The representation commands the main window carries out itself: the set's comment,
// the data table and the calculators. The commands of the active signal window go to
// that window.
class TComandosRepresentacion {
public:
    explicit TComandosRepresentacion(IPrincipal& principal) : principal_(principal) {}

    // "C&omentario": the comment editor on the current set.
    void Comentario2Click();
    // "Tabla": the chooser over every signal without limit; nothing chosen: text 218;
    // otherwise a data table window of the chosen signals.
    void VentanadeDatos1Click();
    // "Calcula.": the analog or the digital calculator by the kind of the active window.
    void spBtnCalculadoraClick();

private:
    IPrincipal& principal_;
};

} // namespace qv
