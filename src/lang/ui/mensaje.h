#pragma once

#include "lang/ui/formulario.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace qv {

// The program's own message box: four flavours, the fixed button sets of
// qv::Botones, answers of qv::Respuesta. Closing it from the title bar answers 2.
class TfrmMensaje : public TFormulario {
    Q_OBJECT
public:
    static constexpr int Numero = 28;

    enum class TSabor { Error, Aviso, Pregunta, Informacion };

    explicit TfrmMensaje(const TContextoFormulario& contexto, QWidget* parent = nullptr);

    // Buttons, icon, title and message of one request.
    void Preparar(TSabor sabor, const QString& mensaje, int botones);

    // The first sentence (up to and including the first ".") on one line, the rest on
    // a second one.
    void WriteMsg(const QString& mensaje);
    // Hides every button and shows set `botones`; an unknown set shows none.
    void ActivarBotones(int botones);
    void DesactivarImagenes();

    void reject() override;

protected:
    // The table names the buttons only; the title is the flavour's.
    void TextosAplicados() override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* NuevoBoton(const char* nombre, const QString& texto, int ancho, int respuesta);
    QLabel* NuevoIcono(const char* nombre, int icono);

    QPushButton* BtnAceptar;
    QPushButton* BtnSi;
    QPushButton* BtnNo;
    QPushButton* BtnCancel;
    QPushButton* BtnChange;
    QPushButton* BtnOverwrite;
    QPushButton* btnOmitir;
    QLabel* IAviso;
    QLabel* IStop;
    QLabel* Ipregunta;
    QLabel* IInformacion;
    QTextEdit* texto;
    int claveTitulo_ = 0; // 188 to 191 once prepared
};

} // namespace qv
