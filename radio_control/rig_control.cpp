#include "radio_control/rig_control.h"

#include "platform/vb/text1252.h"
#include "platform/vb/vberror.h"
#include "platform/vb/vbnum.h"

#include <QDynamicPropertyChangeEvent>
#include <array>
#include <functional>

namespace varnel {
namespace {

// A failure the dispatch layer reports to the caller instead of a result.
struct DispatchError {
    int number;
    QString description;
};

DispatchError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar: case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString textOf(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (isNumber(v))
        return vb::Text(v.toDouble());
    if (v.typeId() == QMetaType::QByteArray)
        return cp1252::decode(v.toByteArray());
    if (v.canConvert<QString>())
        return v.toString();
    throw typeMismatch();
}

int integerOf(const QVariant& v)
{
    try {
        if (!v.isValid() || v.isNull())
            return 0;
        if (v.typeId() == QMetaType::Bool)
            return v.toBool() ? -1 : 0;
        if (isNumber(v))
            return vb::CInt(v.toDouble());
        const QString s = textOf(v);
        if (!vb::IsNumeric(s))
            throw typeMismatch();
        return vb::CInt(vb::Val(s));
    } catch (const vb::OverflowError&) {
        throw DispatchError{6, QStringLiteral("Overflow")};
    }
}

bool booleanOf(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (isNumber(v))
        return v.toDouble() != 0;
    const QString s = vb::Trim(textOf(v));
    if (s.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    if (vb::IsNumeric(s))
        return vb::Val(s) != 0;
    throw typeMismatch();
}

using Handler = std::function<QVariant(Rig&, QVariantList&)>;

struct Member {
    int index;
    const char* name;
    int argc;
    Handler run;
};

QVariant integer(int v) { return QVariant(v); }

// The dispatch table: index i has the identifier 0x60030000 + i. Indices 20 and 25 belong
// to the poll tick and the start-up handler, which are not callable.
const std::array<Member, 25>& members()
{
    static const std::array<Member, 25> table{{
        {0, "inputTestString", 1, [](Rig& r, QVariantList& a) { r.inputTestString(textOf(a[0])); return integer(0); }},
        {1, "setPTTByCommandOff", 0, [](Rig& r, QVariantList&) { r.setPttByCommand(false); return integer(0); }},
        {2, "setPTTByCommandOn", 0, [](Rig& r, QVariantList&) { r.setPttByCommand(true); return integer(0); }},
        {3, "setDirectRadioCommand", 1, [](Rig& r, QVariantList& a) { r.setDirectRadioCommand(textOf(a[0]), false); return integer(0); }},
        {4, "setDirectRadioCommandHEX", 1, [](Rig& r, QVariantList& a) { r.setDirectRadioCommand(textOf(a[0]), true); return integer(0); }},
        {5, "getRadioFreq", 0, [](Rig& r, QVariantList&) { return QVariant(r.radioFreq()); }},
        {6, "getRadioMode", 0, [](Rig& r, QVariantList&) { return QVariant(r.radioMode()); }},
        {7, "PutRadioFileName", 1, [](Rig& r, QVariantList& a) { r.putRadioFileName(textOf(a[0])); return QVariant(); }},
        {8, "getDebugWindowState", 0, [](Rig& r, QVariantList&) { return integer(r.debugWindowShown() ? 1 : 0); }},
        {9, "setDebugWindow", 0, [](Rig& r, QVariantList&) { r.setDebugWindow(); return integer(0); }},
        {10, "CommPort", 1, [](Rig& r, QVariantList& a) { return integer(r.commPort(integerOf(a[0]))); }},
        {11, "Handshaking", 1, [](Rig& r, QVariantList& a) { return integer(r.handshaking(integerOf(a[0]))); }},
        {12, "setPollInterval", 1, [](Rig& r, QVariantList& a) { return integer(r.setPollInterval(integerOf(a[0]))); }},
        {13, "Settings", 1, [](Rig& r, QVariantList& a) { return integer(r.settings(textOf(a[0]))); }},
        {14, "setIcomAddress", 1, [](Rig& r, QVariantList& a) { return integer(r.setIcomAddress(textOf(a[0]))); }},
        {15, "PortOpen", 1, [](Rig& r, QVariantList& a) { return integer(r.portOpen(booleanOf(a[0]))); }},
        {16, "DTREnable", 1, [](Rig& r, QVariantList& a) { return integer(r.dtrEnable(booleanOf(a[0]))); }},
        {17, "RTSEnable", 1, [](Rig& r, QVariantList& a) { return integer(r.rtsEnable(booleanOf(a[0]))); }},
        {18, "getCommPortState", 0, [](Rig& r, QVariantList&) { return QVariant(r.commPortState()); }},
        {19, "getCommPortNumber", 0, [](Rig& r, QVariantList&) { return integer(r.commPortNumber()); }},
        {21, "doStateMachineReset", 0, [](Rig& r, QVariantList&) { r.doStateMachineReset(); return QVariant(); }},
        {22, "SetRadioType", 1, [](Rig& r, QVariantList& a) { return QVariant(r.setRadioType(textOf(a[0]))); }},
        {23, "NowOutputToRadio", 2, [](Rig& r, QVariantList& a) {
             r.nowOutputToRadio(cp1252::encode(textOf(a[0])), textOf(a[1]) == u"True");
             return QVariant();
         }},
        {24, "PopRadioMessage", 0, [](Rig& r, QVariantList&) { r.popRadioMessage(); return QVariant(); }},
        // The frequency text is worked on as a copy: the caller's variable is left as it was.
        // 0 when the command is on its way; 1 when the frequency was refused, after a message.
        {26, "setRadioFrequency", 1, [](Rig& r, QVariantList& a) {
             return integer(r.setRadioFrequency(textOf(a[0])) ? 0 : RigControl::kFrequencyRefused);
         }},
    }};
    return table;
}

const Member* memberByName(const QString& name)
{
    for (const Member& m : members())
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

const Member* memberById(int id)
{
    for (const Member& m : members())
        if (RigControl::kDispatchBase + m.index == id)
            return &m;
    return nullptr;
}

QVariant run(const Member* m, Rig& rig, QVariantList& args, QString& error)
{
    error.clear();
    if (!m) {
        error = VbError{438, QStringLiteral("Object doesn't support this property or method")}.text();
        return QVariant();
    }
    if (args.size() != m->argc) {
        error = VbError{450, QStringLiteral("Wrong number of arguments or invalid property assignment")}.text();
        return QVariant();
    }
    try {
        return m->run(rig, args);
    } catch (const DispatchError& e) {
        error = VbError{e.number, e.description}.text();
        return QVariant();
    }
}

} // namespace

RigControl::RigControl(QObject* parent)
    : RigControl(Rig::shared(), parent)
{
}

RigControl::RigControl(std::shared_ptr<Rig> rig, QObject* parent)
    : QObject(parent)
    , rig_(std::move(rig))
{
}

QVariant RigControl::invoke(const QString& member, QVariantList& args, QString& error)
{
    return run(memberByName(member), *rig_, args, error);
}

int RigControl::dispatchId(const QString& member) const
{
    const Member* m = memberByName(member);
    return m ? kDispatchBase + m->index : -1;
}

QVariant RigControl::invokeId(int id, QVariantList& args, QString& error)
{
    return run(memberById(id), *rig_, args, error);
}

QVariant RigControl::byName(const char* member, QVariantList args)
{
    QString error;
    return invoke(QString::fromLatin1(member), args, error);
}

bool RigControl::event(QEvent* e)
{
    if (e->type() == QEvent::DynamicPropertyChange
        && static_cast<QDynamicPropertyChangeEvent*>(e)->propertyName() == "hostMessageBox") {
        using Box = int (*)(const QString&, int, const QString&);
        const auto address = property("hostMessageBox").value<quintptr>();
        if (address) {
            const Box box = reinterpret_cast<Box>(address);
            rig_->setMessageBox([box](const QString& t, int s, const QString& title) { return box(t, s, title); });
        }
    }
    return QObject::event(e);
}

QVariant RigControl::inputTestString(const QVariant& a) { return byName("inputTestString", {a}); }
QVariant RigControl::setPTTByCommandOff() { return byName("setPTTByCommandOff", {}); }
QVariant RigControl::setPTTByCommandOn() { return byName("setPTTByCommandOn", {}); }
QVariant RigControl::setDirectRadioCommand(const QVariant& a) { return byName("setDirectRadioCommand", {a}); }
QVariant RigControl::setDirectRadioCommandHEX(const QVariant& a) { return byName("setDirectRadioCommandHEX", {a}); }
QVariant RigControl::getRadioFreq() { return byName("getRadioFreq", {}); }
QVariant RigControl::getRadioMode() { return byName("getRadioMode", {}); }
QVariant RigControl::PutRadioFileName(const QVariant& a) { return byName("PutRadioFileName", {a}); }
QVariant RigControl::getDebugWindowState() { return byName("getDebugWindowState", {}); }
QVariant RigControl::setDebugWindow() { return byName("setDebugWindow", {}); }
QVariant RigControl::CommPort(const QVariant& a) { return byName("CommPort", {a}); }
QVariant RigControl::Handshaking(const QVariant& a) { return byName("Handshaking", {a}); }
QVariant RigControl::setPollInterval(const QVariant& a) { return byName("setPollInterval", {a}); }
QVariant RigControl::Settings(const QVariant& a) { return byName("Settings", {a}); }
QVariant RigControl::setIcomAddress(const QVariant& a) { return byName("setIcomAddress", {a}); }
QVariant RigControl::PortOpen(const QVariant& a) { return byName("PortOpen", {a}); }
QVariant RigControl::DTREnable(const QVariant& a) { return byName("DTREnable", {a}); }
QVariant RigControl::RTSEnable(const QVariant& a) { return byName("RTSEnable", {a}); }
QVariant RigControl::getCommPortState() { return byName("getCommPortState", {}); }
QVariant RigControl::getCommPortNumber() { return byName("getCommPortNumber", {}); }
QVariant RigControl::doStateMachineReset() { return byName("doStateMachineReset", {}); }
QVariant RigControl::SetRadioType(const QVariant& a) { return byName("SetRadioType", {a}); }
QVariant RigControl::NowOutputToRadio(const QVariant& a, const QVariant& b) { return byName("NowOutputToRadio", {a, b}); }
QVariant RigControl::PopRadioMessage() { return byName("PopRadioMessage", {}); }
QVariant RigControl::setRadioFrequency(const QVariant& a) { return byName("setRadioFrequency", {a}); }

} // namespace varnel
