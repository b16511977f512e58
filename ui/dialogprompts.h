#pragma once
#include "core/station/prompts.h"

#include <QHash>
#include <QMessageBox>
#include <QPointer>

class QWidget;

// The operator's answers through real message and input boxes.
class DialogPrompts : public Prompts
{
public:
    explicit DialogPrompts(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText, Input kind) override;
    void notice(const QString &text, const QString &title, Icon icon, const QString &key) override;
    bool noticeStands(const QString &key) override;
    QString openFile(const QString &title, const QString &filter) override;

private:
    QWidget *m_parent;
    // The open box of each key; its OK deletes it, which empties the pointer.
    QHash<QString, QPointer<QMessageBox>> m_keyedNotices;
};
