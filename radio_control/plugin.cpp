// Entry point of the radio control plug-in: a factory for the component object. Hosts find
// it by the ProgID in its metadata and call create() through the meta-object system.
#include "radio_control/rig_control.h"

#include <QObject>
#include <QtPlugin>

namespace varnel {

class RigControlFactory : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.sondrel.ComObject/1.0" FILE "varnel.json")
public:
    // A new component object; the caller owns it. All of them share one state.
    Q_INVOKABLE QObject* create() { return new RigControl(); }
};

} // namespace varnel

#include "plugin.moc"
