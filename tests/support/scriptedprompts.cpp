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

void ScriptedPrompts::notice(const QString &text, const QString &title, Icon icon, const QString &key)
{
    const Shown box{text, title, icon, Buttons::Ok, false, true, key};
    if (m_standing.contains(key)) {
        // A test may have cleared shown since the box came up: then it is listed anew.
        for (qsizetype i = shown.size() - 1; i >= 0; --i) {
            if (shown[i].key == key) {
                shown[i] = box;
                return;
            }
        }
    }
    if (!key.isEmpty())
        m_standing.insert(key);
    shown.append(box);
}

QString ScriptedPrompts::openFile(const QString &title, const QString &filter)
{
    shown.append({filter, title, Icon::None, Buttons::OkCancel});
    return nextInput();
}
