#pragma once
// The questions and notices the station puts to the operator. The windows
// answer them with real dialogs; tests with a scripted fake.
#include <QString>

class Prompts
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    // Stored: the answer is written to one of the station's files, so the box
    // takes only what their code page holds.
    enum class Input { Free, Stored };

    virtual ~Prompts() = default;
    virtual Answer message(const QString &text, const QString &title, Icon icon,
                           Buttons buttons = Buttons::Ok) = 0;
    // An empty text on Cancel, as every caller treats it like an empty answer.
    virtual QString input(const QString &prompt, const QString &title,
                          const QString &defaultText = {}, Input kind = Input::Free) = 0;
    // A box that is shown and left: the caller goes on at once. Timed work and
    // the receive path use it, so an unattended station never waits for an OK.
    // A notice with a key stands once: while the box of that key is open, the
    // text, title and icon go into it instead of into another box, so a cause
    // that repeats all night leaves one box, not hundreds. An empty key gives
    // every notice a box of its own.
    virtual void notice(const QString &text, const QString &title, Icon icon, const QString &key) = 0;
    // Whether the box of key is still open, its OK not yet pressed.
    virtual bool noticeStands(const QString &key) = 0;
    // The path of an existing file the operator chose; empty on Cancel. The
    // filter is a list of "Description (*.ext *.ext)" entries joined by ";;";
    // the dialog shows each entry by its description alone.
    virtual QString openFile(const QString &title, const QString &filter) = 0;
};

// A box shown without a title of its own carries the program's title.
inline const QString kProgramTitle = QStringLiteral("Nuvax");

Prompts &appPrompts();
// nullptr installs the silent prompts, which answer Ok / Yes / empty.
void installPrompts(Prompts *prompts);

// Boxes that only inform. While timed work, the start or the exit runs (an
// UnattendedScope is alive) nobody need be at the screen, so they are shown
// without waiting, and one with a key stands once (see Prompts::notice); an
// operator's own action waits for the OK as usual.
void inform(const QString &text, const QString &title, Prompts::Icon icon, const QString &key = {});

class UnattendedScope
{
public:
    UnattendedScope();
    ~UnattendedScope();
    UnattendedScope(const UnattendedScope &) = delete;
    UnattendedScope &operator=(const UnattendedScope &) = delete;
};
bool unattended();
