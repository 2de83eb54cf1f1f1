#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QWidget>

namespace qv {

// Keystroke filter of the program's text boxes. In "permitidos" mode only those
// characters may be typed; in "prohibidos" mode every printable character but those.
// Editing and movement keys (backspace, Enter, arrows, Tab, shortcuts) always pass.
class TFiltroTeclas : public QObject {
public:
    enum class TModo { Permitidos, Prohibidos };

    TFiltroTeclas(TModo modo, QString caracteres, QObject* parent)
        : QObject(parent), modo_(modo), caracteres_(std::move(caracteres))
    {
    }

    // Only these characters may be typed into `caja`.
    static void Solo(QWidget* caja, const QString& permitidos)
    {
        caja->installEventFilter(new TFiltroTeclas(TModo::Permitidos, permitidos, caja));
    }
    // Names end up as blank-separated fields of "$"-ended records in Latin-1 files:
    // blanks, "$" and characters outside Latin-1 cannot be typed into them.
    static void Nombre(QWidget* caja)
    {
        caja->installEventFilter(new TFiltroTeclas(TModo::Prohibidos, QStringLiteral(" $"), caja));
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() != QEvent::KeyPress)
            return QObject::eventFilter(objeto, evento);
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        for (const QChar c : tecla->text()) {
            if (!c.isPrint())
                continue;
            if (modo_ == TModo::Permitidos ? !caracteres_.contains(c) : !Guardable(c, caracteres_))
                return true;
        }
        return false;
    }

private:
    static bool Guardable(QChar c, const QString& prohibidos)
    {
        return c.unicode() > 0x20 && c.unicode() <= 0xFF && !prohibidos.contains(c);
    }

    TModo modo_;
    QString caracteres_;
};

// A name that files can keep: not empty after the typing filter's rules (no blanks,
// no "$", Latin-1 only).
inline bool NombreGuardable(const QString& nombre)
{
    for (const QChar c : nombre)
        if (c.unicode() <= 0x20 || c.unicode() > 0xFF || c == QLatin1Char('$') || c.unicode() == 0x7F)
            return false;
    return true;
}

} // namespace qv
