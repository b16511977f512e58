#include "support/scriptedprompts.h"

Prompts::Answer ScriptedPrompts::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    shown.append({text, title, icon, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

QString ScriptedPrompts::input(const QString &prompt, const QString &title, const QString &)
{
    shown.append({prompt, title, Icon::None, Buttons::OkCancel, true});
    return nextInput();
}

void ScriptedPrompts::notice(const QString &text, const QString &title, Icon icon)
{
    shown.append({text, title, icon, Buttons::Ok, false, true});
}

QString ScriptedPrompts::openFile(const QString &title, const QString &filter)
{
    shown.append({filter, title, Icon::None, Buttons::OkCancel});
    return nextInput();
}
