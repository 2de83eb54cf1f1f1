#include "lang/ui/modal.h"

#include <QDialog>

namespace qv {

int TModal::Ejecutar(QDialog& dialogo)
{
    return dialogo.exec();
}

} // namespace qv
