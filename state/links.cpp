#include "state/links.h"

#include "state/link_table.h"

ProgramLinks& Links()
{
    return LinkTable<ProgramLinks>::current();
}

void ResetLinks()
{
    LinkTable<ProgramLinks>::reset();
}

void InstallProgramLinks(ProgramLinks (*make)())
{
    LinkTable<ProgramLinks>::install(make);
}

QVariant RigCall(const QString& member, QVariantList& args)
{
    return Links().rig(member, args);
}

QVariant RigCall(const QString& member, const QVariant& arg)
{
    QVariantList args{arg};
    return Links().rig(member, args);
}

QVariant RigCall(const QString& member)
{
    QVariantList args;
    return Links().rig(member, args);
}
