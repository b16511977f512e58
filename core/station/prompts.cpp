#include "core/station/prompts.h"

namespace {

// Used before the windows exist and by tools that run without them.
class SilentPrompts : public Prompts
{
public:
    Answer message(const QString &, const QString &, Icon, Buttons buttons) override
    {
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    QString input(const QString &, const QString &, const QString &, Input) override { return {}; }
    void notice(const QString &, const QString &, Icon, const QString &) override {}
    bool noticeStands(const QString &) override { return false; }
    QString openFile(const QString &, const QString &) override { return {}; }
};

SilentPrompts silent;
Prompts *installed = &silent;
int unattendedDepth = 0;

} // namespace

Prompts &appPrompts() { return *installed; }
void installPrompts(Prompts *prompts) { installed = prompts ? prompts : &silent; }

void inform(const QString &text, const QString &title, Prompts::Icon icon, const QString &key)
{
    if (unattended())
        installed->notice(text, title, icon, key);
    else
        installed->message(text, title, icon);
}

UnattendedScope::UnattendedScope() { ++unattendedDepth; }
UnattendedScope::~UnattendedScope() { --unattendedDepth; }
bool unattended() { return unattendedDepth > 0; }
