#pragma once
#include "core/station/prompts.h"

class QWidget;

// The operator's answers through real message and input boxes.
class DialogPrompts : public Prompts
{
public:
    explicit DialogPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText, Input kind) override;
    void notice(const QString &text, const QString &title, Icon icon) override;
    QString openFile(const QString &title, const QString &filter) override;

private:
    QWidget *m_parent;
};
