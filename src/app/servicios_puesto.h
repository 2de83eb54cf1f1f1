#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// What the main window needs of the station: the few settings it reads at start from
// "Quorvane.ini", the relay program and the remote-desktop launcher. The settings file,
// the relay control and the launcher plug in here; tests give their own answers.
class IServiciosPuesto {
public:
    virtual ~IServiciosPuesto() = default;

    virtual bool LeerHayRed() = 0;            // "PC" / "HayRed"
    virtual bool LeerRemotoHabilitado() = 0;  // "ServerVNC" / "Habilitado"
    virtual bool LeerRemotoActivo() = 0;      // "ServerVNC" / "Activo"
    virtual bool LeerMultipuesto() = 0;       // "ConfiguracionSAD" / "TipoConAula" not "Monopuesto"
    virtual bool LeerModeloM() = 0;           // "ConfiguracionSAD" / "Aspecto" is "ZD800M"
    virtual QStringList LeerPuertosSerie() = 0; // "ConfiguracionSAD" / "PuertosSerie"

    virtual void IniciarRelay() = 0;
    virtual void DetenerRelay() = 0;

    virtual void EscucharRemoto() = 0;             // launcher starts listening
    virtual void DetenerRemoto() = 0;              // remote-desktop programs stopped
    virtual void SetServidorRemoto(bool perfil) = 0;
};

// The station as it is without a settings file: single-station, not networked, remote
// monitoring off, the ZD800M model, the default serial devices after the simulated
// unit's link in the program folder. Relay and launcher are not wired in yet, so their
// operations leave everything as it is.
class TPuestoPorDefecto : public IServiciosPuesto {
public:
    explicit TPuestoPorDefecto(const QString& carpetaPrograma) : carpeta_(carpetaPrograma) {}
    bool LeerHayRed() override { return false; }
    bool LeerRemotoHabilitado() override { return false; }
    bool LeerRemotoActivo() override { return false; }
    bool LeerMultipuesto() override { return false; }
    bool LeerModeloM() override { return true; }
    QStringList LeerPuertosSerie() override
    {
#ifdef Q_OS_WIN
        return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                QStringLiteral("COM4"), QStringLiteral("COM5"), QStringLiteral("COM6"),
                QStringLiteral("COM7"), QStringLiteral("COM8")};
#else
        return {carpeta_ + QStringLiteral("/ttySAD"), QStringLiteral("/dev/ttyUSB0"),
                QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyACM0"),
                QStringLiteral("/dev/ttyACM1"), QStringLiteral("/dev/ttyS0"),
                QStringLiteral("/dev/ttyS1"), QStringLiteral("/dev/ttyS2"),
                QStringLiteral("/dev/ttyS3")};
#endif
    }
    void IniciarRelay() override {}
    void DetenerRelay() override {}
    void EscucharRemoto() override {}
    void DetenerRemoto() override {}
    void SetServidorRemoto(bool) override {}

private:
    QString carpeta_;
};

} // namespace qv
