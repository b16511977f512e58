#pragma once
#include "core/station/prompts.h"

#include <QList>
#include <QSet>

// Records every box and answers from a script; an empty script answers Ok / Yes / "".
class ScriptedPrompts : public Prompts
{
public:
    struct Shown
    {
        QString text;  // the filter for an open-file dialog
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        bool isInput = false;
        bool isNotice = false;  // shown without waiting for an answer
        QString key;            // a notice that stands once
    };

    ScriptedPrompts() { installPrompts(this); }
    ~ScriptedPrompts() override { installPrompts(nullptr); }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText, Input kind) override;
    // A keyed notice while its box stands replaces that box's entry in shown.
    void notice(const QString &text, const QString &title, Icon icon, const QString &key) override;
    bool noticeStands(const QString &key) override { return m_standing.contains(key); }
    QString openFile(const QString &title, const QString &filter) override;

    void scriptAnswer(Answer answer) { m_answers.append(answer); }
    // Answers the next input box, or the next open-file dialog with a path.
    void scriptInput(const QString &text) { m_inputs.append(text); }
    // The operator presses OK on the standing box of key.
    void pressOk(const QString &key) { m_standing.remove(key); }

    QList<Shown> shown;

private:
    QString nextInput() { return m_inputs.isEmpty() ? QString() : m_inputs.takeFirst(); }
    QList<Answer> m_answers;
    QList<QString> m_inputs;
    QSet<QString> m_standing;
};
