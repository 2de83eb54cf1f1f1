#include "app/formularios_programa.h"

#include "app/acerca.h"
#include "app/api/registro_formularios.h"
#include "capture/formularios_capture.h"
#include "channels/formularios_channels.h"
#include "display/formularios_display.h"
#include "net/formularios_net.h"

namespace qv {

void RegistrarFormulariosPrograma(TRegistroFormularios& registro)
{
    RegistrarFormulariosLangUi(registro);
    RegistrarFormulariosDisplay(registro);
    RegistrarFormulariosChannels(registro);
    RegistrarFormulariosCapture(registro);
    RegistrarFormulariosNet(registro);
    registro.Registrar<TAboutBox>();
}

} // namespace qv
