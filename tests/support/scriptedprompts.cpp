#include "support/scriptedprompts.h"

Prompts::Answer ScriptedPrompts::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    shown.append({text, title, icon, buttons});
    const Answer unscripted = buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    return m_answers.isEmpty() ? unscripted : m_answers.takeFirst();
}

QString ScriptedPrompts::input(const QString &prompt, const QString &title, const QString &, Input)
{
    shown.append({prompt, title, Icon::None, Buttons::OkCancel, true});
    return nextInput();
}

void ScriptedPrompts::notice(const QString &text, const QString &title, Icon icon) { shown.append({text, title, icon, Buttons::Ok, false, true}); }

QString ScriptedPrompts::openFile(const QString &title, const QString &filter)
{
    shown.append({filter, title, Icon::None, Buttons::OkCancel});
    return nextInput();
}
