#pragma once

class QDialog;

namespace qv {

// Every modal run of the program goes through this object. The program uses the
// default (QDialog::exec); a test derives from it, fills the dialog's controls by
// object name and accepts or rejects it, so no test waits on a person or a clock.
class TModal {
public:
    virtual ~TModal() = default;
    virtual int Ejecutar(QDialog& dialogo);
};

} // namespace qv
