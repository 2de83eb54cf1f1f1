#pragma once

#include <QString>

namespace qv {

class TConfigES;
class TTextos;

// Rules of the capture time base: how fast the unit can sample the active channel
// groups and how many samples fit its memory (Capacidad, config_es.h).

struct TGruposActivos {
    int grupos = 0;          // sampled groups
    bool soloEntAna = false; // some analog input active and no output active
    bool soloEntDig = false; // some digital input active and no output active
};

TGruposActivos GruposActivos(const TConfigES& config);
// Memory words per sample instant.
int PalabrasPorMuestra(const TConfigES& config);
// Shortest sampling period in milliseconds.
double PeriodoMinimo(const TConfigES& config);
// Shortest sampling period in whole microseconds (10 with no group).
int PeriodoMinimoMicro(const TConfigES& config);
bool PeriodoValido(const TConfigES& config);
bool CabeEnMemoria(const TConfigES& config);

// What a capture must be before it goes to the unit, in this order: a time base
// (text 143), a sampled group (`textoSinGrupos`: 171, or 167 where the user set up the
// channels), a period the groups allow (166), samples that fit the memory (134).
// Answers the text of the first rule broken, 0 when the capture may go.
int ComprobarCaptura(const TConfigES& config, int textoSinGrupos = 171);

// Sampling period and analysis time of the configuration in milliseconds.
double PeriodoMs(const TConfigES& config);
double AnalisisMs(const TConfigES& config);

// State of the time-base panel shared by the configuration window and the capture
// dialogs; the windows bind their controls to it.
struct TPanelTiempos {
    QString tMues;               // tMuesEdit
    int unidadPeriodo = 1;       // tMuesComboBox: UnidadPeriodo code 0..2 (item = code)
    QString tAna;                // tAnaEdit
    int unidadAnalisis = 1;      // tAnaComboBox: UnidadAnalisis code 1..4 (item = code - 1)
    QString muestras;            // MuestrasEdit
    QString aviso;               // LabelAviso
    double periodoMs = 0;        // the window's millisecond values
    double analisisMs = 0;
    bool rapidaPulsada = false;     // SpBtnRapida down
    bool muestreoHabilitado = true; // tMuesEdit and tMuesComboBox enabled
};

// Shows the configuration's time base: units, both times in general notation,
// NumMuestras, and the millisecond values.
void MostrarTiempos(TPanelTiempos& panel, const TConfigES& config);

// Stores the boxes (and unit codes) into the configuration, warns in `aviso`
// (texts 261+263 memory, 261+262 period) and recomputes NumMuestras.
void RecalcularMuestras(TPanelTiempos& panel, TConfigES& config, TTextos& textos);

// Which window's fast-mode rule applies.
enum class TVentanaRapida {
    Configuracion, // the channel configuration window
    Trigger,       // the triggered-capture dialogs
    Retardo        // the delayed-capture dialog and monitoring
};

// Runs after SpBtnRapida changed state (panel.rapidaPulsada is the new state), and
// in the configuration window also when the channel set changed while it is down.
void ModoRapido(TPanelTiempos& panel, TConfigES& config, TVentanaRapida ventana);

} // namespace qv
