#include "platform/widgets/scripted_dialogs.h"

namespace dlg {

ScriptedDialogs::ScriptedDialogs()
{
    Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::install(nullptr);
}

QList<BoxCall> ScriptedDialogs::messages() const
{
    QList<BoxCall> out;
    for (const BoxCall& c : calls_)
        if (c.kind == BoxCall::Message)
            out.append(c);
    return out;
}

int ScriptedDialogs::message(const QString& text, int style, const QString& title)
{
    calls_.append({BoxCall::Message, text, title, style});
    if (!messages_.isEmpty())
        return messages_.takeFirst();
    switch (style & 0x7) {
    case AbortRetryIgnore: return Abort;
    case YesNoCancel:
    case YesNo: return Yes;
    case RetryCancel: return Retry;
    default: return OK;
    }
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString&)
{
    calls_.append({BoxCall::Input, prompt, title, 0});
    return inputs_.isEmpty() ? std::nullopt : inputs_.takeFirst();
}

std::optional<std::int32_t> ScriptedDialogs::colour(std::int32_t)
{
    calls_.append({BoxCall::Colour, QString(), QString(), 0});
    return colours_.isEmpty() ? std::nullopt : colours_.takeFirst();
}

std::optional<FontChoice> ScriptedDialogs::font(const FontChoice&, const QString& textOf)
{
    calls_.append({BoxCall::Font, QString(), textOf, 0});
    return fonts_.isEmpty() ? std::nullopt : fonts_.takeFirst();
}

QString ScriptedDialogs::openFile(const FileRequest& r)
{
    calls_.append({BoxCall::Open, r.title, QString(), 0});
    return opens_.isEmpty() ? QString() : opens_.takeFirst();
}

QString ScriptedDialogs::saveFile(const FileRequest& r)
{
    calls_.append({BoxCall::Save, r.title, QString(), 0});
    return saves_.isEmpty() ? QString() : saves_.takeFirst();
}

} // namespace dlg
